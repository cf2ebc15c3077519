#include "MapItems.h"

#include "Geodesy.h"
#include "MapView.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

MapView *mapOf(const QQuickItem *item) { return qobject_cast<MapView *>(item->parentItem()); }

} // namespace

MapAnnotation::MapAnnotation(QQuickItem *parent)
    : QQuickItem(parent)
{
    // Whatever order the content is declared in, annotations lie above markers and lines.
    setZ(2);
}

void MapAnnotation::setCoordinate(const QGeoCoordinate &coordinate)
{
    if (m_coordinate == coordinate)
        return;
    m_coordinate = coordinate;
    if (MapView *map = mapOf(this))
        map->contentChanged();
    emit coordinateChanged();
}

void MapAnnotation::setAnchorPoint(QPointF anchor)
{
    if (m_anchor == anchor)
        return;
    m_anchor = anchor;
    if (MapView *map = mapOf(this))
        place(*map);
    emit anchorPointChanged();
}

QList<QGeoCoordinate> MapAnnotation::coordinates() const
{
    return m_coordinate.isValid() ? QList{m_coordinate} : QList<QGeoCoordinate>{};
}

void MapAnnotation::place(const MapView &map)
{
    const QPointF at = map.pointAt(m_coordinate);
    setPosition(at - QPointF(m_anchor.x() * width(), m_anchor.y() * height()));
}

void MapAnnotation::geometryChange(const QRectF &now, const QRectF &before)
{
    QQuickItem::geometryChange(now, before);
    if (now.size() != before.size()) {
        if (MapView *map = mapOf(this))
            place(*map);
    }
}

MapPolyline::MapPolyline(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void MapPolyline::setPath(const QList<QGeoCoordinate> &path)
{
    if (m_path == path)
        return;
    m_path = path;
    rebuild();
    emit pathChanged();
}

void MapPolyline::setGeodesic(bool geodesic)
{
    if (m_geodesic == geodesic)
        return;
    m_geodesic = geodesic;
    rebuild();
    emit pathChanged();
}

void MapPolyline::rebuild()
{
    QList<QGeoCoordinate> line = m_path;
    if (!m_geodesic) {
        // A straight line on the map still takes the short way across the 180° meridian.
        for (qsizetype i = 1; i < line.size(); ++i) {
            const double previous = line.at(i - 1).longitude();
            line[i].setLongitude(previous + std::remainder(line.at(i).longitude() - previous, 360.0));
        }
    }
    m_pieces = line.size() < 2 ? QList<QList<QGeoCoordinate>>{}
                               : Geodesy::splitAtAntimeridian(m_geodesic ? Geodesy::densify(line) : line);
    m_world.clear();
    for (const QList<QGeoCoordinate> &piece : std::as_const(m_pieces)) {
        QPolygonF points;
        for (const QGeoCoordinate &c : piece)
            points.append(MapMath::project(c.latitude(), c.longitude()));
        m_world.append(points);
    }
    if (MapView *map = mapOf(this))
        map->contentChanged();
    update();
}

#define STROKE_SETTER(name, type, member)                                                                    \
    void MapPolyline::name(type value)                                                                       \
    {                                                                                                        \
        if (member == value)                                                                                 \
            return;                                                                                          \
        member = value;                                                                                      \
        restroke();                                                                                          \
    }
STROKE_SETTER(setColor, const QColor &, m_color)
STROKE_SETTER(setLineWidth, double, m_lineWidth)
STROKE_SETTER(setCapStyle, Qt::PenCapStyle, m_cap)
STROKE_SETTER(setJoinStyle, Qt::PenJoinStyle, m_join)
STROKE_SETTER(setMiterLimit, double, m_miterLimit)
STROKE_SETTER(setDashPattern, const QList<double> &, m_dashes)
STROKE_SETTER(setDashPhase, double, m_dashPhase)
#undef STROKE_SETTER

void MapPolyline::restroke()
{
    update();
    emit strokeChanged();
}

QList<QGeoCoordinate> MapPolyline::coordinates() const
{
    QList<QGeoCoordinate> all;
    for (const QList<QGeoCoordinate> &piece : m_pieces)
        all += piece;
    return all;
}

void MapPolyline::place(const MapView &map)
{
    m_frame = map.cover(this);
    update();
}

void MapPolyline::paint(QPainter *painter)
{
    if (m_world.isEmpty() || m_frame.worldSize <= 0)
        return;
    QPen pen(m_color, m_lineWidth, Qt::SolidLine, m_cap, m_join);
    pen.setMiterLimit(m_miterLimit);
    if (!m_dashes.isEmpty() && m_lineWidth > 0) {
        // Qt counts dashes in line widths, Core Graphics in points.
        QList<qreal> dashes;
        for (double d : std::as_const(m_dashes))
            dashes.append(d / m_lineWidth);
        if (dashes.size() % 2)
            dashes += dashes;
        pen.setDashPattern(dashes);
        pen.setDashOffset(m_dashPhase / m_lineWidth);
    }
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen);
    const QPointF middle(width() / 2, height() / 2);
    const double left = m_frame.centre.x() - middle.x() / m_frame.worldSize;
    const double right = m_frame.centre.x() + middle.x() / m_frame.worldSize;
    for (const QPolygonF &piece : std::as_const(m_world)) {
        const QRectF bounds = piece.boundingRect();
        // Every copy of the world in view draws the piece, so the line runs on across the seam.
        for (int copy = int(std::floor(left - bounds.right())); copy <= int(std::ceil(right - bounds.left()));
             ++copy) {
            QPainterPath path;
            for (qsizetype i = 0; i < piece.size(); ++i) {
                const QPointF p =
                    (piece.at(i) + QPointF(copy, 0) - m_frame.centre) * m_frame.worldSize + middle;
                if (i == 0)
                    path.moveTo(p);
                else
                    path.lineTo(p);
            }
            painter->drawPath(path);
        }
    }
}
