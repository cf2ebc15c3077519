#pragma once

#include <QGeoCoordinate>
#include <QList>

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

} // namespace Geodesy
