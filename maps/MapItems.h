#pragma once

#include "MapMath.h"

#include <QColor>
#include <QGeoCoordinate>
#include <QList>
#include <QQuickItem>
#include <QQuickPaintedItem>

class MapView;

// What a map's content item tells the map: the coordinates it covers (for the automatic position) and
// where to stand after the camera moved.
class MapContent
{
public:
    virtual ~MapContent() = default;
    virtual QList<QGeoCoordinate> coordinates() const = 0;
    virtual void place(const MapView &map) = 0;
};

// An item standing on a coordinate; its own children are what shows (a balloon, a label). `anchorPoint` is
// the point of the item, as fractions of its size, that lies on the coordinate.
class MapAnnotation : public QQuickItem, public MapContent
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QGeoCoordinate coordinate READ coordinate WRITE setCoordinate NOTIFY coordinateChanged)
    Q_PROPERTY(QPointF anchorPoint READ anchorPoint WRITE setAnchorPoint NOTIFY anchorPointChanged)

public:
    explicit MapAnnotation(QQuickItem *parent = nullptr);

    QGeoCoordinate coordinate() const { return m_coordinate; }
    void setCoordinate(const QGeoCoordinate &coordinate);
    QPointF anchorPoint() const { return m_anchor; }
    void setAnchorPoint(QPointF anchor);

    QList<QGeoCoordinate> coordinates() const override;
    void place(const MapView &map) override;

signals:
    void coordinateChanged();
    void anchorPointChanged();

protected:
    void geometryChange(const QRectF &now, const QRectF &before) override;

private:
    QGeoCoordinate m_coordinate;
    QPointF m_anchor{0.5, 0.5};
};

// A line through coordinates, by default along great circles, split where it crosses the 180° meridian.
// Stroke as Core Graphics strokes: width, caps, joins, miter limit and a dash pattern of lengths in points.
// The item covers the part of the map's view that its stroke reaches, nothing when the line is out of view.
class MapPolyline : public QQuickPaintedItem, public MapContent
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QList<QGeoCoordinate> path READ path WRITE setPath NOTIFY pathChanged)
    Q_PROPERTY(bool geodesic READ geodesic WRITE setGeodesic NOTIFY pathChanged)
    Q_PROPERTY(QColor color MEMBER m_color WRITE setColor NOTIFY strokeChanged)
    Q_PROPERTY(double lineWidth MEMBER m_lineWidth WRITE setLineWidth NOTIFY strokeChanged)
    Q_PROPERTY(Qt::PenCapStyle capStyle MEMBER m_cap WRITE setCapStyle NOTIFY strokeChanged)
    Q_PROPERTY(Qt::PenJoinStyle joinStyle MEMBER m_join WRITE setJoinStyle NOTIFY strokeChanged)
    Q_PROPERTY(double miterLimit MEMBER m_miterLimit WRITE setMiterLimit NOTIFY strokeChanged)
    Q_PROPERTY(QList<double> dashPattern MEMBER m_dashes WRITE setDashPattern NOTIFY strokeChanged)
    Q_PROPERTY(double dashPhase MEMBER m_dashPhase WRITE setDashPhase NOTIFY strokeChanged)

public:
    explicit MapPolyline(QQuickItem *parent = nullptr);

    QList<QGeoCoordinate> path() const { return m_path; }
    void setPath(const QList<QGeoCoordinate> &path);
    bool geodesic() const { return m_geodesic; }
    void setGeodesic(bool geodesic);
    void setColor(const QColor &color);
    void setLineWidth(double width);
    void setCapStyle(Qt::PenCapStyle cap);
    void setJoinStyle(Qt::PenJoinStyle join);
    void setMiterLimit(double limit);
    void setDashPattern(const QList<double> &dashes);
    void setDashPhase(double phase);

    // The pieces as drawn: densified, each within [-180, 180] of longitude.
    const QList<QList<QGeoCoordinate>> &pieces() const { return m_pieces; }

    QList<QGeoCoordinate> coordinates() const override;
    void place(const MapView &map) override;
    void paint(QPainter *painter) override;

signals:
    void pathChanged();
    void strokeChanged();

private:
    void rebuild();
    void restroke();
    // How far the stroke reaches from the line, in points.
    double strokeReach() const;

    QList<QGeoCoordinate> m_path;
    bool m_geodesic = true;
    QColor m_color = Qt::black;
    double m_lineWidth = 1;
    Qt::PenCapStyle m_cap = Qt::FlatCap;
    Qt::PenJoinStyle m_join = Qt::MiterJoin;
    double m_miterLimit = 10;
    QList<double> m_dashes;
    double m_dashPhase = 0;
    QList<QList<QGeoCoordinate>> m_pieces;
    // Pieces in world points.
    QList<QPolygonF> m_world;
    MapFrame m_frame;
    // The size of the map's view, which the frame centres on.
    QSizeF m_viewport;
};
