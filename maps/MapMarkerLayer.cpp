#include "MapMarkerLayer.h"

#include "L.h"
#include "MapMarkerAccessibility.h"
#include "MapView.h"
#include "MarkerAtlas.h"
#include "MarkerCanvas.h"
#include "MarkerDrawing.h"
#include "PlaneMarker.h"

#include <QQuickWindow>
#include <QTransform>

#include <private/qquickitem_p.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using MarkerDrawing::largestHalfPoints;
using MarkerDrawing::MarkerCanvas;
using MarkerDrawing::outlineRim;
using MarkerDrawing::shapeBox;

MapMarkerLayer::MapMarkerLayer(QQuickItem *parent)
    : QQuickItem(parent)
    , m_canvas(new MarkerCanvas(this))
{
    // Above the lines, below the annotations.
    setZ(1);
    MapMarkerAccessibility::install();
    QQuickItemPrivate::get(this)->setAccessible();
}

MapMarkerLayer::~MapMarkerLayer() = default;

void MapMarkerLayer::setModel(QAbstractItemModel *model)
{
    if (m_model == model)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_model = model;
    if (model) {
        const auto follow = [&](auto signal) {
            m_connections.append(connect(model, signal, this, &MapMarkerLayer::reload));
        };
        follow(&QAbstractItemModel::modelReset);
        follow(&QAbstractItemModel::layoutChanged);
        follow(&QAbstractItemModel::rowsInserted);
        follow(&QAbstractItemModel::rowsRemoved);
        follow(&QAbstractItemModel::rowsMoved);
        follow(&QAbstractItemModel::dataChanged);
    }
    reload();
    emit modelChanged();
}

void MapMarkerLayer::reload()
{
    m_markers.clear();
    std::vector<int> sizes;
    if (m_model) {
        QHash<QByteArray, int> roles;
        const auto names = m_model->roleNames();
        for (auto it = names.begin(); it != names.end(); ++it)
            roles.insert(it.value(), it.key());
        const auto role = [&](const char *name) { return roles.value(name, -1); };
        const int latitude = role("latitude");
        const int longitude = role("longitude");
        const int heading = role("heading");
        const int size = role("size");
        const int fill = role("fill");
        const int outline = role("outline");
        const auto value = [&](const QModelIndex &index, int role) {
            return role >= 0 ? m_model->data(index, role) : QVariant();
        };
        const auto color = [&](const QModelIndex &index, int role, QRgb otherwise) {
            const QColor c = value(index, role).value<QColor>();
            return c.isValid() ? c.rgba() : otherwise;
        };
        const PlaneMarker::Colors ordinary = PlaneMarker::colors(false, false, false);
        const int rows = m_model->rowCount();
        m_markers.reserve(size_t(rows));
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = m_model->index(row, 0);
            Marker marker;
            marker.world =
                MapMath::project(value(index, latitude).toDouble(), value(index, longitude).toDouble());
            marker.heading = value(index, heading).toDouble();
            double side = 24;
            if (const QVariant v = value(index, size); v.isValid())
                side = v.toDouble();
            const int halfPoints = std::clamp(int(std::lround(side * 2)), 1, largestHalfPoints);
            marker.size = halfPoints / 2.0;
            marker.fill = color(index, fill, ordinary.fill);
            marker.outline = color(index, outline, ordinary.outline);
            auto found = std::find(sizes.begin(), sizes.end(), halfPoints);
            if (found == sizes.end())
                found = sizes.insert(sizes.end(), halfPoints);
            marker.cell = int(found - sizes.begin());
            m_markers.push_back(marker);
        }
    }
    if (sizes != m_cellSizes) {
        m_cellSizes = std::move(sizes);
        m_cellsChanged = true;
    }
    m_canvas->invalidate();
    if (auto *map = qobject_cast<MapView *>(parentItem()))
        map->contentChanged();
    MapMarkerAccessibility::markersChanged(this, true);
}

QList<QGeoCoordinate> MapMarkerLayer::coordinates() const
{
    QList<QGeoCoordinate> all;
    all.reserve(qsizetype(m_markers.size()));
    for (const Marker &m : m_markers)
        all.append(MapMath::unproject(m.world));
    return all;
}

void MapMarkerLayer::place(const MapView &map)
{
    const MapFrame before = m_frame;
    m_frame = map.cover(this);
    // A frame of the same zoom as the one before moves the cached picture; a zoom draws afresh.
    const bool panning = before.worldSize == m_frame.worldSize;
    m_canvas->drawFor(m_frame, panning, map.moving());
    if (!map.moving())
        MapMarkerAccessibility::markersChanged(this, false);
}

void MapMarkerLayer::geometryChange(const QRectF &now, const QRectF &before)
{
    QQuickItem::geometryChange(now, before);
    if (now.size() != before.size())
        m_canvas->drawFor(m_frame, false, false);
}

