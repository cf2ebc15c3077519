#pragma once

#include "FlightRecords.h"

#include <QList>
#include <QObject>
#include <QQmlEngine>

#include <optional>

// Live flights and plans as QML hands them from the map to its panels and sheets, and back in a choice.
// Views read what they show from the models made for them; these values only carry the records.

// One live flight, or none.
struct LiveFlightValue
{
    Q_GADGET
    QML_VALUE_TYPE(liveFlight)
    Q_PROPERTY(bool present READ present)
    Q_PROPERTY(QString id READ id)

public:
    std::optional<LiveFlight> flight;

    bool present() const { return flight.has_value(); }
    QString id() const { return flight ? flight->id : QString(); }
    bool operator==(const LiveFlightValue &) const = default;
};

// The plan and flown track of one flight, or none (not loaded yet, or the service had none).
struct FlightPlanValue
{
    Q_GADGET
    QML_VALUE_TYPE(flightPlan)
    Q_PROPERTY(bool present READ present)

public:
    std::optional<PlanResponse> plan;

    bool present() const { return plan.has_value(); }
    bool operator==(const FlightPlanValue &other) const;
};

// Flights in the order they are to be listed.
struct LiveFlightList
{
    Q_GADGET
    QML_VALUE_TYPE(liveFlights)
    Q_PROPERTY(int count READ count)

public:
    QList<LiveFlight> flights;

    int count() const { return int(flights.size()); }
    bool operator==(const LiveFlightList &) const = default;
};
