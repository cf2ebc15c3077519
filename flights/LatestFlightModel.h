#pragma once

#include "FlightRecords.h"
#include "MemberData.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// What the latest-flight card shows of one flight, derived anew from it each time.
struct LatestFlightFacts
{
    bool live = false;
    bool unmatched = false;
    QString phaseTitle;
    std::optional<QColor> phaseColor; // none: the muted colour
    QString callsign;
    QString aircraftLine;
    bool showsPhoto = false;
    QString aircraft;
    QString livery;
    QString departure; // "—" when missing
    QString arrival;
    std::optional<double> progress;
    QString progressText;
    std::optional<QString> note;
    QString action;

    static LatestFlightFacts of(const LatestFlight &latest, const QDateTime &now);
};

// The dashboard's latest-flight card and the placeholder that stands in its place while the flight is read,
// when reading it failed and when the member has none.
class LatestFlightModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(bool hasFlight READ hasFlight NOTIFY flightChanged)
    Q_PROPERTY(QString phaseTitle READ phaseTitle NOTIFY flightChanged)
    Q_PROPERTY(bool phaseTinted READ phaseTinted NOTIFY flightChanged)
    Q_PROPERTY(QColor phaseColor READ phaseColor NOTIFY flightChanged)
    Q_PROPERTY(QString callsign READ callsign NOTIFY flightChanged)
    Q_PROPERTY(QString aircraftLine READ aircraftLine NOTIFY flightChanged)
    Q_PROPERTY(bool showsPhoto READ showsPhoto NOTIFY flightChanged)
    Q_PROPERTY(QString aircraft READ aircraft NOTIFY flightChanged)
    Q_PROPERTY(QString livery READ livery NOTIFY flightChanged)
    Q_PROPERTY(QString departure READ departure NOTIFY flightChanged)
    Q_PROPERTY(QString arrival READ arrival NOTIFY flightChanged)
    Q_PROPERTY(double progress READ progressValue NOTIFY flightChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY flightChanged)
    Q_PROPERTY(bool hasNote READ hasNote NOTIFY flightChanged)
    Q_PROPERTY(QString note READ note NOTIFY flightChanged)
    Q_PROPERTY(QString action READ action NOTIFY flightChanged)
    Q_PROPERTY(QString accessibleText READ accessibleText NOTIFY flightChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadChanged)
    Q_PROPERTY(QString failure READ failure NOTIFY loadChanged)

public:
    explicit LatestFlightModel(QObject *parent = nullptr);

    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);

    // How far along its route a live flight is: none for fewer than two points or a route of no length,
    // else 0 to 0.99, and exactly 1 when it stands slow at the last point. The live map's estimate
    // (SelectedFlight::progress, Geodesy::routeProgress): one rule for the card, the bar and the sheet.
    static std::optional<double> progress(const LiveFlight &flight, const QList<FlightPoint> &route);
    // The placeholder shows its loader also before the first load has started.
    static bool placeholderLoading(const LoadState &latest);
    // "估算航路进度 · 13%", "已到达 · 100%", or the text for no estimate.
    static QString progressText(std::optional<double> progress);

    const std::optional<LatestFlightFacts> &facts() const { return m_facts; }
    bool hasFlight() const { return m_facts.has_value(); }
    QString phaseTitle() const { return field(&LatestFlightFacts::phaseTitle); }
    bool phaseTinted() const { return m_facts && m_facts->phaseColor; }
    QColor phaseColor() const { return phaseTinted() ? *m_facts->phaseColor : QColor(); }
    QString callsign() const { return field(&LatestFlightFacts::callsign); }
    QString aircraftLine() const { return field(&LatestFlightFacts::aircraftLine); }
    bool showsPhoto() const { return m_facts && m_facts->showsPhoto; }
    QString aircraft() const { return field(&LatestFlightFacts::aircraft); }
    QString livery() const { return field(&LatestFlightFacts::livery); }
    QString departure() const { return field(&LatestFlightFacts::departure); }
    QString arrival() const { return field(&LatestFlightFacts::arrival); }
    double progressValue() const { return m_facts ? m_facts->progress.value_or(0) : 0; }
    QString progressText() const { return field(&LatestFlightFacts::progressText); }
    bool hasNote() const { return m_facts && m_facts->note; }
    QString note() const { return hasNote() ? *m_facts->note : QString(); }
    QString action() const { return field(&LatestFlightFacts::action); }
    QString accessibleText() const;
    bool loading() const;
    QString failure() const;

    // The placeholder's retry.
    Q_INVOKABLE void retry();
    // Derives the card again (the dashboard's clock moves the sixteen-hour window too).
    Q_INVOKABLE void refresh();

    // The clock of the sixteen-hour window; tests hand in their own.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

Q_SIGNALS:
    void memberDataChanged();
    void flightChanged();
    void loadChanged();

private:
    QString field(QString LatestFlightFacts::*member) const
    {
        return m_facts ? (*m_facts).*member : QString();
    }

    QPointer<MemberData> m_data;
    std::optional<LatestFlightFacts> m_facts;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTimeUtc(); };
};