MapMarkerLayer::FrameStats MapMarkerLayer::frameStats() const
{
    FrameStats stats = m_canvas->stats();
    // A frame that only moved the cached picture blends that picture over the map, and nothing else.
    if (stats.cached && window()) {
        const double ratio = window()->effectiveDevicePixelRatio();
        stats.markers = 0;
        stats.pixels = width() * height() * ratio * ratio;
    }
    return stats;
}

template <typename Visit>
void MapMarkerLayer::forEachPlaced(const MapFrame &frame, QSizeF area, Visit visit) const
{
    if (frame.worldSize <= 0)
        return;
    for (size_t i = 0; i < m_markers.size(); ++i) {
        const Marker &m = m_markers[i];
        // The turned box reaches no further than the square's half diagonal.
        const double half = m.size * std::numbers::sqrt2 / 2;
        // The copy nearest the middle, then the others that reach into view where the world repeats.
        QPointF at = frame.itemPoint(m.world, area);
        if (at.y() < -half || at.y() > area.height() + half)
            continue;
        while (at.x() - frame.worldSize > -half)
            at.rx() -= frame.worldSize;
        for (; at.x() < area.width() + half; at.rx() += frame.worldSize) {
            if (at.x() > -half)
                visit(i, at);
        }
    }
}

int MapMarkerLayer::markerAt(const QPointF &point) const
{
    if (m_frame.worldSize <= 0)
        return -1;
    // Measured against the copy of each marker nearest the point, in the marker's own turned frame, on the
    // box of the drawn silhouette and its outline; later rows lie on top, so the search runs from the last
    // row and stops at the first hit.
    const QPointF target = m_frame.worldAt(point, size());
    const QRectF &box = shapeBox();
    for (size_t i = m_markers.size(); i-- > 0;) {
        const Marker &m = m_markers[i];
        const double reach = m.size + PlaneMarker::outlineWidth(m.size);
        const double dy = (m.world.y() - target.y()) * m_frame.worldSize;
        if (dy > reach || dy < -reach)
            continue;
        const double dx = (MapMath::nearestCopy(m.world.x(), target.x()) - target.x()) * m_frame.worldSize;
        if (dx > reach || dx < -reach)
            continue;
        // The point relative to the marker, turned back by the heading (clockwise on screen).
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double px = -dx;
        const double py = -dy;
        const double x = px * std::cos(angle) + py * std::sin(angle);
        const double y = -px * std::sin(angle) + py * std::cos(angle);
        const double rim = outlineRim(m.size);
        if (x >= box.left() * m.size - rim && x <= box.right() * m.size + rim && y >= box.top() * m.size - rim
            && y <= box.bottom() * m.size + rim)
            return int(i);
    }
    return -1;
}

QList<int> MapMarkerLayer::markersInView() const
{
    QList<int> rows;
    const QRectF &box = shapeBox();
    forEachPlaced(m_frame, size(), [&](size_t i, QPointF at) {
        // The marker's turned box, not its square, has to reach into the layer; a row counts once, however
        // many of its copies show.
        const Marker &m = m_markers[i];
        if (!rows.isEmpty() && rows.back() == int(i))
            return;
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double c = std::abs(std::cos(angle));
        const double s = std::abs(std::sin(angle));
        const double rim = outlineRim(m.size);
        const double w = box.width() * m.size + 2 * rim;
        const double h = box.height() * m.size + 2 * rim;
        const QSizeF turned(w * c + h * s, w * s + h * c);
        if (QRectF(at - QPointF(turned.width() / 2, turned.height() / 2), turned).intersects(boundingRect()))
            rows.append(int(i));
    });
    return rows;
}

QRectF MapMarkerLayer::markerBox(int row) const
{
    if (row < 0 || size_t(row) >= m_markers.size() || m_frame.worldSize <= 0)
        return {};
    const Marker &m = m_markers[size_t(row)];
    const QPointF at = m_frame.itemPoint(m.world, size());
    // The corners of the silhouette's box with its outline, turned clockwise by the heading.
    const QRectF &box = shapeBox();
    const double rim = outlineRim(m.size);
    const QRectF local(box.left() * m.size - rim, box.top() * m.size - rim, box.width() * m.size + 2 * rim,
                       box.height() * m.size + 2 * rim);
    QTransform turn;
    turn.translate(at.x(), at.y());
    turn.rotate(m.heading);
    return turn.mapRect(local);
}

QString MapMarkerLayer::accessibleName(int row) const
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return {};
    const QHash<int, QByteArray> names = m_model->roleNames();
    const QModelIndex index = m_model->index(row, 0);
    const auto text = [&](const char *name) {
        const int role = names.key(name, -1);
        return role >= 0 ? m_model->data(index, role).toString() : QString();
    };
    const QString callsign = text("callsign");
    return L(QStringLiteral("%@，%@，查看飞行详情"),
             callsign.isEmpty() ? L(QStringLiteral("飞机")) : callsign, text("aircraft"));
}
