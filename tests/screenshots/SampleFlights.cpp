#include "SampleFlights.h"

#include "LiveMapRules.h"
#include "MemberStore.h"
#include "PlaneMarker.h"
#include "SampleSwitches.h"

#include <QColor>

#include <algorithm>

namespace {

// The member whose map the screens show.
const QString member = QStringLiteral("lichen");

std::optional<LiveResponse> snapshot(bool saved)
{
    Sample::Service *service = SampleSwitches::service();
    if (!service)
        return std::nullopt;
    const Sample::MemberStore store(*service);
    return LiveResponse::fromJson(store.liveSnapshot(member, saved));
}

std::optional<PlanResponse> planOf(const QString &id)
{
    Sample::Service *service = SampleSwitches::service();
    const std::optional<LiveResponse> live = snapshot(false);
    if (!service || !live)
        return std::nullopt;
    for (const LiveFlight &flight : live->flights) {
        if (flight.id == id && flight.sessionId && flight.flightId) {
            const auto json = Sample::MemberStore(*service).plan(*flight.sessionId, *flight.flightId);
            return json ? std::optional(PlanResponse::fromJson(*json)) : std::nullopt;
        }
    }
    return std::nullopt;
}

// A list of coordinates as QML takes it for a line's path.
QVariantList path(const std::optional<QList<FlightPoint>> &points)
{
    QVariantList coordinates;
    for (const FlightPoint &point : points.value_or(QList<FlightPoint>()))
        coordinates.append(QVariant::fromValue(QGeoCoordinate(point.latitude, point.longitude)));
    return coordinates;
}

} // namespace

LiveFlightList SampleFlights::flights(bool saved) const
{
    const std::optional<LiveResponse> live = snapshot(saved);
    return {live ? live->flights : QList<LiveFlight>()};
}

LiveFlightList SampleFlights::pick(const QStringList &ids) const
{
    LiveFlightList picked;
    for (const QString &id : ids) {
        if (const LiveFlightValue found = flight(id); found.flight)
            picked.flights.append(*found.flight);
    }
    return picked;
}

LiveFlightValue SampleFlights::flight(const QString &id) const
{
    for (const LiveFlight &flight : flights(false).flights) {
        if (flight.id == id)
            return {flight};
    }
    return {};
}

FlightPlanValue SampleFlights::plan(const QString &id) const { return {planOf(id)}; }

int SampleFlights::liveCount(bool saved) const { return LiveMapRules::liveCount(snapshot(saved)); }

QString SampleFlights::status(bool saved) const
{
    const std::optional<LiveResponse> live = snapshot(saved);
    return live ? live->status.value_or(QString()) : QString();
}

QString SampleFlights::updatedAt(bool saved) const
{
    const std::optional<LiveResponse> live = snapshot(saved);
    return live ? live->updatedAt.value_or(QString()) : QString();
}

QVariantList SampleFlights::markers(bool saved, const QString &selectedId) const
{
    const std::optional<LiveResponse> live = snapshot(saved);
    QVariantList markers;
    if (!live)
        return markers;
    // Stacked as the map stacks them: the selection above event flights, those above live ones.
    QList<LiveFlight> flights = live->flights;
    const auto rank = [&](const LiveFlight &flight) {
        return flight.id == selectedId                                               ? 3
               : flight.eventAttending == true                                       ? 2
               : LiveMapRules::liveIdentified(flight, LiveMapRules::connected(live)) ? 1
                                                                                     : 0;
    };
    std::stable_sort(flights.begin(), flights.end(),
                     [&](const LiveFlight &a, const LiveFlight &b) { return rank(a) < rank(b); });
    for (const LiveFlight &flight : std::as_const(flights)) {
        const PlaneMarker::Colors colors =
            PlaneMarker::colors(flight.id == selectedId, flight.eventAttending == true,
                                LiveMapRules::liveIdentified(flight, LiveMapRules::connected(live)));
        markers.append(QVariantMap{{"latitude", flight.latitude},
                                   {"longitude", flight.longitude},
                                   {"heading", flight.heading.value_or(0)},
                                   {"size", 30},
                                   {"fill", QColor::fromRgba(colors.fill).name()},
                                   {"outline", QColor::fromRgba(colors.outline).name()}});
    }
    return markers;
}

QVariantList SampleFlights::planPath(const QString &id) const
{
    const std::optional<PlanResponse> plan = planOf(id);
    return plan ? path(plan->points) : QVariantList();
}

QVariantList SampleFlights::flownPath(const QString &id) const
{
    const std::optional<PlanResponse> plan = planOf(id);
    return plan ? path(plan->route) : QVariantList();
}
