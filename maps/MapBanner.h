#pragma once

#include "FlightRecords.h"
#include "LiveMapValues.h"
#include "RecordListModel.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QQmlEngine>
#include <QTimeZone>

#include <optional>

// The live map's top panel: the header with the live indicator, the live legend and the flight count, the
// toolbar, the status lines and the bottom row. Everything in it follows from the map's state and its
// snapshot; the panel keeps nothing of its own.
namespace MapBanner {

// The map's state as the panel reads it.
struct Status
{
    bool hasSnapshot = false;
    int flightCount = 0; // the snapshot's flights
    int liveCount = 0;   // its live-identified flights (liveCount below)
    std::optional<QString> snapshotStatus;
    std::optional<QString> updatedAt; // ISO 8601, as the snapshot has it
    std::optional<QString> error;
    bool loading = false;
    bool paused = false;
    bool flightSelected = false;
    bool demonstrating = false;
    bool satellite = true;
    QList<LiveFlight> ownFlights; // in the order of the own-flights list
};

enum class Tone { Muted, Pending, Rejected };

struct Line
{
    QString text;
    Tone tone = Tone::Muted;
    bool operator==(const Line &) const = default;
};

// The status lines, each while its condition holds, in their fixed order: saved snapshot while loading,
// paused, degraded, the error, an empty snapshot.
QList<Line> lines(const Status &status);
// The first line's condition: the saved snapshot is on the map while the live one loads.
bool showsSavedNotice(const Status &status);
// The last line's: a snapshot without flights is on the map.
bool showsEmptyNotice(const Status &status);
// The error line's messages of the map's own: older data stays on the map after a failed load; the
// member's own flight is not in the snapshot.
QString olderDataMessage();
QString ownFlightMissingMessage();

// The indicator moves while a load runs, or while the first snapshot is awaited without an error.
bool indicatorAnimates(const Status &status);
// "LIVE 3": never looked up.
QString legendText(int liveCount);
// "12 架飞机".
QString countText(int flightCount);
// "· 更新于 15:08:15" for an update today (in `zone`), with the medium date before the time on another
// day; none when the text is no time.
std::optional<QString> updateText(const std::optional<QString> &updatedAt, const QDateTime &now,
                                  const QLocale &locale, const QTimeZone &zone);
std::optional<QString> updateText(const std::optional<QString> &updatedAt);
// The count with the update time after it ("1567 架飞机 · 更新于 09:32:36"); the count alone without one.
QString countLine(int flightCount, const std::optional<QString> &updatedAt, const QDateTime &now,
                  const QLocale &locale, const QTimeZone &zone);
// A flight's callsign and aircraft, of those present and not empty ("B-207CA · Airbus A330-300").
QString flightTitle(const LiveFlight &flight);

// Search and the demonstration need flights to work on.
bool hasFlights(const Status &status);

// The own-flight button of the bottom row: with one flight its callsign ("在线" without one) and a
// location symbol; with several their number and the circled aircraft.
QString ownFlightsText(const QList<LiveFlight> &ownFlights);
QString ownFlightsSymbol(const QList<LiveFlight> &ownFlights);
// The header's compact own-flight button names the number in its accessibility label.
QString ownFlightsCountLabel(int count);
// The button selects the member's flight when they fly one; with several (or none) it opens the picker.
std::optional<LiveFlight> onlyOwnFlight(const QList<LiveFlight> &ownFlights);

} // namespace MapBanner

// The status lines in their order, as a list for the panel's view.
class BannerLines : public RecordListModel<MapBanner::Line>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles { TextRole = Qt::UserRole + 1, ToneRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const MapBanner::Line &line, int role) const override;
};

// The panel's model: the map hands in its state, the view reads texts, symbols and what is shown.
class MapBannerModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(bool hasSnapshot READ hasSnapshot WRITE setHasSnapshot NOTIFY statusChanged)
    Q_PROPERTY(int flightCount READ flightCount WRITE setFlightCount NOTIFY statusChanged)
    Q_PROPERTY(int liveCount READ liveCount WRITE setLiveCount NOTIFY statusChanged)
    // Empty: none.
    Q_PROPERTY(QString snapshotStatus READ snapshotStatus WRITE setSnapshotStatus NOTIFY statusChanged)
    Q_PROPERTY(QString updatedAt READ updatedAt WRITE setUpdatedAt NOTIFY statusChanged)
    Q_PROPERTY(QString error READ error WRITE setError NOTIFY statusChanged)
    Q_PROPERTY(bool loading READ loading WRITE setLoading NOTIFY statusChanged)
    Q_PROPERTY(bool paused READ paused WRITE setPaused NOTIFY statusChanged)
    Q_PROPERTY(bool flightSelected READ flightSelected WRITE setFlightSelected NOTIFY statusChanged)
    Q_PROPERTY(bool demonstrating READ demonstrating WRITE setDemonstrating NOTIFY statusChanged)
    Q_PROPERTY(bool satellite READ satellite WRITE setSatellite NOTIFY statusChanged)
    Q_PROPERTY(LiveFlightList ownFlights READ ownFlights WRITE setOwnFlights NOTIFY statusChanged)

    Q_PROPERTY(bool indicatorAnimates READ indicatorAnimates NOTIFY statusChanged)
    Q_PROPERTY(bool showsLegend READ showsLegend NOTIFY statusChanged)
    Q_PROPERTY(QString legendText READ legendText NOTIFY statusChanged)
    Q_PROPERTY(bool showsCountLine READ showsCountLine NOTIFY statusChanged)
    Q_PROPERTY(QString countText READ countText NOTIFY statusChanged)
    Q_PROPERTY(QString updateText READ updateText NOTIFY statusChanged)
    Q_PROPERTY(QString styleSymbol READ styleSymbol NOTIFY statusChanged)
    Q_PROPERTY(QString styleLabel READ styleLabel NOTIFY statusChanged)
    Q_PROPERTY(bool hasFlights READ hasFlights NOTIFY statusChanged)
    Q_PROPERTY(bool showsHeaderStop READ showsHeaderStop NOTIFY statusChanged)
    Q_PROPERTY(bool showsHeaderOwnFlights READ showsHeaderOwnFlights NOTIFY statusChanged)
    Q_PROPERTY(bool showsBottomRow READ showsBottomRow NOTIFY statusChanged)
    Q_PROPERTY(QString demoText READ demoText NOTIFY statusChanged)
    Q_PROPERTY(QString demoSymbol READ demoSymbol NOTIFY statusChanged)
    Q_PROPERTY(bool showsOwnFlights READ showsOwnFlights NOTIFY statusChanged)
    Q_PROPERTY(QString ownFlightsText READ ownFlightsText NOTIFY statusChanged)
    Q_PROPERTY(QString ownFlightsSymbol READ ownFlightsSymbol NOTIFY statusChanged)
    Q_PROPERTY(QString ownFlightsCountLabel READ ownFlightsCountLabel NOTIFY statusChanged)
    Q_PROPERTY(BannerLines *lines READ lines CONSTANT)

