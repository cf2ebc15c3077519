#pragma once

#include <QQmlEngine>
#include <QQuickPaintedItem>

// The hero gradient, slate to night from the top-leading to the bottom-trailing corner, in a rounded
// rectangle.
class HeroBackground : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit HeroBackground(QQuickItem *parent = nullptr);

    double radius() const { return m_radius; }
    void setRadius(double radius);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void radiusChanged();

private:
    double m_radius = 0;
};
