#include "PanelSurface.h"

#include <QMouseEvent>
#include <QTouchEvent>
#include <QWheelEvent>

#include <algorithm>

PanelSurface::PanelSurface(QQuickItem *parent)
    : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptTouchEvents(true);
}

void PanelSurface::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    Q_EMIT radiusChanged();
}

bool PanelSurface::contains(const QPointF &point) const
{
    if (point.x() < 0 || point.y() < 0 || point.x() > width() || point.y() > height())
        return false;
    // Near a corner, only what lies within the quarter circle that rounds it.
    const qreal r = std::clamp(m_radius, qreal(0), std::min(width(), height()) / 2);
    const qreal dx = point.x() - std::clamp(point.x(), r, width() - r);
    const qreal dy = point.y() - std::clamp(point.y(), r, height() - r);
    return dx * dx + dy * dy <= r * r;
}

bool PanelSurface::event(QEvent *event)
{
    // A pinch or a swipe of a touchpad over the panel.
    if (event->type() == QEvent::NativeGesture) {
        event->accept();
        return true;
    }
    return QQuickItem::event(event);
}

void PanelSurface::mousePressEvent(QMouseEvent *event) { event->accept(); }

void PanelSurface::mouseMoveEvent(QMouseEvent *event) { event->accept(); }

void PanelSurface::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

void PanelSurface::mouseDoubleClickEvent(QMouseEvent *event) { event->accept(); }

void PanelSurface::touchEvent(QTouchEvent *event) { event->accept(); }

void PanelSurface::wheelEvent(QWheelEvent *event) { event->accept(); }