public:
    explicit MapBannerModel(QObject *parent = nullptr);

    const MapBanner::Status &status() const { return m_status; }
    void setStatus(const MapBanner::Status &status);

    bool hasSnapshot() const { return m_status.hasSnapshot; }
    void setHasSnapshot(bool value) { change(&MapBanner::Status::hasSnapshot, value); }
    int flightCount() const { return m_status.flightCount; }
    void setFlightCount(int value) { change(&MapBanner::Status::flightCount, value); }
    int liveCount() const { return m_status.liveCount; }
    void setLiveCount(int value) { change(&MapBanner::Status::liveCount, value); }
    QString snapshotStatus() const { return m_status.snapshotStatus.value_or(QString()); }
    void setSnapshotStatus(const QString &value)
    {
        change(&MapBanner::Status::snapshotStatus, optional(value));
    }
    QString updatedAt() const { return m_status.updatedAt.value_or(QString()); }
    void setUpdatedAt(const QString &value) { change(&MapBanner::Status::updatedAt, optional(value)); }
    QString error() const { return m_status.error.value_or(QString()); }
    void setError(const QString &value) { change(&MapBanner::Status::error, optional(value)); }
    bool loading() const { return m_status.loading; }
    void setLoading(bool value) { change(&MapBanner::Status::loading, value); }
    bool paused() const { return m_status.paused; }
    void setPaused(bool value) { change(&MapBanner::Status::paused, value); }
    bool flightSelected() const { return m_status.flightSelected; }
    void setFlightSelected(bool value) { change(&MapBanner::Status::flightSelected, value); }
    bool demonstrating() const { return m_status.demonstrating; }
    void setDemonstrating(bool value) { change(&MapBanner::Status::demonstrating, value); }
    bool satellite() const { return m_status.satellite; }
    void setSatellite(bool value) { change(&MapBanner::Status::satellite, value); }
    LiveFlightList ownFlights() const { return {m_status.ownFlights}; }
    void setOwnFlights(const LiveFlightList &value) { change(&MapBanner::Status::ownFlights, value.flights); }

    bool indicatorAnimates() const { return MapBanner::indicatorAnimates(m_status); }
    bool showsLegend() const { return m_status.liveCount > 0; }
    QString legendText() const { return MapBanner::legendText(m_status.liveCount); }
    bool showsCountLine() const { return !m_status.flightSelected; }
    QString countText() const
    {
        return MapBanner::countText(m_status.hasSnapshot ? m_status.flightCount : 0);
    }
    // Today's updates show the time alone; the text follows each new snapshot.
    QString updateText() const { return MapBanner::updateText(m_status.updatedAt).value_or(QString()); }
    QString styleSymbol() const;
    QString styleLabel() const;
    bool hasFlights() const { return MapBanner::hasFlights(m_status); }
    bool showsHeaderStop() const { return m_status.flightSelected && m_status.demonstrating; }
    bool showsHeaderOwnFlights() const { return m_status.flightSelected && !m_status.ownFlights.isEmpty(); }
    bool showsBottomRow() const { return !m_status.flightSelected; }
    QString demoText() const;
    QString demoSymbol() const;
    bool showsOwnFlights() const { return !m_status.ownFlights.isEmpty(); }
    QString ownFlightsText() const { return MapBanner::ownFlightsText(m_status.ownFlights); }
    QString ownFlightsSymbol() const { return MapBanner::ownFlightsSymbol(m_status.ownFlights); }
    QString ownFlightsCountLabel() const
    {
        return MapBanner::ownFlightsCountLabel(int(m_status.ownFlights.size()));
    }
    BannerLines *lines() { return &m_lines; }

    // The only own flight, for a choice without the picker; none with no or several own flights.
    Q_INVOKABLE LiveFlightValue onlyOwnFlight() const;

Q_SIGNALS:
    void statusChanged();

private:
    static std::optional<QString> optional(const QString &text)
    {
        return text.isEmpty() ? std::nullopt : std::optional(text);
    }
    template <typename T>
    void change(T MapBanner::Status::*field, const T &value)
    {
        if (m_status.*field == value)
            return;
        m_status.*field = value;
        changed();
    }
    void changed();

    MapBanner::Status m_status;
    BannerLines m_lines;
};
