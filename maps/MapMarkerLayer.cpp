#include "MapMarkerLayer.h"

#include "MapView.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGGeometryNode>
#include <QSGTextureMaterial>

#include <cmath>
#include <numbers>

namespace {

// Atlas cells about twice the usual marker size, sampled bilinearly: crisp enough, and without mipmaps the
// software renderer draws thousands of overlapping markers a third faster.
constexpr int cellSize = 48;
constexpr int cellsPerRow = 8;
// The silhouette fills this share of its cell; the rest keeps neighbours from bleeding into it.
constexpr double cellFill = 0.84;

QPainterPath silhouette(int symbol)
{
    // Drawn pointing north on a square from -1 to 1.
    QPainterPath path;
    if (symbol == 1) {
        path.addRoundedRect(QRectF(-0.09, -0.9, 0.18, 1.75), 0.09, 0.09);
        path.addRoundedRect(QRectF(-0.95, -0.38, 1.9, 0.2), 0.06, 0.06);
        path.addRoundedRect(QRectF(-0.36, 0.62, 0.72, 0.14), 0.05, 0.05);
        return path.simplified();
    }
    path.addRoundedRect(QRectF(-0.11, -0.95, 0.22, 1.9), 0.11, 0.11);
    QPolygonF wing{{-0.08, -0.25}, {-0.95, 0.22}, {-0.95, 0.34}, {-0.08, 0.12},
                   {0.08, 0.12},   {0.95, 0.34},  {0.95, 0.22},  {0.08, -0.25}};
    QPainterPath wings;
    wings.addPolygon(wing);
    QPolygonF tail{{-0.06, 0.6}, {-0.4, 0.86}, {-0.4, 0.94}, {0.4, 0.94}, {0.4, 0.86}, {0.06, 0.6}};
    QPainterPath tails;
    tails.addPolygon(tail);
    return path.united(wings).united(tails);
}

QImage atlas(const std::vector<QPair<int, QRgb>> &keys)
{
    const int rows = std::max<int>(1, int((keys.size() + cellsPerRow - 1) / cellsPerRow));
    QImage image(cellSize * cellsPerRow, cellSize * rows, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 0; i < keys.size(); ++i) {
        painter.save();
        painter.translate((int(i) % cellsPerRow + 0.5) * cellSize, (int(i) / cellsPerRow + 0.5) * cellSize);
        painter.scale(cellSize * cellFill / 2, cellSize * cellFill / 2);
        const QPainterPath shape = silhouette(keys[i].first);
        // A light rim keeps a marker readable on dark land and water alike.
        painter.setPen(QPen(QColor(255, 255, 255, 230), 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor::fromRgba(keys[i].second));
        painter.drawPath(shape);
        painter.restore();
    }
    return image;
}

class MarkerNode : public QSGGeometryNode
{
public:
    MarkerNode()
        : geometry(QSGGeometry::defaultAttributes_TexturedPoint2D(), 0, 0, QSGGeometry::UnsignedIntType)
    {
        geometry.setDrawingMode(QSGGeometry::DrawTriangles);
        setGeometry(&geometry);
        material.setFiltering(QSGTexture::Linear);
        material.setMipmapFiltering(QSGTexture::None);
        setMaterial(&material);
    }
    ~MarkerNode() override { delete material.texture(); }

    QSGGeometry geometry;
    QSGTextureMaterial material;
};

} // namespace

MapMarkerLayer::MapMarkerLayer(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    // Above the lines, below the annotations.
    setZ(1);
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
    m_cells.clear();
    if (m_model) {
        QHash<QByteArray, int> roles;
        const auto names = m_model->roleNames();
        for (auto it = names.begin(); it != names.end(); ++it)
            roles.insert(it.value(), it.key());
        const auto value = [&](const QModelIndex &index, const char *role) {
            return roles.contains(role) ? m_model->data(index, roles.value(role)) : QVariant();
        };
        const int rows = m_model->rowCount();
        m_markers.reserve(rows);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = m_model->index(row, 0);
            Marker marker;
            marker.world =
                MapMath::project(value(index, "latitude").toDouble(), value(index, "longitude").toDouble());
            marker.heading = value(index, "heading").toDouble();
            if (const QVariant size = value(index, "size"); size.isValid())
                marker.size = size.toDouble();
            if (const QColor color = value(index, "color").value<QColor>(); color.isValid())
                marker.color = color.rgba();
            marker.symbol = std::clamp(value(index, "symbol").toInt(), 0, 1);
            const QPair<int, QRgb> key{marker.symbol, marker.color};
            auto cell = std::find(m_cellKeys.begin(), m_cellKeys.end(), key);
            if (cell == m_cellKeys.end()) {
                m_cellKeys.push_back(key);
                m_atlasChanged = true;
                cell = m_cellKeys.end() - 1;
            }
            m_cells.push_back(int(cell - m_cellKeys.begin()));
            m_markers.push_back(marker);
        }
    }
    if (auto *map = qobject_cast<MapView *>(parentItem()))
        map->contentChanged();
    update();
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
    m_frame = map.cover(this);
    update();
}

