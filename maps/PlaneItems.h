#pragma once

#include <QColor>
#include <QObject>
#include <QQmlEngine>
#include <QQuickPaintedItem>

// The aircraft silhouette as an item, for the views that draw one outside the map (the live legend of the
// header): filled and outlined, centred in a square of the item's smaller side, turned by `heading`.
class PlaneShapeItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_NAMED_ELEMENT(PlaneShape)
    Q_PROPERTY(QColor fill READ fill WRITE setFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor outline READ outline WRITE setOutline NOTIFY appearanceChanged)
    Q_PROPERTY(double lineWidth READ lineWidth WRITE setLineWidth NOTIFY appearanceChanged)
    Q_PROPERTY(double heading READ heading WRITE setHeading NOTIFY appearanceChanged)

public:
    explicit PlaneShapeItem(QQuickItem *parent = nullptr);

    QColor fill() const { return m_fill; }
    void setFill(const QColor &fill);
    QColor outline() const { return m_outline; }
    void setOutline(const QColor &outline);
    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double width);
    double heading() const { return m_heading; }
    void setHeading(double heading);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void appearanceChanged();

private:
    QColor m_fill;
    QColor m_outline = Qt::transparent;
    double m_lineWidth = 0;
    double m_heading = 0;
};

// The four marker colours for QML: PlaneColors.ink, .selected, .event, .live.
class PlaneColorsObject : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(PlaneColors)
    QML_SINGLETON
    Q_PROPERTY(QColor ink READ ink CONSTANT)
    Q_PROPERTY(QColor selected READ selected CONSTANT)
    Q_PROPERTY(QColor event READ eventColor CONSTANT)
    Q_PROPERTY(QColor live READ live CONSTANT)

public:
    using QObject::QObject;
    QColor ink() const;
    QColor selected() const;
    // Not event(): that is QObject's event handler.
    QColor eventColor() const;
    QColor live() const;
};
