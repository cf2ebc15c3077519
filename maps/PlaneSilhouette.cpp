#include "PlaneSilhouette.h"

#include "PlaneMarker.h"

#include <QPainter>

QColor PlanePalette::ink() const { return QColor::fromRgba(PlaneColors::ink); }
QColor PlanePalette::selected() const { return QColor::fromRgba(PlaneColors::selected); }
QColor PlanePalette::event() const { return QColor::fromRgba(PlaneColors::event); }
QColor PlanePalette::live() const { return QColor::fromRgba(PlaneColors::live); }

PlaneSilhouette::PlaneSilhouette(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void PlaneSilhouette::setFill(const QColor &color)
{
    if (m_fill == color)
        return;
    m_fill = color;
    Q_EMIT lookChanged();
    update();
}

void PlaneSilhouette::setOutline(const QColor &color)
{
    if (m_outline == color)
        return;
    m_outline = color;
    Q_EMIT lookChanged();
    update();
}

void PlaneSilhouette::setOutlineWidth(double width)
{
    if (m_outlineWidth == width)
        return;
    m_outlineWidth = width;
    Q_EMIT lookChanged();
    update();
}

void PlaneSilhouette::paint(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = PlaneShape::path(QRectF(QPointF(0, 0), size()));
    painter->fillPath(path, m_fill);
    if (m_outlineWidth > 0) {
        QPen pen(m_outline, m_outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter->strokePath(path, pen);
    }
}
