#include "MarkerPicture.h"

#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace MarkerDrawing {

void PicturePainter::paint(PictureOrder order)
{
    QElapsedTimer clock;
    clock.start();
    const double ratio = order.ratio;
    const QSize pixels(std::max(1, int(std::ceil(order.size.width() * ratio))),
                       std::max(1, int(std::ceil(order.size.height() * ratio))));
    QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    MapMarkerLayer::FrameStats stats;
    const MapFrame &frame = order.frame;
    if (frame.worldSize > 0 && !order.markers.empty()) {
        m_sprites.keep(ratio, order.cellSizes);
        QPainter painter(&picture);
        const QRectF canvas(QPointF(), order.size);
        const double left = order.centre.x() / frame.worldSize;
        const double right = (order.size.width() - order.centre.x()) / frame.worldSize;
        // On whole device pixels: a sprite is copied, never resampled.
        const auto snap = [ratio](double v) { return std::round(v * ratio) / ratio; };
        for (const MapMarkerLayer::Marker &m : order.markers) {
            const int halfPoints = order.cellSizes[size_t(m.cell)];
            const QImage &sprite = m_sprites.turned(halfPoints, m.fill, m.outline, m.heading);
            const double side = sprite.width() / ratio;
            // Every copy on the picture, where the world repeats.
            const double reach = side / frame.worldSize;
            const double first = std::ceil(frame.centre.x() - left - reach - m.world.x());
            const double last = std::floor(frame.centre.x() + right + reach - m.world.x());
            for (double k = first; k <= last; ++k) {
                const QPointF anchor =
                    (QPointF(m.world.x() + k, m.world.y()) - frame.centre) * frame.worldSize + order.centre;
                const QRectF placed(snap(anchor.x() - side / 2), snap(anchor.y() - side / 2), side, side);
                if (!canvas.intersects(placed))
                    continue;
                painter.drawImage(placed.topLeft(), sprite);
                ++stats.markers;
                stats.pixels += double(sprite.width()) * sprite.height();
            }
        }
    }
    stats.cellsDrawn = m_sprites.cellsDrawn();
    stats.paintMs = clock.nsecsElapsed() / 1e6;
    stats.pictures = ++m_pictures;
    order.markers = {};
    QMutexLocker lock(&m_lock);
    m_done = Picture{std::move(picture), std::move(order), stats};
}

std::optional<Picture> PicturePainter::take()
{
    QMutexLocker lock(&m_lock);
    return std::exchange(m_done, std::nullopt);
}

} // namespace MarkerDrawing
