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

    const QJsonArray rows = planRows(source.value("plan").toString());
    if (rows.size() < 2) {
        if (source.contains("phase")) {
            const QJsonValue speed = source.value("verticalSpeed");
            flight.insert("flightPhase",
                          phase(source.value("phase").toString(),
                                speed.isDouble() ? std::optional<double>(speed.toDouble()) : std::nullopt));
        }
        return flight;
    }

    const QList<Point> plan = points(rows);
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
    for (const QJsonObject &entry : liveRows(saved)) {
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
    for (const QJsonObject &entry : liveRows(false)) {
        if (entry.value("sessionId").toString() != sessionId
            || entry.value("flightId").toString() != flightId)
            continue;
        const QJsonArray rows = planRows(entry.value("plan").toString());
        if (rows.isEmpty())
            return std::nullopt;
        QJsonArray flown;
        liveFlight(entry, elapsedHours, &flown);
        return QJsonObject{{"points", rows}, {"route", flown}};
    }
    return std::nullopt;
}

QJsonArray MemberStore::planRows(const QString &name) const
{
    const QJsonValue filed = m_liveMap.value("plans").toObject().value(name);
    return filed.isArray() ? filed.toArray() : m_crowdPlans.value(name);
}

QList<QJsonObject> MemberStore::liveRows(bool saved) const
{
    QList<QJsonObject> rows;
    const QJsonArray filed = m_liveMap.value(saved ? QStringLiteral("saved") : QStringLiteral("current"))
                                 .toObject()
                                 .value("flights")
                                 .toArray();
    const QList<QJsonObject> &crowd = saved ? m_savedCrowd : m_crowd;
    rows.reserve(filed.size() + crowd.size());
    for (const QJsonValue &row : filed)
        rows.append(row.toObject());
    rows.append(crowd);
    return rows;
}

namespace {

// The same sequence at every start (Park and Miller's minimal standard generator).
class Sequence
{
public:
    explicit Sequence(qint64 seed)
        : m_state(seed % 2147483647 > 0 ? seed % 2147483647 : 1)
    {
    }
    double next()
    {
        m_state = m_state * 16807 % 2147483647;
        return double(m_state) / 2147483647.0;
    }
    qsizetype pick(qsizetype count) { return std::min(count - 1, qsizetype(next() * double(count))); }
    bool chance(double p) { return next() < p; }
    QString hex(int digits)
    {
        QString text;
        for (int i = 0; i < digits; ++i)
            text += QLatin1Char("0123456789abcdef"[pick(16)]);
        return text;
    }
    QString uuid() { return hex(8) + '-' + hex(4) + "-4" + hex(3) + "-a" + hex(3) + '-' + hex(12); }

private:
    qint64 m_state;
};

// What an aircraft of a size class flies at: ground speed (kt) and cruise altitude (ft) ranges.
struct Performance
{
    double speed;
    double spread;
    double altitude;
    double climb;
};

Performance performance(const QString &aircraft)
{
    const QString name = aircraft.toLower();
    for (const char *light : {"cessna", "c172", "tbm", "spitfire"}) {
        if (name.contains(QLatin1String(light)))
            return {130, 60, 7500, 3000};
    }
    for (const char *regional : {"embraer", "crj", "dash", "atr", "citation"}) {
        if (name.contains(QLatin1String(regional)))
            return {330, 80, 25000, 8000};
    }
    if (name.contains(QLatin1String("f-16")))
        return {450, 60, 28000, 10000};
    return {455, 60, 34000, 7000};
}

} // namespace

