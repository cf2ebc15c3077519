#include "PlaneItems.h"

#include "PlaneMarker.h"

#include <QPainter>

PlaneShapeItem::PlaneShapeItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_fill(QColor::fromRgba(PlaneColors::ink))
{
    setAntialiasing(true);
    connect(this, &PlaneShapeItem::appearanceChanged, this, [this] { update(); });
}

void PlaneShapeItem::setFill(const QColor &fill)
{
    if (m_fill == fill)
        return;
    m_fill = fill;
    Q_EMIT appearanceChanged();
}

void PlaneShapeItem::setOutline(const QColor &outline)
{
    if (m_outline == outline)
        return;
    m_outline = outline;
    Q_EMIT appearanceChanged();
}

void PlaneShapeItem::setLineWidth(double width)
{
    if (m_lineWidth == width)
        return;
    m_lineWidth = width;
    Q_EMIT appearanceChanged();
}

void PlaneShapeItem::setHeading(double heading)
{
    if (m_heading == heading)
        return;
    m_heading = heading;
    Q_EMIT appearanceChanged();
}

void PlaneShapeItem::paint(QPainter *painter)
{
    const double side = std::min(width(), height());
    if (side <= 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(width() / 2, height() / 2);
    painter->rotate(m_heading);
    const QPainterPath path = PlaneShape::path(QRectF(-side / 2, -side / 2, side, side));
    painter->fillPath(path, m_fill);
    if (m_lineWidth > 0 && m_outline.alpha() > 0) {
        QPen pen(m_outline, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setMiterLimit(10);
        painter->strokePath(path, pen);
    }
}

QColor PlaneColorsObject::ink() const { return QColor::fromRgba(PlaneColors::ink); }
QColor PlaneColorsObject::selected() const { return QColor::fromRgba(PlaneColors::selected); }
QColor PlaneColorsObject::eventColor() const { return QColor::fromRgba(PlaneColors::event); }
QColor PlaneColorsObject::live() const { return QColor::fromRgba(PlaneColors::live); }
