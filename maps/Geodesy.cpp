#include "Geodesy.h"

#include "MapMath.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Geodesy {

double distance(const QGeoCoordinate &from, const QGeoCoordinate &to)
{
    double metres = 0;
    GeographicLib::Geodesic::WGS84().Inverse(from.latitude(), from.longitude(), to.latitude(), to.longitude(),
                                             metres);
    return metres;
}

QList<QGeoCoordinate> densify(const QList<QGeoCoordinate> &path, double step)
{
    const GeographicLib::Geodesic &earth = GeographicLib::Geodesic::WGS84();
    QList<QGeoCoordinate> out;
    if (path.isEmpty())
        return out;
    out.append(path.front());
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QGeoCoordinate &a = path.at(i - 1);
        const QGeoCoordinate &b = path.at(i);
        const GeographicLib::GeodesicLine line =
            earth.InverseLine(a.latitude(), a.longitude(), b.latitude(), b.longitude());
        const int steps = std::max(1, int(std::ceil(line.Distance() / std::max(step, 1.0))));
        // Unrolled longitudes continue from the previous point's, so the path runs on across ±180.
        const double start = out.back().longitude();
        for (int s = 1; s <= steps; ++s) {
            double latitude = 0;
            double longitude = 0;
            double unused = 0;
            line.GenPosition(false, line.Distance() * s / steps,
                             GeographicLib::Geodesic::LATITUDE | GeographicLib::Geodesic::LONGITUDE
                                 | GeographicLib::Geodesic::LONG_UNROLL,
                             latitude, longitude, unused, unused, unused, unused, unused, unused);
            QGeoCoordinate point(latitude, 0);
            point.setLongitude(start + longitude - line.Longitude());
            if (s == steps) {
                // The given point itself, in the world copy the line has reached.
                point.setLatitude(b.latitude());
                point.setLongitude(b.longitude()
                                   + 360.0 * std::round((point.longitude() - b.longitude()) / 360.0));
            }
            out.append(point);
        }
    }
    return out;
}

QList<QList<QGeoCoordinate>> splitAtAntimeridian(const QList<QGeoCoordinate> &path)
{
    QList<QList<QGeoCoordinate>> pieces;
    if (path.isEmpty())
        return pieces;
    // The world copy each point lies in; a change of copy between two points is a crossing.
    const auto copyOf = [](double longitude) { return std::floor((longitude + 180.0) / 360.0); };
    QList<QGeoCoordinate> piece;
    const auto wrapped = [](double latitude, double longitude, double copy) {
        QGeoCoordinate c(latitude, 0);
        c.setLongitude(longitude - copy * 360.0);
        return c;
    };
    double copy = copyOf(path.front().longitude());
    piece.append(wrapped(path.front().latitude(), path.front().longitude(), copy));
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QGeoCoordinate &a = path.at(i - 1);
        const QGeoCoordinate &b = path.at(i);
        const double next = copyOf(b.longitude());
        while (next != copy) {
            const double eastward = next > copy ? 1 : -1;
            const double meridian = (copy + (eastward > 0 ? 1 : 0)) * 360.0 - 180.0;
            const double t = (meridian - a.longitude()) / (b.longitude() - a.longitude());
            const double latitude = a.latitude() + t * (b.latitude() - a.latitude());
            piece.append(wrapped(latitude, meridian, copy));
            pieces.append(piece);
            copy += eastward;
            piece = {wrapped(latitude, meridian, copy)};
        }
        piece.append(wrapped(b.latitude(), b.longitude(), copy));
    }
    pieces.append(piece);
    return pieces;
}

namespace {

constexpr double radians = 0.017453292519943295;
constexpr double earthDiameterKm = 12742;
constexpr double arrivalKm = 0.1;
constexpr double arrivalKnots = 30;
// Short of arrival the estimate never claims the whole route.
constexpr double cap = 0.99;

// Into -180 … 180.
double wrap(double degrees) { return std::fmod(degrees + 540, 360) - 180; }

} // namespace

double haversineKm(const LatLon &from, const LatLon &to)
{
    const double p1 = from.latitude * radians, p2 = to.latitude * radians;
    const double dp = (to.latitude - from.latitude) * radians, dl = (to.longitude - from.longitude) * radians;
    const double a =
        std::pow(std::sin(dp / 2), 2) + std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    return earthDiameterKm * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0, 1 - a)));
}

std::optional<double> routeProgress(const LatLon &position, std::optional<double> groundSpeed,
                                    const QList<LatLon> &route)
{
    if (route.size() < 2)
        return std::nullopt;
    QList<double> lengths;
    lengths.reserve(route.size() - 1);
    double total = 0;
    for (qsizetype i = 1; i < route.size(); ++i) {
        lengths.append(haversineKm(route.at(i - 1), route.at(i)));
        total += lengths.last();
    }
    if (!(total > 0))
        return std::nullopt;

    // Degrees of latitude, and of longitude shrunk by the cosine of the aircraft's latitude.
    const double k = std::cos(position.latitude * radians);
    double best = std::numeric_limits<double>::infinity(), along = 0, before = 0;
    for (qsizetype i = 1; i < route.size(); ++i) {
        const LatLon &a = route.at(i - 1), &b = route.at(i);
        const double ax = k * wrap(a.longitude - position.longitude), ay = a.latitude - position.latitude;
        const double dx = k * wrap(b.longitude - a.longitude), dy = b.latitude - a.latitude;
        const double length2 = dx * dx + dy * dy;
        double t = 0;
        if (length2 > 0)
            t = std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0);
        const double x = ax + t * dx, y = ay + t * dy;
        const double distance2 = x * x + y * y;
        if (distance2 < best) {
            best = distance2;
            along = before + t * lengths.at(i - 1);
        }
        before += lengths.at(i - 1);
    }
    if (haversineKm(position, route.constLast()) < arrivalKm && groundSpeed && *groundSpeed < arrivalKnots)
        return 1.0;
    const double fraction = along / total;
    if (!(fraction > 0))
        return 0.0;
    return std::min(fraction, cap);
}

} // namespace Geodesy