template <typename Visit>
void MapMarkerLayer::forEachPlaced(Visit visit) const
{
    if (m_frame.worldSize <= 0)
        return;
    const QPointF middle(width() / 2, height() / 2);
    for (size_t i = 0; i < m_markers.size(); ++i) {
        const Marker &m = m_markers[i];
        const double half = m.size / 2;
        // The copy nearest the middle, then the others that reach into view where the world repeats.
        QPointF at =
            (QPointF(MapMath::nearestCopy(m.world.x(), m_frame.centre.x()), m.world.y()) - m_frame.centre)
                * m_frame.worldSize
            + middle;
        if (at.y() < -half || at.y() > height() + half)
            continue;
        while (at.x() - m_frame.worldSize > -half)
            at.rx() -= m_frame.worldSize;
        for (; at.x() < width() + half; at.rx() += m_frame.worldSize) {
            if (at.x() > -half)
                visit(i, at);
        }
    }
}

int MapMarkerLayer::markerAt(const QPointF &point) const
{
    if (m_frame.worldSize <= 0)
        return -1;
    // Measured in world units against the copy of each marker nearest the point; later rows lie on top,
    // so the search runs from the last row and stops at the first hit.
    const QPointF middle(width() / 2, height() / 2);
    const QPointF target = m_frame.centre + (point - middle) / m_frame.worldSize;
    for (size_t i = m_markers.size(); i-- > 0;) {
        const Marker &m = m_markers[i];
        const double reach = m.size / 2 / m_frame.worldSize;
        const double dy = m.world.y() - target.y();
        if (dy > reach || dy < -reach)
            continue;
        const double dx = MapMath::nearestCopy(m.world.x(), target.x()) - target.x();
        if (dx * dx + dy * dy <= reach * reach)
            return int(i);
    }
    return -1;
}

QSGNode *MapMarkerLayer::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    auto *node = static_cast<MarkerNode *>(old);
    if (!node)
        node = new MarkerNode;
    if (m_atlasChanged || !node->material.texture()) {
        delete node->material.texture();
        QSGTexture *texture = window()->createTextureFromImage(atlas(m_cellKeys));
        texture->setMipmapFiltering(QSGTexture::None);
        node->material.setTexture(texture);
        m_atlasChanged = false;
        node->markDirty(QSGNode::DirtyMaterial);
    }
    const int rows = std::max<int>(1, int((m_cellKeys.size() + cellsPerRow - 1) / cellsPerRow));
    struct Quad
    {
        QPointF at;
        size_t marker;
    };
    std::vector<Quad> quads;
    quads.reserve(m_markers.size());
    forEachPlaced([&](size_t i, QPointF at) { quads.push_back({at, i}); });

    node->geometry.allocate(int(quads.size() * 4), int(quads.size() * 6));
    auto *vertices = node->geometry.vertexDataAsTexturedPoint2D();
    auto *indices = node->geometry.indexDataAsUInt();
    const double u = 1.0 / cellsPerRow;
    const double v = 1.0 / rows;
    for (size_t q = 0; q < quads.size(); ++q) {
        const Marker &m = m_markers[quads[q].marker];
        const int cell = m_cells[quads[q].marker];
        const double half = m.size / 2 / cellFill;
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double c = std::cos(angle) * half;
        const double s = std::sin(angle) * half;
        const double u0 = (cell % cellsPerRow) * u;
        const double v0 = (cell / cellsPerRow) * v;
        const QPointF at = quads[q].at;
        // Corners of the cell turned clockwise by the heading (y grows downwards).
        const double corners[4][4] = {
            {-1, -1, u0, v0}, {1, -1, u0 + u, v0}, {1, 1, u0 + u, v0 + v}, {-1, 1, u0, v0 + v}};
        for (int k = 0; k < 4; ++k) {
            const double x = corners[k][0];
            const double y = corners[k][1];
            vertices[q * 4 + k].set(float(at.x() + x * c - y * s), float(at.y() + x * s + y * c),
                                    float(corners[k][2]), float(corners[k][3]));
        }
        const quint32 base = quint32(q * 4);
        const quint32 order[6] = {base, base + 1, base + 2, base, base + 2, base + 3};
        std::copy(std::begin(order), std::end(order), indices + q * 6);
    }
    node->markDirty(QSGNode::DirtyGeometry);
    return node;
}
