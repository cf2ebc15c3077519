#pragma once

#include "LiveScheduleRecords.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// One aircraft of the fleet board: the board's aircraft joined with what the positions and routes
// answers know of it. Every member is worked out from the fields on each use.
struct LiveFleetItem
{
    enum class Activity { Airborne, Ground, Idle };

    // The route line of an aircraft without a live route.
    struct RouteLine
    {
        QString text;
        QString label;
        bool operator==(const RouteLine &) const = default;
    };

    LiveOrganization organization;
    LiveAircraft aircraft;
    QList<LiveSchedule> schedules; // this aircraft's only, by sequence
    std::optional<LiveFleetPosition> position;
    std::optional<LiveRecentPilot> lastPilot;
    std::optional<LiveRouteItem> lastRoute;

    // One aircraft shared by two organisations is two items.
    QString id() const;
    Activity activity() const;
    QString statusText() const;
    std::optional<LiveSchedule> nextSchedule() const;
    std::optional<RouteLine> idleRoute() const;
    QString typeText() const;
};

// The positions, last pilots and last routes of the fleet, by aircraft id.
struct LiveFleetExtras
{
    QHash<QString, LiveFleetPosition> positions;
    QHash<QString, LiveRecentPilot> recentPilots;
    QHash<QString, LiveRouteItem> routes;

    // A null answer keeps what was known; an answer replaces it whole, the later of two entries winning.
    void take(const std::optional<LiveFleetPositions> &answer);
    void take(const std::optional<LiveRoutes> &answer);
};

// One item per aircraft, in the board's order of organisations and then aircraft.
QList<LiveFleetItem> liveFleet(const std::optional<LiveBoard> &board, const LiveFleetExtras &extras);

// A live flight in one line: callsign, altitude and ground speed, the empty text when none is known.
QString liveFigures(const LiveFlying &flight);
// An altitude as whole feet with the locale's grouping and " ft", a ground speed as plain whole knots and
// " kt"; none when it is absent, not finite or beyond 64 bits.
std::optional<QString> liveAltitude(std::optional<double> feet);
std::optional<QString> liveSpeed(std::optional<double> knots);
