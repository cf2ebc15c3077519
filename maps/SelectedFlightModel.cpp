#include "SelectedFlightModel.h"

SelectedFlightModel::SelectedFlightModel(QObject *parent)
    : QObject(parent)
{
}

void SelectedFlightModel::setFlight(const LiveFlightValue &flight)
{
    if (m_flight == flight)
        return;
    m_flight = flight;
    derive();
}

void SelectedFlightModel::setPlan(const FlightPlanValue &plan)
{
    if (m_plan == plan)
        return;
    m_plan = plan;
    derive();
}

void SelectedFlightModel::setAirports(const Airports::Table &airports)
{
    m_ownAirports = airports;
    m_airports = &m_ownAirports;
    derive();
}

void SelectedFlightModel::derive()
{
    m_facts = m_flight.flight ? std::optional(SelectedFlight::Facts::of(
                  *m_flight.flight, m_plan.plan, m_airports ? *m_airports : Airports::all()))
                              : std::nullopt;
    Q_EMIT flightChanged();
}
