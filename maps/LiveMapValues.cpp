#include "LiveMapValues.h"

namespace {

QList<QGeoCoordinate> coordinates(const std::optional<QList<FlightPoint>> &points)
{
    QList<QGeoCoordinate> path;
    if (!points)
        return path;
    path.reserve(points->size());
    for (const FlightPoint &point : *points)
        path.append(QGeoCoordinate(point.latitude, point.longitude));
    return path;
}

} // namespace

QGeoCoordinate LiveFlightValue::coordinate() const
{
    return flight ? QGeoCoordinate(flight->latitude, flight->longitude) : QGeoCoordinate();
}

QList<QGeoCoordinate> FlightPlanValue::points() const
{
    return plan ? coordinates(plan->points) : QList<QGeoCoordinate>();
}

QList<QGeoCoordinate> FlightPlanValue::route() const
{
    return plan ? coordinates(plan->route) : QList<QGeoCoordinate>();
}

QStringList FlightPlanValue::pointNames() const
{
    QStringList names;
    if (plan && plan->points) {
        for (const FlightPoint &point : *plan->points)
            names.append(point.name.value_or(QString()));
    }
    return names;
}
