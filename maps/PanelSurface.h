#pragma once

#include <QQmlEngine>
#include <QQuickItem>

// The surface of a panel that floats over a map: it takes every press, drag, wheel turn, touch and gesture
// that its controls leave, over its whole rounded rectangle, so that none of them reaches the map below.
// A click on an empty part of a panel neither deselects the map's flight nor closes the panel, and a drag or
// a wheel turn there neither pans nor zooms the map. Outside its rounded corners the map is reached as
// anywhere else.
class PanelSurface : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit PanelSurface(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    bool contains(const QPointF &point) const override;

Q_SIGNALS:
    void radiusChanged();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void touchEvent(QTouchEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    qreal m_radius = 0;
};
