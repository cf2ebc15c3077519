#include "MapCamera.h"

#include <algorithm>
#include <cmath>

namespace {

QPointF middleOf(QSizeF size) { return QPointF(size.width() / 2, size.height() / 2); }

} // namespace

double MapCamera::worldSize() const { return MapMath::worldSize(zoom); }

MapFrame MapCamera::frame() const { return {centre, worldSize()}; }

QGeoCoordinate MapCamera::coordinate() const { return MapMath::unproject(centre); }

double MapCamera::distance(double viewHeight) const
{
    return MapMath::distanceForZoom(zoom, coordinate().latitude(), viewHeight);
}

MapRegion MapCamera::region(QSizeF size) const { return MapMath::regionFor(centre, zoom, size); }

QGeoCoordinate MapCamera::coordinateAt(QPointF point, QSizeF size) const
{
    return MapMath::unproject(frame().worldAt(point, size));
}

QPointF MapCamera::itemPoint(QPointF world, QSizeF size) const { return frame().itemPoint(world, size); }

MapCamera MapCamera::panned(QPointF delta) const { return {centre - delta / worldSize(), zoom}; }

MapCamera MapCamera::zoomedAround(QPointF point, double level, QSizeF size) const
{
    const QPointF offset = point - middleOf(size);
    const QPointF under = centre + offset / worldSize();
    return {under - offset / MapMath::worldSize(level), level};
}

MapCamera MapCamera::wrapped() const { return {{centre.x() - std::floor(centre.x()), centre.y()}, zoom}; }

std::optional<MapCamera> MapCamera::framing(const QRectF &world, QSizeF size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return std::nullopt;
    const double w = std::max(world.width(), 1e-12);
    const double h = std::max(world.height(), 1e-12);
    return MapCamera{world.center(),
                     std::log2(std::min(size.width() / w, size.height() / h) / MapMath::tileSize)};
}