void MemberStore::buildCrowd()
{
    const QJsonObject crowd = m_liveMap.value("crowd").toObject();
    const QJsonArray airports = crowd.value("airports").toArray();
    const QJsonArray aircraft = crowd.value("aircraft").toArray();
    const QJsonArray servers = crowd.value("servers").toArray();
    const QJsonArray prefixes = crowd.value("callsignPrefixes").toArray();
    const QJsonArray pilots = crowd.value("pilots").toArray();
    if (airports.size() < 2 || aircraft.isEmpty() || servers.isEmpty() || prefixes.isEmpty()
        || pilots.isEmpty())
        return;
    const QString sessionId = crowd.value("sessionId").toString();
    const auto airport = [&](qsizetype i) {
        const QJsonArray row = airports.at(i).toArray();
        return Point{row.at(1).toDouble(), row.at(2).toDouble(), row.at(0).toString()};
    };

    const auto generate = [&](qint64 seed, int count, bool saved) {
        Sequence random(seed);
        QList<QJsonObject> flights;
        for (int i = 0; i < count; ++i) {
            // Two airports apart by more than 300 km, not across the 180° meridian.
            Point from, to;
            do {
                from = airport(random.pick(airports.size()));
                to = airport(random.pick(airports.size()));
            } while (from.name == to.name || distanceKm(from, to) < 300
                     || std::abs(to.longitude - from.longitude) > 180);
            const QJsonArray type = aircraft.at(random.pick(aircraft.size())).toArray();
            const QString name = type.at(0).toString();
            const QJsonArray liveries = type.at(1).toArray();
            const Performance perf = performance(name);
            const QString pilot = pilots.at(random.pick(pilots.size())).toString() + QString::number(100 + i);
            const QString number = QString::number(1 + random.pick(9000));

            const QString id = (saved ? QStringLiteral("sv-cr-%1") : QStringLiteral("cr-%1"))
                                   .arg(i + 1, 4, 10, QLatin1Char('0'));
            const QString plan = QStringLiteral("%1:%2-%3").arg(id, from.name, to.name);
            QJsonArray rows{pointJson(from)};
            // Every other plan has a named fix halfway.
            if (random.chance(0.5))
                rows.append(pointJson({(from.latitude + to.latitude) / 2, (from.longitude + to.longitude) / 2,
                                       QStringLiteral("FX%1").arg(i % 1000, 3, 10, QLatin1Char('0'))}));
            rows.append(pointJson(to));
            m_crowdPlans.insert(plan, rows);

            QJsonObject flight{
                {"id", id},
                {"member", pilot.toLower()},
                {"sessionId", sessionId},
                {"server", servers.at(random.pick(servers.size())).toString()},
                {"pilot", pilot},
                {"aircraft", name},
                {"livery", liveries.at(random.pick(liveries.size())).toString()},
                {"plan", plan},
                {"startProgress", 0.03 + random.next() * 0.9},
                {"groundSpeed", std::round(perf.speed + (random.next() - 0.5) * perf.spread)},
                {"cruiseAltitude",
                 std::round((perf.altitude + (random.next() - 0.5) * perf.climb) / 500) * 500},
                {"pilotState", 0},
                {"isConnected", true},
                {"eventAttending", random.chance(0.03)},
                {"isLive", random.chance(0.22)},
            };
            // Most fly under their airline's callsign; a few give none.
            if (!random.chance(0.04))
                flight.insert("callsign", prefixes.at(random.pick(prefixes.size())).toString() + number);
            // Every fourth live flight's plan can be asked for (its ids are UUIDs); others carry an id of
            // another form, or none, and the map never asks.
            const int kind = i % 4;
            if (kind == 0 && !saved)
                flight.insert("flightId", random.uuid());
            else if (kind == 1)
                flight.insert("flightId", QStringLiteral("if-%1").arg(700000 + i));
            // Most name their airports; some planned ones leave that to their plan's ends.
            if (!(kind == 0 && random.chance(0.2))) {
                flight.insert("departure", from.name);
                flight.insert("arrival", to.name);
            }
            flights.append(flight);
        }
        return flights;
    };
    const qint64 seed = crowd.value("seed").toInteger(2207);
    m_crowd = generate(seed, crowd.value("count").toInt(), false);
    m_savedCrowd = generate(seed * 31 + 7, crowd.value("savedCount").toInt(), true);
}

} // namespace Sample
