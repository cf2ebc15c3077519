#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// Group-flight events and attendance, the leaderboard, the member's flown routes and the notice inbox.
// All of them are only ever read from the service, never written.

// Raw values are "attending", "interested" and "declined"; the raw value is the choice's identity.
enum class AttendanceChoice {
    Attending,
    Interested,
    Declined,
};

inline constexpr std::array<AttendanceChoice, 3> allAttendanceChoices{
    AttendanceChoice::Attending, AttendanceChoice::Interested, AttendanceChoice::Declined};

QString raw(AttendanceChoice choice);
template <typename T>
std::optional<T> fromRaw(QStringView text);
// Exact, case-sensitive match; any other text is no choice.
template <>
std::optional<AttendanceChoice> fromRaw<AttendanceChoice>(QStringView text);

struct AircraftOption
{
    QString aircraft;
    QString livery;

    static AircraftOption fromJson(const QJsonValue &value);
    bool operator==(const AircraftOption &) const = default;
};

struct FlightEvent
{
    QString id; // also the eventId of attendance answers
    QString departureCode;
    QString arrivalCode;
    QString departureCity;
    QString arrivalCity;
    qint64 estimatedHours = 0;
    qint64 estimatedMinutes = 0; // beyond the hours
    QString aircraft;
    QString livery;
    QString eventAtUtc;
    std::optional<QList<AircraftOption>> aircraftOptions; // in the service's order, which equality keeps

    static FlightEvent fromJson(const QJsonValue &value);
    bool operator==(const FlightEvent &) const = default;
    QString identity() const { return id; }

    // The start time; none when the service's text is not a time we can read.
    std::optional<QDateTime> eventAt() const;
    // Whether the start has been reached, the bound included; a start we cannot read counts as reached.
    bool hasStarted(const QDateTime &now) const;
    bool hasStarted() const { return hasStarted(QDateTime::currentDateTimeUtc()); }
};

struct UpcomingResponse
{
    QList<FlightEvent> events;

    static constexpr bool optionalAnswer = false;
    static UpcomingResponse fromJson(const QJsonValue &value);
};

struct Attendance
{
    QString eventId;
    QString response; // held as sent, even when it is no known choice

    static Attendance fromJson(const QJsonValue &value);
    std::optional<AttendanceChoice> choice() const { return fromRaw<AttendanceChoice>(response); }
};

struct AttendanceResponse
{
    QList<Attendance> responses;

    static constexpr bool optionalAnswer = false;
    static AttendanceResponse fromJson(const QJsonValue &value);
};

struct EventResponseEntry
{
    QString username;
    QString response;

    static EventResponseEntry fromJson(const QJsonValue &value);
    bool operator==(const EventResponseEntry &) const = default;
    std::optional<AttendanceChoice> choice() const { return fromRaw<AttendanceChoice>(response); }
};

struct EventResponsesResponse
{
    QList<EventResponseEntry> responses;

    static constexpr bool optionalAnswer = false;
    static EventResponsesResponse fromJson(const QJsonValue &value);
};

struct LeaderboardMember
{
    QString username;
    std::optional<QString> displayName;
    qint64 approvedCount = 0;
    double approvedMinutes = 0;
    std::optional<qint64> approvedLandings;

    static LeaderboardMember fromJson(const QJsonValue &value);
    QString identity() const { return username; }
};

struct FleetTotal
{
    QString aircraft;
    QString livery;
    std::optional<qint64> flights;
    std::optional<double> minutes;
    std::optional<qint64> landings;

    static FleetTotal fromJson(const QJsonValue &value);
    QString identity() const { return aircraft + QLatin1Char(':') + livery; }
};

struct AirportTotal
{
    QString airport;
    qint64 landings = 0;

    static AirportTotal fromJson(const QJsonValue &value);
    QString identity() const { return airport; }
};

struct ReviewerTotal
{
    QString username;
    std::optional<QString> displayName;
    std::optional<qint64> reviews;
    std::optional<qint64> recentReviews;

    static ReviewerTotal fromJson(const QJsonValue &value);
};

struct LeaderboardResponse
{
    QList<LeaderboardMember> members;
    std::optional<QList<FleetTotal>> aircraft;
    std::optional<QList<AirportTotal>> airports;
    std::optional<QList<ReviewerTotal>> reviewers;

    static constexpr bool optionalAnswer = true;
    static LeaderboardResponse fromJson(const QJsonValue &value);
};

struct FlownRoute
{
    QString departure;
    QString arrival;
    qint64 flights = 0;

    static FlownRoute fromJson(const QJsonValue &value);
    QString identity() const { return departure + QLatin1Char('-') + arrival; }
};

struct RouteResponse
{
    QList<FlownRoute> routes;

    static constexpr bool optionalAnswer = false;
    static RouteResponse fromJson(const QJsonValue &value);
};

struct SiteNotice
{
    QString id;
    QString kind; // "event_published", "pirep_submitted", or else a review result told apart by status
    QString entityId;
    double occurredAt = 0; // milliseconds since the epoch
    std::optional<double> readAt;
    QString departure;
    QString arrival;
    std::optional<QString> status;
    std::optional<QString> reason;
    std::optional<QString> eventAt;

    static SiteNotice fromJson(const QJsonValue &value);
    QString identity() const { return id; }

    // Judged by the notice alone; the inbox's own count may disagree and is shown as sent.
    bool isUnread() const { return !readAt.has_value(); }
};

struct SiteInbox
{
    QList<SiteNotice> notifications;
    qint64 unreadCount = 0;

    static constexpr bool optionalAnswer = true;
    static SiteInbox fromJson(const QJsonValue &value);
};

struct InboxWriteResult
{
    bool ok = false;

    static constexpr bool optionalAnswer = false;
    static InboxWriteResult fromJson(const QJsonValue &value);
};

size_t qHash(AttendanceChoice choice, size_t seed = 0) noexcept;
size_t qHash(const AircraftOption &option, size_t seed = 0) noexcept;
size_t qHash(const FlightEvent &event, size_t seed = 0) noexcept;
size_t qHash(const EventResponseEntry &entry, size_t seed = 0) noexcept;
