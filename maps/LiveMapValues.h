#pragma once

#include "FlightRecords.h"
#include "MapMath.h"

#include <QGeoCoordinate>
#include <QList>
#include <QObject>
#include <QQmlEngine>
#include <QVariant>

#include <optional>

// One live flight as QML hands it from the live map to the views that show it (the flight bar, the
// detail card, the search and the own-flights picker). Missing texts read as empty and missing figures
// as NaN; the `has…` properties tell a missing value from an empty one. C++ reads `flight` itself.
struct LiveFlightValue
{
    Q_GADGET
    QML_VALUE_TYPE(liveFlight)
    Q_PROPERTY(bool valid READ valid)
    Q_PROPERTY(QString id READ id)
    Q_PROPERTY(QString flightId READ flightId)
    Q_PROPERTY(QString sessionId READ sessionId)
    Q_PROPERTY(QString server READ server)
    Q_PROPERTY(bool hasServer READ hasServer)
    Q_PROPERTY(QString pilot READ pilot)
    Q_PROPERTY(bool hasPilot READ hasPilot)
    Q_PROPERTY(QString callsign READ callsign)
    Q_PROPERTY(bool hasCallsign READ hasCallsign)
    Q_PROPERTY(QString aircraft READ aircraft)
    Q_PROPERTY(QString livery READ livery)
    Q_PROPERTY(double latitude READ latitude)
    Q_PROPERTY(double longitude READ longitude)
    Q_PROPERTY(QGeoCoordinate coordinate READ coordinate)
    Q_PROPERTY(double altitude READ altitude)
    Q_PROPERTY(double groundSpeed READ groundSpeed)
    Q_PROPERTY(double heading READ heading)
    Q_PROPERTY(double verticalSpeed READ verticalSpeed)
    Q_PROPERTY(QString departure READ departure)
    Q_PROPERTY(bool hasDeparture READ hasDeparture)
    Q_PROPERTY(QString arrival READ arrival)
    Q_PROPERTY(bool hasArrival READ hasArrival)
    Q_PROPERTY(QString fleetRegistration READ fleetRegistration)
    Q_PROPERTY(bool hasPhase READ hasPhase)
    Q_PROPERTY(bool eventAttending READ eventAttending)
    Q_PROPERTY(bool isLive READ isLive)

public:
    // None: no flight (nothing selected).
    std::optional<LiveFlight> flight;

    bool valid() const { return flight.has_value(); }
    QString id() const { return flight ? flight->id : QString(); }
    QString flightId() const { return text(&LiveFlight::flightId); }
    QString sessionId() const { return text(&LiveFlight::sessionId); }
    QString server() const { return text(&LiveFlight::server); }
    bool hasServer() const { return has(&LiveFlight::server); }
    QString pilot() const { return text(&LiveFlight::pilot); }
    bool hasPilot() const { return has(&LiveFlight::pilot); }
    QString callsign() const { return text(&LiveFlight::callsign); }
    bool hasCallsign() const { return has(&LiveFlight::callsign); }
    QString aircraft() const { return text(&LiveFlight::aircraft); }
    QString livery() const { return text(&LiveFlight::livery); }
    double latitude() const { return flight ? flight->latitude : qQNaN(); }
    double longitude() const { return flight ? flight->longitude : qQNaN(); }
    QGeoCoordinate coordinate() const;
    double altitude() const { return number(&LiveFlight::altitude); }
    double groundSpeed() const { return number(&LiveFlight::groundSpeed); }
    double heading() const { return number(&LiveFlight::heading); }
    double verticalSpeed() const { return number(&LiveFlight::verticalSpeed); }
    QString departure() const { return text(&LiveFlight::departure); }
    bool hasDeparture() const { return has(&LiveFlight::departure); }
    QString arrival() const { return text(&LiveFlight::arrival); }
    bool hasArrival() const { return has(&LiveFlight::arrival); }
    QString fleetRegistration() const { return text(&LiveFlight::fleetRegistration); }
    bool hasPhase() const { return flight && flight->flightPhase; }
    bool eventAttending() const { return flight && flight->eventAttending.value_or(false); }
    bool isLive() const { return flight && flight->isLive.value_or(false); }

    bool operator==(const LiveFlightValue &) const = default;

private:
    QString text(std::optional<QString> LiveFlight::*field) const
    {
        return flight ? ((*flight).*field).value_or(QString()) : QString();
    }
    bool has(std::optional<QString> LiveFlight::*field) const
    {
        return flight && ((*flight).*field).has_value();
    }
    double number(std::optional<double> LiveFlight::*field) const
    {
        return flight ? ((*flight).*field).value_or(qQNaN()) : qQNaN();
    }
};

// The plan of the selected flight as QML hands it on: the filed plan's points and the flown track, as map
// coordinates in flying order (empty when absent). C++ reads `plan` itself.
struct FlightPlanValue
{
    Q_GADGET
    QML_VALUE_TYPE(flightPlan)
    Q_PROPERTY(bool valid READ valid)
    Q_PROPERTY(QList<QGeoCoordinate> points READ points)
    Q_PROPERTY(QList<QGeoCoordinate> route READ route)
    Q_PROPERTY(QStringList pointNames READ pointNames)

public:
    std::optional<PlanResponse> plan;

    bool valid() const { return plan.has_value(); }
    QList<QGeoCoordinate> points() const;
    QList<QGeoCoordinate> route() const;
    // The names of the plan's points (empty for a point without one), in the points' order.
    QStringList pointNames() const;

    bool operator==(const FlightPlanValue &) const = default;
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

// The live map's camera position: a centre with a distance (the map's first camera), or a region to show
// (every camera a selection asks for). Always north up and flat.
struct MapCameraPosition
{
    Q_GADGET
    QML_VALUE_TYPE(mapCameraPosition)
    Q_PROPERTY(QGeoCoordinate center MEMBER center)
    Q_PROPERTY(double distance MEMBER distance)
    Q_PROPERTY(double heading MEMBER heading)
    Q_PROPERTY(double pitch MEMBER pitch)
    Q_PROPERTY(bool framesRegion READ framesRegion)
    Q_PROPERTY(MapRegion region READ regionValue)

public:
    QGeoCoordinate center{28.0, 105.0};
    double distance = 35'000'000; // metres
    double heading = 0;
    double pitch = 0;
    std::optional<MapRegion> region;

    bool framesRegion() const { return region.has_value(); }
    MapRegion regionValue() const { return region.value_or(MapRegion{}); }
    bool operator==(const MapCameraPosition &) const = default;
};
