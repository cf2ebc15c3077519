#include "MapCompass.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <numbers>

MapCompass::MapCompass(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setObjectName(QStringLiteral("compass"));
    setSize({side, side});
    setAntialiasing(true);
    // Above the lines, markers and annotations.
    setZ(3);
}

void MapCompass::setDark(bool dark)
{
    if (m_dark == dark)
        return;
    m_dark = dark;
    update();
}

void MapCompass::paint(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QPointF middle(side / 2, side / 2);
    const double radius = side / 2 - 1;
    // The dial: a translucent control material, a hairline edge.
    painter->setPen(QPen(m_dark ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 30), 1));
    painter->setBrush(m_dark ? QColor(44, 44, 46, 235) : QColor(255, 255, 255, 235));
    painter->drawEllipse(middle, radius, radius);

    // Ticks every 30°, the one at north left out for the letter.
    const QColor tick = m_dark ? QColor(235, 235, 245, 110) : QColor(60, 60, 67, 110);
    painter->setPen(QPen(tick, 1, Qt::SolidLine, Qt::RoundCap));
    for (int degrees = 30; degrees < 360; degrees += 30) {
        const double a = degrees * std::numbers::pi / 180;
        const QPointF direction(std::sin(a), -std::cos(a));
        painter->drawLine(middle + direction * (radius - 4.5), middle + direction * (radius - 2));
    }

    QFont font = painter->font();
    font.setPixelSize(9);
    font.setWeight(QFont::Bold);
    painter->setFont(font);
    painter->setPen(m_dark ? QColor(255, 255, 255) : QColor(28, 28, 30));
    painter->drawText(QRectF(0, 1.5, side, 10), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("N"));

    // The needle: red towards north, grey towards south.
    const double half = 4.5;
    QPainterPath north;
    north.moveTo(middle.x(), 11.5);
    north.lineTo(middle.x() + half, middle.y());
    north.lineTo(middle.x() - half, middle.y());
    north.closeSubpath();
    QPainterPath south;
    south.moveTo(middle.x(), side - 8.5);
    south.lineTo(middle.x() - half, middle.y());
    south.lineTo(middle.x() + half, middle.y());
    south.closeSubpath();
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 59, 48));
    painter->drawPath(north);
    painter->setBrush(m_dark ? QColor(142, 142, 147) : QColor(174, 174, 178));
    painter->drawPath(south);
}
