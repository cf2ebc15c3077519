#pragma once

#include <QGeoCoordinate>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QQmlEngine>
#include <QRectF>
#include <QSizeF>

// A coordinate region as the map reports it: its centre and its spans, in degrees.
struct MapRegion
{
    Q_GADGET
    QML_VALUE_TYPE(mapRegion)
    Q_PROPERTY(double latitude MEMBER latitude)
    Q_PROPERTY(double longitude MEMBER longitude)
    Q_PROPERTY(double latitudeSpan MEMBER latitudeSpan)
    Q_PROPERTY(double longitudeSpan MEMBER longitudeSpan)

public:
    double latitude = 0;
    double longitude = 0;
    double latitudeSpan = 0;
    double longitudeSpan = 0;

    friend bool operator==(const MapRegion &, const MapRegion &) = default;
};

// The camera as a layer covering the map draws for it: the world point in the middle and the world's width
// in pixels.
struct MapFrame
{
    QPointF centre;
    double worldSize = 0;

    // Where a world point stands in an item of that size with this camera in its middle, by the copy of the
    // world nearest the centre; and the world point under a point of the item.
    QPointF itemPoint(QPointF world, QSizeF size) const;
    QPointF worldAt(QPointF point, QSizeF size) const;
};

// Web-Mercator, north up. A world point is the unit square: x from 0 at 180° W eastwards, y from 0 at the
// northern limit southwards. x outside 0..1 is the same place one world further (longitude wraps); only
// what is shown or reported is wrapped.
namespace MapMath {

inline constexpr double maxLatitude = 85.05112877980659;
inline constexpr double tileSize = 256;
// The equator's length on the WGS 84 ellipsoid, in metres.
inline constexpr double equator = 40075016.68557849;

double clampLatitude(double latitude);
// Into [-180, 180).
double wrapLongitude(double longitude);
QPointF project(double latitude, double longitude);
QGeoCoordinate unproject(QPointF world);

// Width of the world in pixels at a zoom level: 256 * 2^zoom.
double worldSize(double zoom);

// The one rule between camera distance and zoom: the view's height spans `distance` metres of ground at
// the centre's latitude.
double zoomForDistance(double distance, double latitude, double viewHeight);
double distanceForZoom(double zoom, double latitude, double viewHeight);

// The region a view of `size` shows around `centre` (a world point) at `zoom`; latitudes end at the
// projection's limits, the longitude span may pass 360 when the world repeats.
MapRegion regionFor(QPointF centre, double zoom, QSizeF size);
// The largest zoom at which `size` shows the region's spans around its centre; the inverse of regionFor.
double zoomForRegion(const MapRegion &region, QSizeF size);

// The smallest region holding every coordinate, going the short way around: a group on both sides of the
// 180° meridian is framed across it, not across the whole world. Empty input gives nothing.
std::optional<MapRegion> enclosingRegion(const QList<QGeoCoordinate> &coordinates);

// The copy of world x, one world apart from the others, that lies nearest `reference`.
double nearestCopy(double x, double reference);

} // namespace MapMath

// Inline: the marker layer places every marker through them at each frame.
inline QPointF MapFrame::itemPoint(QPointF world, QSizeF size) const
{
    world.setX(MapMath::nearestCopy(world.x(), centre.x()));
    return (world - centre) * worldSize + QPointF(size.width() / 2, size.height() / 2);
}

inline QPointF MapFrame::worldAt(QPointF point, QSizeF size) const
{
    return centre + (point - QPointF(size.width() / 2, size.height() / 2)) / worldSize;
}
