#include "HeroBackground.h"

#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

HeroBackground::HeroBackground(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void HeroBackground::setRadius(double radius)
{
    if (m_radius == radius)
        return;
    m_radius = radius;
    Q_EMIT radiusChanged();
    update();
}

void HeroBackground::paint(QPainter *painter)
{
    const QRectF rect(QPointF(0, 0), size());
    QPainterPath shape;
    shape.addRoundedRect(rect, m_radius, m_radius);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(shape, Palette::hero(rect));
}
