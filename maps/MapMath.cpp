#include "MapMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace MapMath {

double clampLatitude(double latitude) { return std::clamp(latitude, -maxLatitude, maxLatitude); }

double wrapLongitude(double longitude)
{
    const double wrapped = std::fmod(longitude + 180.0, 360.0);
    return (wrapped < 0 ? wrapped + 360.0 : wrapped) - 180.0;
}

QPointF project(double latitude, double longitude)
{
    const double s = std::sin(clampLatitude(latitude) * std::numbers::pi / 180.0);
    return {(longitude + 180.0) / 360.0, 0.5 - std::log((1 + s) / (1 - s)) / (4 * std::numbers::pi)};
}

QGeoCoordinate unproject(QPointF world)
{
    const double y = std::clamp(world.y(), 0.0, 1.0);
    const double latitude = std::atan(std::sinh(std::numbers::pi * (1 - 2 * y))) * 180.0 / std::numbers::pi;
    return {latitude, wrapLongitude(world.x() * 360.0 - 180.0)};
}

double worldSize(double zoom) { return tileSize * std::exp2(zoom); }

double zoomForDistance(double distance, double latitude, double viewHeight)
{
    const double metresPerPixel = std::max(distance, 1.0) / std::max(viewHeight, 1.0);
    return std::log2(equator * std::cos(clampLatitude(latitude) * std::numbers::pi / 180.0)
                     / (tileSize * metresPerPixel));
}

double distanceForZoom(double zoom, double latitude, double viewHeight)
{
    return equator * std::cos(clampLatitude(latitude) * std::numbers::pi / 180.0) / worldSize(zoom)
           * std::max(viewHeight, 1.0);
}

MapRegion regionFor(QPointF centre, double zoom, QSizeF size)
{
    const double world = worldSize(zoom);
    const QGeoCoordinate middle = unproject(centre);
    const double top = unproject({0, centre.y() - size.height() / 2 / world}).latitude();
    const double bottom = unproject({0, centre.y() + size.height() / 2 / world}).latitude();
    return {middle.latitude(), middle.longitude(), top - bottom, size.width() / world * 360.0};
}

double zoomForRegion(const MapRegion &region, QSizeF size)
{
    // The height, in world points, of the band centred on the region's centre that spans its latitudes:
    // the inverse of regionFor, so a region the map reported shows again at the same zoom.
    const double centreY = project(region.latitude, 0).y();
    const auto span = [&](double height) {
        return unproject({0, centreY - height / 2}).latitude()
               - unproject({0, centreY + height / 2}).latitude();
    };
    double low = 0;
    double high = 2;
    for (int i = 0; i < 60; ++i) {
        const double middle = (low + high) / 2;
        (span(middle) < region.latitudeSpan ? low : high) = middle;
    }
    const double width = std::max(region.longitudeSpan, 1e-9) / 360.0;
    return std::log2(std::min(size.width() / width, size.height() / std::max(high, 1e-12)) / tileSize);
}

std::optional<MapRegion> enclosingRegion(const QList<QGeoCoordinate> &coordinates)
{
    if (coordinates.isEmpty())
        return std::nullopt;
    std::vector<double> longitudes;
    double north = -90;
    double south = 90;
    for (const QGeoCoordinate &c : coordinates) {
        longitudes.push_back(wrapLongitude(c.longitude()));
        north = std::max(north, c.latitude());
        south = std::min(south, c.latitude());
    }
    std::sort(longitudes.begin(), longitudes.end());
    // The widest gap between neighbours (the last one wrapping to the first) is what the region leaves out.
    double gap = longitudes.front() + 360.0 - longitudes.back();
    double west = longitudes.front();
    for (size_t i = 1; i < longitudes.size(); ++i) {
        if (longitudes[i] - longitudes[i - 1] > gap) {
            gap = longitudes[i] - longitudes[i - 1];
            west = longitudes[i];
        }
    }
    const double span = 360.0 - gap;
    return MapRegion{(north + south) / 2, wrapLongitude(west + span / 2), north - south, span};
}

double nearestCopy(double x, double reference) { return x + std::round(reference - x); }

} // namespace MapMath
