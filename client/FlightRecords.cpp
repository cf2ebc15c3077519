#include "FlightRecords.h"

#include "AppLanguage.h"
#include "Json.h"
#include "RecordHash.h"
#include "Strings.h"
#include "WireTime.h"

#include <QHashFunctions>

#include <algorithm>

RecentFlight RecentFlight::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.optionalString(u"created"),
        f.optionalString(u"origin"),
        f.optionalString(u"destination"),
        f.optionalString(u"aircraft"),
        f.optionalString(u"livery"),
        f.optionalString(u"callsign"),
        f.optionalString(u"server"),
        f.optionalNumber(u"totalTimeMinutes"),
        f.optionalInteger(u"landings"),
    };
}

std::optional<QDateTime> RecentFlight::createdAt() const { return WireTime::parse(created); }

RecentFlightsResponse RecentFlightsResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<RecentFlight>(u"flights")};
}

IFStatistics IFStatistics::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.optionalString(u"username"),     f.optionalString(u"virtualOrganization"),
        f.optionalNumber(u"grade"),        f.optionalNumber(u"flightTime"),
        f.optionalNumber(u"landingCount"), f.optionalNumber(u"onlineFlights"),
        f.optionalNumber(u"xp"),           f.optionalNumber(u"violations"),
    };
}

AircraftNames AircraftNames::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).stringList(u"aircraft")};
}

FlightPhaseDescription FlightPhaseDescription::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    FlightPhaseDescription phase;
    phase.code = f.string(u"code");
    const QJsonValue labels = f.required(u"labels");
    if (!labels.isObject())
        throw DecodeError(QStringLiteral("labels is not a dictionary"));
    const QJsonObject object = labels.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        phase.labels.insert(it.key(), JsonFields::toString(it.value(), u"labels"));
    phase.symbol = f.string(u"symbol");
    phase.color = f.string(u"color");
    phase.verticalSpeed = f.optionalNumber(u"verticalSpeed");
    return phase;
}

QJsonObject FlightPhaseDescription::toJson() const
{
    QJsonObject labelObject;
    for (auto it = labels.begin(); it != labels.end(); ++it)
        labelObject.insert(it.key(), it.value());
    return JsonWriter()
        .set(QStringLiteral("code"), code)
        .set(QStringLiteral("labels"), labelObject)
        .set(QStringLiteral("symbol"), symbol)
        .set(QStringLiteral("color"), color)
        .setOptional(QStringLiteral("verticalSpeed"), verticalSpeed)
        .object();
}

QString FlightPhaseDescription::title() const { return title(AppLanguage::current()); }

QString FlightPhaseDescription::title(const QString &language) const
{
    // The service names Simplified Chinese plainly "zh".
    const QString key = language == QLatin1String("zh-Hans") ? QStringLiteral("zh") : language;
    if (const auto found = labels.constFind(key); found != labels.constEnd())
        return *found;
    if (const auto found = labels.constFind(QStringLiteral("en")); found != labels.constEnd())
        return *found;
    return code;
}

LiveFlight LiveFlight::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.optionalString(u"flightId"),
        f.optionalString(u"sessionId"),
        f.optionalString(u"server"),
        f.optionalString(u"pilot"),
        f.optionalString(u"callsign"),
        f.optionalString(u"aircraft"),
        f.optionalString(u"livery"),
        f.number(u"latitude"),
        f.number(u"longitude"),
        f.optionalNumber(u"altitude"),
        f.optionalNumber(u"groundSpeed"),
        f.optionalNumber(u"heading"),
        f.optionalString(u"departure"),
        f.optionalString(u"arrival"),
        f.optionalString(u"fleetRegistration"),
        f.optionalNumber(u"verticalSpeed"),
        f.optionalRecord<FlightPhaseDescription>(u"flightPhase"),
        f.optionalInteger(u"pilotState"),
        f.optionalBoolean(u"isConnected"),
        f.optionalString(u"lastReport"),
        f.optionalBoolean(u"eventAttending"),
        f.optionalBoolean(u"isLive"),
    };
}

LiveMapMember LiveMapMember::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"username"), f.stringList(u"flightIds")};
}

LiveResponse LiveResponse::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.list<LiveFlight>(u"flights"),
        f.optionalRecord<LiveFlight>(u"ownFlight"),
        f.optionalList<LiveMapMember>(u"members"),
        f.optionalString(u"status"),
        f.optionalString(u"updatedAt"),
        f.optionalString(u"liveIdentification"),
    };
}

std::optional<QDateTime> LiveResponse::updated() const { return WireTime::parse(updatedAt); }

QList<LiveFlight> LiveResponse::ownFlights(const std::optional<QString> &username) const
{
    QList<LiveFlight> own;
    if (username) {
        const QString name = username->toLower();
        const LiveMapMember *entry = nullptr;
        if (members) {
            for (const LiveMapMember &member : *members) {
                if (member.username.toLower() == name) {
                    entry = &member;
                    break;
                }
            }
        }
        for (const LiveFlight &flight : flights) {
            if (entry ? entry->flightIds.contains(flight.id)
                      : flight.pilot && flight.pilot->toLower() == name)
                own.append(flight);
        }
    }
    if (ownFlight
        && std::none_of(own.cbegin(), own.cend(), [&](const LiveFlight &f) { return f.id == ownFlight->id; }))
        own.append(*ownFlight);

    const auto sortText = [](const LiveFlight &f) {
        return f.server.value_or(QString()) + f.callsign.value_or(QString()) + f.id;
    };
    const auto isOwn = [this](const LiveFlight &f) { return ownFlight && f.id == ownFlight->id; };
    std::stable_sort(own.begin(), own.end(), [&](const LiveFlight &a, const LiveFlight &b) {
        if (isOwn(a) != isOwn(b))
            return isOwn(a);
        return Text::standardCompare(sortText(a), sortText(b)) < 0;
    });
    return own;
}

FlightPoint FlightPoint::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.number(u"latitude"), f.number(u"longitude"), f.optionalString(u"name")};
}

PlanResponse PlanResponse::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalList<FlightPoint>(u"points"), f.optionalList<FlightPoint>(u"route")};
}

size_t qHash(const RecentFlight &r, size_t seed) noexcept
{
    return Hasher(seed)
        .add(r.id, r.created, r.origin, r.destination, r.aircraft, r.livery, r.callsign, r.server)
        .add(r.totalTimeMinutes, r.landings)
        .value();
}

size_t qHash(const FlightPhaseDescription &phase, size_t seed) noexcept
{
    Hasher hasher(seed);
    hasher.add(phase.code, phase.labels.size());
    // A map iterates in key order, so equal label sets hash alike whatever order they arrived in.
    for (auto it = phase.labels.begin(); it != phase.labels.end(); ++it)
        hasher.add(it.key(), it.value());
    return hasher.add(phase.symbol, phase.color, phase.verticalSpeed).value();
}

size_t qHash(const LiveFlight &l, size_t seed) noexcept
{
    return Hasher(seed)
        .add(l.id, l.flightId, l.sessionId, l.server, l.pilot, l.callsign, l.aircraft, l.livery)
        .add(l.latitude, l.longitude, l.altitude, l.groundSpeed, l.heading)
        .add(l.departure, l.arrival, l.fleetRegistration, l.verticalSpeed, l.flightPhase, l.pilotState)
        .add(l.isConnected, l.lastReport, l.eventAttending, l.isLive)
        .value();
}
