#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// The answers under /api/live-schedules: the Live fleet board with its organisations, aircraft and
// official schedules, the aircraft's live positions, last pilots and last routes, the member's schedule
// applications and the state of their linked Infinite Flight account.

struct LiveFlying
{
    std::optional<QString> callsign;
    std::optional<QString> pilot;
    std::optional<QString> server;
    std::optional<QString> departure;
    std::optional<QString> arrival;
    std::optional<QString> phase;      // words such as "巡航", not a code
    std::optional<double> altitude;    // feet
    std::optional<double> groundSpeed; // knots

    static LiveFlying fromJson(const QJsonValue &value);
};

struct LiveAircraft
{
    QString id;
    QString registration;
    std::optional<QString> aircraft;
    std::optional<QString> livery;
    std::optional<bool> hangared;
    std::optional<bool> storage;
    std::optional<qint64> recordStatus; // 1 is a deleted record
    std::optional<LiveFlying> flying;   // none while the aircraft is not flying

    static LiveAircraft fromJson(const QJsonValue &value);
    QString identity() const { return id; }
};

struct LiveCrew
{
    std::optional<QString> userId;
    std::optional<QString> username;
    std::optional<qint64> role; // 1 is the first officer, anything else the captain

    static LiveCrew fromJson(const QJsonValue &value);
};

struct LiveSchedule
{
    QString id;
    QString aircraftId;
    std::optional<qint64> status; // none reads as 0
    std::optional<QString> callsign;
    std::optional<qint64> flightType;
    QString originIcao;
    QString destinationIcao;
    std::optional<bool> isTimeless;
    std::optional<QString> scheduledDepartureUtc;
    std::optional<QString> scheduledArrivalUtc;
    std::optional<QString> briefing;
    std::optional<QList<LiveCrew>> crew;
    std::optional<qint64> sequence; // none reads as 0

    static LiveSchedule fromJson(const QJsonValue &value);
    QString identity() const { return id; }

    QString statusText() const;
    // None when no type was given or the code is one we do not know.
    std::optional<QString> typeText() const;
    std::optional<QDateTime> scheduledDeparture() const;
    std::optional<QDateTime> scheduledArrival() const;
};

struct LiveOrganization
{
    QString id;
    QString name;
    std::optional<qint64> role;
    QList<LiveAircraft> aircraft;
    QList<LiveSchedule> schedules;

    static LiveOrganization fromJson(const QJsonValue &value);
    QString identity() const { return id; }
};

struct LiveBoard
{
    std::optional<bool> canReview; // none counts as false
    QList<LiveOrganization> organizations;
    std::optional<QString> liveUpdatedAt; // the service's own stamp, not read here

    static constexpr bool optionalAnswer = true;
    static LiveBoard fromJson(const QJsonValue &value);
};

struct LiveApplication
{
    QString id;
    std::optional<QString> username;
    std::optional<QString> organization;
    QString registration;
    QString departure;
    QString arrival;
    QString status;
    QString reviewNote; // empty when the reviewer left no note

    static LiveApplication fromJson(const QJsonValue &value);
    QString identity() const { return id; }

    // A status we do not know is shown as the service sent it.
    QString statusText() const;
};

struct LiveApplications
{
    QList<LiveApplication> applications;
    bool hasMore = false;

    static constexpr bool optionalAnswer = false;
    static LiveApplications fromJson(const QJsonValue &value);
};

struct LiveFleetPosition
{
    QString aircraftId;
    std::optional<qint64> state;
    std::optional<bool> available; // only true makes the position usable

    static LiveFleetPosition fromJson(const QJsonValue &value);

    // The text of a position state; an unknown state is "未知".
    static QString stateText(qint64 state);
};

struct LiveRecentPilot
{
    QString aircraftId;
    QString pilot;
    std::optional<QString> seenAt; // ISO 8601

    static LiveRecentPilot fromJson(const QJsonValue &value);
    std::optional<QDateTime> seen() const;
};

struct LiveFleetPositions
{
    std::optional<QList<LiveFleetPosition>> aircraftPositions;
    std::optional<QList<LiveRecentPilot>> recentPilots;

    static constexpr bool optionalAnswer = true;
    static LiveFleetPositions fromJson(const QJsonValue &value);
};

struct LiveRouteItem
{
    std::optional<qint64> status; // 1 is a finished route
    std::optional<QString> departure;
    std::optional<QString> arrival;

    static LiveRouteItem fromJson(const QJsonValue &value);
};

struct LiveRouteHistory
{
    QString aircraftId;
    std::optional<bool> available;             // only true makes the history usable
    std::optional<QList<LiveRouteItem>> items; // the last route first

    static LiveRouteHistory fromJson(const QJsonValue &value);
};

struct LiveRoutes
{
    std::optional<QList<LiveRouteHistory>> aircraftRoutes;

    static constexpr bool optionalAnswer = true;
    static LiveRoutes fromJson(const QJsonValue &value);
};

struct LiveAuthorization
{
    QString state; // only "eligible" means linked

    static constexpr bool optionalAnswer = false;
    static LiveAuthorization fromJson(const QJsonValue &value);
};

struct LiveAuthorizationStart
{
    QString url; // checked by the page before it is opened

    static constexpr bool optionalAnswer = false;
    static LiveAuthorizationStart fromJson(const QJsonValue &value);
};

// The answer of approving, rejecting or resolving an application.
struct LiveReviewResult
{
    std::optional<bool> ok;         // only true confirms that the review was saved
    std::optional<QString> warning; // the service's note, shown in place of the usual confirmation

    static constexpr bool optionalAnswer = false;
    static LiveReviewResult fromJson(const QJsonValue &value);
};
