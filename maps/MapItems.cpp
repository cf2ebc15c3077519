#include "MapItems.h"

#include "Geodesy.h"
#include "MapView.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

MapView *mapOf(const QQuickItem *item) { return qobject_cast<MapView *>(item->parentItem()); }

// Every copy of the world in a view of `viewport` points gets each piece, so a line runs on across the seam:
// `visit` receives each copy in the view's points.
template <typename Visit>
void visitCopies(const QList<QPolygonF> &world, const MapFrame &frame, QSizeF viewport, Visit visit)
{
    const QPointF middle(viewport.width() / 2, viewport.height() / 2);
    const double left = frame.centre.x() - middle.x() / frame.worldSize;
    const double right = frame.centre.x() + middle.x() / frame.worldSize;
    for (const QPolygonF &piece : world) {
        const QRectF bounds = piece.boundingRect();
        for (int copy = int(std::floor(left - bounds.right())); copy <= int(std::ceil(right - bounds.left()));
             ++copy) {
            QPolygonF points;
            points.reserve(piece.size());
            for (const QPointF &p : piece)
                points.append((p + QPointF(copy, 0) - frame.centre) * frame.worldSize + middle);
            visit(std::as_const(points));
        }
    }
}

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
    // A wider stroke reaches further from the line.
    if (MapView *map = mapOf(this))
        place(*map);
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

double MapPolyline::strokeReach() const
{
    // A miter may stick out up to its limit in line widths, a square cap half a width diagonally; one point
    // more holds the antialiased edge.
    const double width = std::max(m_lineWidth, 0.0);
    const double join = m_join == Qt::MiterJoin ? std::max(m_miterLimit, 1.0) * width : width;
    return std::max(join, width * M_SQRT1_2 + width / 2) + 1;
}

void MapPolyline::place(const MapView &map)
{
    m_frame = map.cover(this);
    m_viewport = size();
    // Only the part of the view that the line crosses is painted, and of that what shows in the window: a
    // picture of the whole map for every line would hold the map's size in pixels twice (the picture and
    // its texture) for each route, shown or scrolled away.
    const QRectF view = QRectF(QPointF(0, 0), m_viewport) & map.shownArea();
    QRectF drawn;
    if (m_frame.worldSize > 0) {
        const double reach = strokeReach();
        visitCopies(m_world, m_frame, m_viewport, [&](const QPolygonF &points) {
            drawn |= points.boundingRect().adjusted(-reach, -reach, reach, reach) & view;
        });
    }
    // Whole points, so the picture lies on the screen's pixels as it was drawn.
    const QRect area = drawn.isEmpty() ? QRect() : drawn.toAlignedRect();
    setPosition(area.topLeft());
    setSize(area.size());
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
    // The item covers only the lines' part of the view.
    painter->translate(-position());
    visitCopies(m_world, m_frame, m_viewport, [painter](const QPolygonF &points) {
        QPainterPath path;
        path.addPolygon(points);
        painter->drawPath(path);
    });
}
