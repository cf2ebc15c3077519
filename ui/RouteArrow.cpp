#include "RouteArrow.h"

#include "ViewRules.h"

#include <QPainter>

RouteArrow::RouteArrow(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void RouteArrow::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    Q_EMIT colorChanged();
    update();
}

void RouteArrow::paint(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(ComponentRules::arrowOutline(QRectF(QPointF(0, 0), size())), m_color);
}
