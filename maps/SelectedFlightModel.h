#pragma once

#include "Airports.h"
#include "LiveMapValues.h"
#include "SelectedFlight.h"

#include <QColor>
#include <QObject>
#include <QQmlEngine>

// What the flight bar and the detail card show of the selected flight: its texts, end airports, progress
// and phase, derived afresh whenever the map hands in a new copy of the flight or its plan.
class SelectedFlightModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(LiveFlightValue flight READ flight WRITE setFlight NOTIFY flightChanged)
    Q_PROPERTY(FlightPlanValue plan READ plan WRITE setPlan NOTIFY flightChanged)

    Q_PROPERTY(QString callsign READ callsign NOTIFY flightChanged)
    Q_PROPERTY(QString accessibleLabel READ accessibleLabel NOTIFY flightChanged)
    Q_PROPERTY(QString pilot READ pilot NOTIFY flightChanged)
    Q_PROPERTY(QString server READ server NOTIFY flightChanged)
    Q_PROPERTY(QString departure READ departure NOTIFY flightChanged)
    Q_PROPERTY(QString arrival READ arrival NOTIFY flightChanged)
    Q_PROPERTY(bool hasProgress READ hasProgress NOTIFY flightChanged)
    // NaN without a progress: the route line then shows none.
    Q_PROPERTY(double progress READ progress NOTIFY flightChanged)
    Q_PROPERTY(QString progressFigure READ progressFigure NOTIFY flightChanged)
    Q_PROPERTY(QString altitude READ altitude NOTIFY flightChanged)
    Q_PROPERTY(QString groundSpeed READ groundSpeed NOTIFY flightChanged)
    Q_PROPERTY(QString aircraftLine READ aircraftLine NOTIFY flightChanged)
    Q_PROPERTY(QString aircraft READ aircraft NOTIFY flightChanged)
    Q_PROPERTY(QString livery READ livery NOTIFY flightChanged)
    Q_PROPERTY(bool hasPhase READ hasPhase NOTIFY flightChanged)
    Q_PROPERTY(QString phaseTitle READ phaseTitle NOTIFY flightChanged)
    Q_PROPERTY(QString phaseSymbol READ phaseSymbol NOTIFY flightChanged)
    Q_PROPERTY(QColor phaseColor READ phaseColor NOTIFY flightChanged)
    Q_PROPERTY(QString phaseRate READ phaseRate NOTIFY flightChanged)

public:
    explicit SelectedFlightModel(QObject *parent = nullptr);

    LiveFlightValue flight() const { return m_flight; }
    void setFlight(const LiveFlightValue &flight);
    FlightPlanValue plan() const { return m_plan; }
    void setPlan(const FlightPlanValue &plan);
    // The bundled airport table unless a test hands in its own.
    void setAirports(const Airports::Table &airports);

    const std::optional<SelectedFlight::Facts> &facts() const { return m_facts; }
    QString callsign() const { return text(&SelectedFlight::Facts::callsign); }
    QString accessibleLabel() const { return text(&SelectedFlight::Facts::accessibleLabel); }
    QString pilot() const { return m_facts ? m_facts->pilot.value_or(QString()) : QString(); }
    QString server() const { return m_facts ? m_facts->server.value_or(QString()) : QString(); }
    QString departure() const { return text(&SelectedFlight::Facts::departure); }
    QString arrival() const { return text(&SelectedFlight::Facts::arrival); }
    bool hasProgress() const { return m_facts && m_facts->progress; }
    double progress() const { return hasProgress() ? *m_facts->progress : qQNaN(); }
    QString progressFigure() const
    {
        return m_facts ? m_facts->progressFigure.value_or(QString()) : QString();
    }
    QString altitude() const { return text(&SelectedFlight::Facts::altitude); }
    QString groundSpeed() const { return text(&SelectedFlight::Facts::groundSpeed); }
    QString aircraftLine() const { return text(&SelectedFlight::Facts::aircraftLine); }
    QString aircraft() const { return text(&SelectedFlight::Facts::aircraft); }
    QString livery() const { return text(&SelectedFlight::Facts::livery); }
    bool hasPhase() const { return m_facts && m_facts->phase; }
    QString phaseTitle() const { return hasPhase() ? m_facts->phase->title : QString(); }
    QString phaseSymbol() const { return hasPhase() ? m_facts->phase->symbol : QString(); }
    QColor phaseColor() const { return hasPhase() ? m_facts->phase->color : QColor(); }
    QString phaseRate() const { return hasPhase() ? m_facts->phase->rate.value_or(QString()) : QString(); }

Q_SIGNALS:
    void flightChanged();

private:
    QString text(QString SelectedFlight::Facts::*member) const
    {
        return m_facts ? (*m_facts).*member : QString();
    }
    void derive();

    LiveFlightValue m_flight;
    FlightPlanValue m_plan;
    const Airports::Table *m_airports = nullptr;
    Airports::Table m_ownAirports;
    std::optional<SelectedFlight::Facts> m_facts;
};
