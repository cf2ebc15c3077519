#pragma once

#include <QColor>
#include <QObject>
#include <QQmlEngine>
#include <QQuickPaintedItem>

// The marker colours for views (the live legend, the badge).
class PlanePalette : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(PlaneColors)
    QML_SINGLETON
    Q_PROPERTY(QColor ink READ ink CONSTANT)
    Q_PROPERTY(QColor selected READ selected CONSTANT)
    Q_PROPERTY(QColor event READ event CONSTANT)
    Q_PROPERTY(QColor live READ live CONSTANT)

public:
    using QObject::QObject;

    QColor ink() const;
    QColor selected() const;
    QColor event() const;
    QColor live() const;
};

// The aircraft silhouette on its own, unrotated, filled and outlined: the live legend's symbol.
class PlaneSilhouette : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor fill READ fill WRITE setFill NOTIFY lookChanged)
    Q_PROPERTY(QColor outline READ outline WRITE setOutline NOTIFY lookChanged)
    Q_PROPERTY(double outlineWidth READ outlineWidth WRITE setOutlineWidth NOTIFY lookChanged)

public:
    explicit PlaneSilhouette(QQuickItem *parent = nullptr);

    QColor fill() const { return m_fill; }
    void setFill(const QColor &color);
    QColor outline() const { return m_outline; }
    void setOutline(const QColor &color);
    double outlineWidth() const { return m_outlineWidth; }
    void setOutlineWidth(double width);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void lookChanged();

private:
    QColor m_fill;
    QColor m_outline;
    double m_outlineWidth = 0;
};
