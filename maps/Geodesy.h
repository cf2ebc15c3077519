#pragma once

#include <QGeoCoordinate>
#include <QList>

#include <optional>

// Distances and great circles on the WGS 84 ellipsoid (GeographicLib).
namespace Geodesy {

// Metres along the surface between two coordinates.
double distance(const QGeoCoordinate &from, const QGeoCoordinate &to);

// The great-circle path through `path`, densified so that no step is longer than `step` metres; every
// given point is kept. Longitudes run on continuously (may pass ±180) so the path never jumps.
QList<QGeoCoordinate> densify(const QList<QGeoCoordinate> &path, double step = 50000);

// Cuts a continuous path (as `densify` gives it) where it crosses the 180° meridian, ending one piece and
// starting the next on the meridian; longitudes of the pieces are wrapped into [-180, 180].
QList<QList<QGeoCoordinate>> splitAtAntimeridian(const QList<QGeoCoordinate> &path);

// A position in degrees, as the service gives it (unlike QGeoCoordinate, never made invalid by its range).
struct LatLon
{
    double latitude = 0;
    double longitude = 0;
};

// Kilometres along a sphere 12,742 km across (haversine): the route-progress estimate's measure.
double haversineKm(const LatLon &from, const LatLon &to);

// The route-progress estimate `progress(of:along:)`: the fraction of `route` (in flying order) flown at
// `position`, from 0 to 0.99, or exactly 1 when the aircraft stands within 0.1 km of the last point at
// under 30 knots. None for fewer than two points or a route of no length. The position goes onto the
// nearest segment (the first of equals) in a flat frame around it, good enough to find the segment.
std::optional<double> routeProgress(const LatLon &position, std::optional<double> groundSpeed,
                                    const QList<LatLon> &route);

} // namespace Geodesy
