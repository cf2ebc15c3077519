#include "LiveMapRules.h"

#include "APIPath.h"
#include "Geodesy.h"
#include "MemberData.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace LiveMapRules {

QString planKey(const LiveFlight &flight)
{
    return flight.sessionId.value_or(QString()) + QLatin1Char(':') + flight.flightId.value_or(flight.id);
}

bool plannable(const LiveFlight &flight)
{
    return flight.sessionId && flight.flightId && MemberData::isUuid(*flight.sessionId)
           && MemberData::isUuid(*flight.flightId);
}

QString planPath(const LiveFlight &flight)
{
    return APIPath::livePlan(flight.sessionId.value_or(QString()), flight.flightId.value_or(QString()));
}

void prune(Plans &plans, const QList<LiveFlight> &flights)
{
    if (plans.isEmpty())
        return;
    QSet<QString> keys;
    keys.reserve(flights.size());
    for (const LiveFlight &flight : flights)
        keys.insert(planKey(flight));
    plans.removeIf([&](const Plans::iterator &entry) { return !keys.contains(entry.key()); });
}

std::optional<QString> endpoint(const FlightPoint &point, const Airports::Table &airports)
{
    if (!point.name || point.name->size() != 4)
        return std::nullopt;
    const QString &name = *point.name;
    if (!std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c >= u'A' && c <= u'Z'; }))
        return std::nullopt;
    const auto airport = airports.constFind(name);
    if (airport == airports.cend())
        return std::nullopt;
    const double metres = Geodesy::distance(QGeoCoordinate(airport->latitude, airport->longitude),
                                            QGeoCoordinate(point.latitude, point.longitude));
    if (!(metres < 27780))
        return std::nullopt;
    return name;
}

LiveFlight withRoute(LiveFlight flight, const Plans &plans, const Airports::Table &airports)
{
    const auto plan = plans.constFind(planKey(flight));
    if (plan == plans.cend() || !plan->points || plan->points->size() < 2)
        return flight;
    const QList<FlightPoint> &points = *plan->points;
    if (!flight.departure || flight.departure->isEmpty())
        flight.departure = endpoint(points.constFirst(), airports);
    if (!flight.arrival || flight.arrival->isEmpty())
        flight.arrival = endpoint(points.constLast(), airports);
    return flight;
}

bool connected(const std::optional<LiveResponse> &snapshot)
{
    return snapshot && snapshot->liveIdentification == QLatin1String("connected");
}

bool liveIdentified(const LiveFlight &flight, bool connected)
{
    return connected && flight.isLive.value_or(false);
}

int liveCount(const std::optional<LiveResponse> &snapshot)
{
    if (!connected(snapshot))
        return 0;
    return int(std::count_if(snapshot->flights.cbegin(), snapshot->flights.cend(),
                             [](const LiveFlight &flight) { return flight.isLive.value_or(false); }));
}

QList<qsizetype> drawOrder(const LiveResponse &snapshot, const std::optional<QString> &selectedId)
{
    const bool live = connected(snapshot);
    // Four passes keep each rank in the snapshot's order: a stable sort by rank, in linear time.
    QList<qsizetype> ranks[4];
    for (qsizetype i = 0; i < snapshot.flights.size(); ++i) {
        const LiveFlight &flight = snapshot.flights.at(i);
        const int rank = selectedId && flight.id == *selectedId  ? 3
                         : flight.eventAttending.value_or(false) ? 2
                         : liveIdentified(flight, live)          ? 1
                                                                 : 0;
        ranks[rank].append(i);
    }
    QList<qsizetype> order;
    order.reserve(snapshot.flights.size());
    for (const QList<qsizetype> &rank : ranks)
        order.append(rank);
    return order;
}

double zoom(double mapWidth, double longitudeSpan)
{
    return std::log2(mapWidth * 360 / (std::max(longitudeSpan, 0.0001) * 512));
}

MapRegion selectionRegion(const LiveFlight &flight, const MapRegion &region)
{
    return {MapMath::clampLatitude(flight.latitude - 0.12 * region.latitudeSpan), flight.longitude,
            region.latitudeSpan, region.longitudeSpan};
}

} // namespace LiveMapRules
