#include "PlaneMarker.h"

#include <algorithm>

namespace {

QPainterPath designPath()
{
    QPainterPath p;
    p.moveTo(24, 2.5);
    p.cubicTo(26.3, 4.6, 26.7, 8.2, 26.7, 12);
    p.lineTo(26.7, 17.6);
    p.lineTo(44.3, 29.3);
    p.quadTo(45.6, 31.6, 43.5, 31.7);
    p.lineTo(26.7, 27.4);
    p.lineTo(26.2, 37.4);
    p.lineTo(32.8, 41.5);
    p.quadTo(33.9, 43.5, 32.2, 43.5);
    p.lineTo(25.3, 42.1);
    p.quadTo(24.9, 45, 24, 45.6);
    p.quadTo(23.1, 45, 22.7, 42.1);
    p.lineTo(15.8, 43.5);
    p.quadTo(14.1, 43.5, 15.2, 41.5);
    p.lineTo(21.8, 37.4);
    p.lineTo(21.3, 27.4);
    p.lineTo(4.5, 31.7);
    p.quadTo(2.4, 31.6, 3.7, 29.3);
    p.lineTo(21.3, 17.6);
    p.lineTo(21.3, 12);
    p.cubicTo(21.3, 8.2, 21.7, 4.6, 24, 2.5);
    p.closeSubpath();
    p.setFillRule(Qt::WindingFill);
    return p;
}

} // namespace

QPainterPath PlaneShape::path(const QRectF &rect)
{
    static const QPainterPath design = designPath();
    QTransform toRect;
    toRect.translate(rect.left(), rect.top());
    toRect.scale(rect.width() / 48, rect.height() / 48);
    return toRect.map(design);
}

PlaneMarker::Colors PlaneMarker::colors(bool selected, bool eventAttending, bool live)
{
    constexpr QRgb white = 0xffffffff;
    if (selected)
        return {PlaneColors::selected, PlaneColors::ink};
    if (eventAttending)
        return {PlaneColors::event, white};
    if (live)
        return {PlaneColors::live, PlaneColors::ink};
    return {PlaneColors::ink, white};
}

double PlaneMarker::outlineWidth(double size) { return std::max(size * 1.4 / 48, 1.0); }
