#pragma once

#include "MapMath.h"

#include <QGeoCoordinate>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

// Where the map looks, north up: the world point in the middle of the view and the zoom level (the world
// is 256 × 2^zoom points wide). A value, with the maths between a view's points and the world's; the view's
// size is given to each that needs it. The map clamps and animates it; the camera itself keeps no limits.
struct MapCamera
{
    QPointF centre;
    double zoom = 0;

    // The world's width in points.
    double worldSize() const;
    // The camera as a layer covering the map draws for it.
    MapFrame frame() const;
    QGeoCoordinate coordinate() const;
    // The ground a view of this height spans, in metres, by the rule in MapMath.
    double distance(double viewHeight) const;
    // What a view of `size` shows, as the map reports it.
    MapRegion region(QSizeF size) const;

    // The coordinate under a point of a view of `size`.
    QGeoCoordinate coordinateAt(QPointF point, QSizeF size) const;
    // Where a world point lies in a view of `size`: the copy nearest the middle.
    QPointF itemPoint(QPointF world, QSizeF size) const;

    // The camera after a drag of `delta` view points: the world moves with the pointer.
    MapCamera panned(QPointF delta) const;
    // The camera at zoom `level` that keeps the world point under `point`, in a view of `size`, in its place.
    MapCamera zoomedAround(QPointF point, double level, QSizeF size) const;
    // The same view with the centre in the first world: its x in 0..1.
    MapCamera wrapped() const;
    // The camera whose view of `size` holds a rectangle of world points, centred on it; nothing for a view
    // without area.
    static std::optional<MapCamera> framing(const QRectF &world, QSizeF size);

    friend bool operator==(const MapCamera &, const MapCamera &) = default;
};
