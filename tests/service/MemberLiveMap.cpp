// The live map of the sample service: members' flights that move along their plans while the service
// runs, the snapshot saved earlier, and the plan with the flown track of one flight.
#include "MemberStore.h"

#include <QtMath>

#include <cmath>

namespace Sample {

namespace {

constexpr double earthKm = 6371.0;
constexpr double knotKmh = 1.852;
// A flight never lands in the sample: it holds short of its destination on the approach.
constexpr double furthest = 0.97;

struct Point
{
    double latitude = 0;
    double longitude = 0;
    QString name;
};

double distanceKm(const Point &a, const Point &b)
{
    const double dLat = qDegreesToRadians(b.latitude - a.latitude);
    const double dLon = qDegreesToRadians(b.longitude - a.longitude);
    const double h = std::pow(std::sin(dLat / 2), 2)
                     + std::cos(qDegreesToRadians(a.latitude)) * std::cos(qDegreesToRadians(b.latitude))
                           * std::pow(std::sin(dLon / 2), 2);
    return 2 * earthKm * std::asin(std::sqrt(h));
}

double bearing(const Point &from, const Point &to)
{
    const double lat1 = qDegreesToRadians(from.latitude), lat2 = qDegreesToRadians(to.latitude);
    const double dLon = qDegreesToRadians(to.longitude - from.longitude);
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    return std::fmod(qRadiansToDegrees(std::atan2(y, x)) + 360.0, 360.0);
}

QList<Point> points(const QJsonArray &rows)
{
    QList<Point> list;
    for (const QJsonValue &row : rows)
        list.append({row["latitude"].toDouble(), row["longitude"].toDouble(), row["name"].toString()});
    return list;
}

QJsonObject pointJson(const Point &point)
{
    QJsonObject json{{"latitude", point.latitude}, {"longitude", point.longitude}};
    if (!point.name.isEmpty())
        json.insert("name", point.name);
    return json;
}

// Where a flight is along its plan, and what it is doing there.
struct Position
{
    Point at;
    double heading = 0;
    double altitude = 0;
    double verticalSpeed = 0;
    QString phase;
    QList<Point> flown;
};

Position along(const QList<Point> &plan, double fraction, double cruiseAltitude)
{
    Position position;
    double total = 0;
    QList<double> legs;
    for (qsizetype i = 1; i < plan.size(); ++i) {
        legs.append(distanceKm(plan.at(i - 1), plan.at(i)));
        total += legs.last();
    }
    double left = total * fraction;
    position.flown.append(plan.first());
    position.at = plan.first();
    for (qsizetype i = 0; i < legs.size(); ++i) {
        const Point &from = plan.at(i), &to = plan.at(i + 1);
        position.heading = bearing(from, to);
        if (left <= legs.at(i)) {
            const double t = legs.at(i) > 0 ? left / legs.at(i) : 0;
            position.at = {from.latitude + (to.latitude - from.latitude) * t,
                           from.longitude + (to.longitude - from.longitude) * t,
                           {}};
            break;
        }
        left -= legs.at(i);
        position.flown.append(to);
        position.at = to;
    }
    position.flown.append(position.at);

    if (fraction < 0.07) {
        position.phase = QStringLiteral("climb");
        position.altitude = std::max(1500.0, cruiseAltitude * fraction / 0.07);
        position.verticalSpeed = 2100;
    } else if (fraction < 0.86) {
        position.phase = QStringLiteral("cruise");
        position.altitude = cruiseAltitude;
        position.verticalSpeed = 0;
    } else if (fraction < 0.95) {
        position.phase = QStringLiteral("descent");
        position.altitude = cruiseAltitude - (cruiseAltitude - 4000) * (fraction - 0.86) / 0.09;
        position.verticalSpeed = -1900;
    } else {
        position.phase = QStringLiteral("approach");
        position.altitude = std::max(1500.0, 4000 - 2500 * (fraction - 0.95) / (furthest - 0.95));
        position.verticalSpeed = -750;
    }
    position.altitude = std::round(position.altitude / 10) * 10;
    position.heading = std::round(position.heading);
    return position;
}

} // namespace

QJsonObject MemberStore::phase(const QString &code, std::optional<double> verticalSpeed) const
{
    QJsonObject phase = m_liveMap.value("phases").toObject().value(code).toObject();
    phase.insert("code", code);
    if (verticalSpeed)
        phase.insert("verticalSpeed", *verticalSpeed);
    return phase;
}

QJsonObject MemberStore::liveFlight(const QJsonObject &source, double elapsedHours, QJsonArray *flown) const
{
    QJsonObject flight = source;
    for (const char *helper : {"member", "plan", "startProgress", "cruiseAltitude", "phase"})
        flight.remove(QLatin1String(helper));

    const QJsonArray planRows =
        m_liveMap.value("plans").toObject().value(source.value("plan").toString()).toArray();
    if (planRows.size() < 2) {
        if (source.contains("phase")) {
            const QJsonValue speed = source.value("verticalSpeed");
            flight.insert("flightPhase",
                          phase(source.value("phase").toString(),
                                speed.isDouble() ? std::optional<double>(speed.toDouble()) : std::nullopt));
        }
        return flight;
    }

    const QList<Point> plan = points(planRows);
    double total = 0;
    for (qsizetype i = 1; i < plan.size(); ++i)
        total += distanceKm(plan.at(i - 1), plan.at(i));
    const double travelled = source.value("groundSpeed").toDouble() * knotKmh * std::max(0.0, elapsedHours);
    const double fraction = std::min(furthest, source.value("startProgress").toDouble() + travelled / total);
    const Position position = along(plan, fraction, source.value("cruiseAltitude").toDouble(35000));

    flight.insert("latitude", position.at.latitude);
    flight.insert("longitude", position.at.longitude);
    flight.insert("altitude", position.altitude);
    flight.insert("heading", position.heading);
    flight.insert("verticalSpeed", position.verticalSpeed);
    flight.insert("flightPhase", phase(position.phase, position.verticalSpeed));
    if (flown) {
        for (const Point &point : position.flown)
            flown->append(pointJson(point));
    }
    return flight;
}

QJsonObject MemberStore::liveSnapshot(const QString &username, bool saved) const
{
    const QJsonObject source =
        m_liveMap.value(saved ? QStringLiteral("saved") : QStringLiteral("current")).toObject();
    const qint64 now = nowMs();
    const qint64 taken =
        saved ? m_startMs + qint64(source.value("updatedAtOffsetHours").toDouble() * 3600 * 1000) : now;
    const double elapsedHours = saved ? 0 : double(now - m_startMs) / (3600.0 * 1000.0);

    QJsonArray flights;
    QList<QPair<QString, QStringList>> members;
    std::optional<QJsonObject> own;
    for (const QJsonValue &row : source.value("flights").toArray()) {
        const QJsonObject entry = row.toObject();
        QJsonObject flight = liveFlight(entry, elapsedHours, nullptr);
        flight.insert("lastReport", isoAt(taken - 4000, true));
        flights.append(flight);

        const QString member = entry.value("member").toString();
        auto found =
            std::find_if(members.begin(), members.end(), [&](const auto &m) { return m.first == member; });
        if (found == members.end())
            members.append({member, {flight.value("id").toString()}});
        else
            found->second.append(flight.value("id").toString());
        if (!own && member == username)
            own = flight;
    }

    QJsonArray memberRows;
    for (const auto &[name, ids] : std::as_const(members))
        memberRows.append(QJsonObject{{"username", name}, {"flightIds", QJsonArray::fromStringList(ids)}});
    QJsonObject snapshot{{"flights", flights}, {"members", memberRows}, {"updatedAt", isoAt(taken, true)}};
    snapshot.insert("ownFlight", own ? QJsonValue(*own) : QJsonValue(QJsonValue::Null));
    for (const char *field : {"status", "liveIdentification"}) {
        if (source.contains(QLatin1String(field)))
            snapshot.insert(QLatin1String(field), source.value(QLatin1String(field)));
    }
    return snapshot;
}

std::optional<QJsonObject> MemberStore::plan(const QString &sessionId, const QString &flightId) const
{
    const double elapsedHours = double(nowMs() - m_startMs) / (3600.0 * 1000.0);
    for (const QJsonValue &row : m_liveMap.value("current").toObject().value("flights").toArray()) {
        const QJsonObject entry = row.toObject();
        if (entry.value("sessionId").toString() != sessionId
            || entry.value("flightId").toString() != flightId)
            continue;
        const QJsonArray planRows =
            m_liveMap.value("plans").toObject().value(entry.value("plan").toString()).toArray();
        if (planRows.isEmpty())
            return std::nullopt;
        QJsonArray flown;
        liveFlight(entry, elapsedHours, &flown);
        return QJsonObject{{"points", planRows}, {"route", flown}};
    }
    return std::nullopt;
}

} // namespace Sample
