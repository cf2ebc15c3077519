#include "CommunityRecords.h"

#include "Json.h"
#include "WireTime.h"

#include <QHashFunctions>

QString raw(AttendanceChoice choice)
{
    switch (choice) {
    case AttendanceChoice::Attending:
        return QStringLiteral("attending");
    case AttendanceChoice::Interested:
        return QStringLiteral("interested");
    case AttendanceChoice::Declined:
        return QStringLiteral("declined");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<AttendanceChoice> fromRaw<AttendanceChoice>(QStringView text)
{
    for (const AttendanceChoice choice : allAttendanceChoices) {
        if (raw(choice) == text)
            return choice;
    }
    return std::nullopt;
}

AircraftOption AircraftOption::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"aircraft"), f.string(u"livery")};
}

FlightEvent FlightEvent::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.string(u"departureCode"),
        f.string(u"arrivalCode"),
        f.string(u"departureCity"),
        f.string(u"arrivalCity"),
        f.integer(u"estimatedHours"),
        f.integer(u"estimatedMinutes"),
        f.string(u"aircraft"),
        f.string(u"livery"),
        f.string(u"eventAtUtc"),
        f.optionalList<AircraftOption>(u"aircraftOptions"),
    };
}

std::optional<QDateTime> FlightEvent::eventAt() const { return WireTime::parse(eventAtUtc); }

bool FlightEvent::hasStarted(const QDateTime &now) const
{
    const std::optional<QDateTime> start = eventAt();
    return !start || *start <= now;
}

UpcomingResponse UpcomingResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<FlightEvent>(u"events")};
}

Attendance Attendance::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"eventId"), f.string(u"response")};
}

AttendanceResponse AttendanceResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<Attendance>(u"responses")};
}

EventResponseEntry EventResponseEntry::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"username"), f.string(u"response")};
}

EventResponsesResponse EventResponsesResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<EventResponseEntry>(u"responses")};
}

LeaderboardMember LeaderboardMember::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"username"), f.optionalString(u"displayName"), f.integer(u"approvedCount"),
            f.number(u"approvedMinutes"), f.optionalInteger(u"approvedLandings")};
}

FleetTotal FleetTotal::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"aircraft"), f.string(u"livery"), f.optionalInteger(u"flights"),
            f.optionalNumber(u"minutes"), f.optionalInteger(u"landings")};
}

AirportTotal AirportTotal::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"airport"), f.integer(u"landings")};
}

ReviewerTotal ReviewerTotal::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"username"), f.optionalString(u"displayName"), f.optionalInteger(u"reviews"),
            f.optionalInteger(u"recentReviews")};
}

LeaderboardResponse LeaderboardResponse::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.list<LeaderboardMember>(u"members"), f.optionalList<FleetTotal>(u"aircraft"),
            f.optionalList<AirportTotal>(u"airports"), f.optionalList<ReviewerTotal>(u"reviewers")};
}

FlownRoute FlownRoute::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"departure"), f.string(u"arrival"), f.integer(u"flights")};
}

RouteResponse RouteResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<FlownRoute>(u"routes")};
}

SiteNotice SiteNotice::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.string(u"kind"),
        f.string(u"entityId"),
        f.number(u"occurredAt"),
        f.optionalNumber(u"readAt"),
        f.string(u"departure"),
        f.string(u"arrival"),
        f.optionalString(u"status"),
        f.optionalString(u"reason"),
        f.optionalString(u"eventAt"),
    };
}

SiteInbox SiteInbox::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.list<SiteNotice>(u"notifications"), f.integer(u"unreadCount")};
}

InboxWriteResult InboxWriteResult::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).boolean(u"ok")};
}

size_t qHash(AttendanceChoice choice, size_t seed) noexcept { return qHash(raw(choice), seed); }

size_t qHash(const AircraftOption &option, size_t seed) noexcept
{
    return qHashMulti(seed, option.aircraft, option.livery);
}

size_t qHash(const FlightEvent &e, size_t seed) noexcept
{
    seed = qHashMulti(seed, e.id, e.departureCode, e.arrivalCode, e.departureCity, e.arrivalCity,
                      e.estimatedHours, e.estimatedMinutes, e.aircraft, e.livery, e.eventAtUtc);
    // Presence and length first, so an absent list and an empty one hash apart.
    seed = qHashMulti(seed, e.aircraftOptions.has_value());
    if (e.aircraftOptions) {
        seed = qHashMulti(seed, e.aircraftOptions->size());
        for (const AircraftOption &option : *e.aircraftOptions)
            seed = qHashMulti(seed, option.aircraft, option.livery);
    }
    return seed;
}

size_t qHash(const EventResponseEntry &entry, size_t seed) noexcept
{
    return qHashMulti(seed, entry.username, entry.response);
}
