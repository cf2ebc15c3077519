#pragma once

#include <QColor>
#include <QQmlEngine>
#include <QQuickPaintedItem>

// The bar with an arrow head between two airports, filled in one colour.
class RouteArrow : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit RouteArrow(QQuickItem *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void colorChanged();

private:
    QColor m_color;
};
