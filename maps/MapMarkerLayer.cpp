#include "MapMarkerLayer.h"

#include "MapView.h"
#include "PlaneMarker.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGGeometryNode>
#include <QSGTextureMaterial>

#include <cmath>
#include <numbers>

namespace {

// Room around a silhouette's square for the shadow's blur, in points (the outline stays inside the square).
constexpr double cellPad = 2.5;
constexpr double shadowBlur = 1.5;
constexpr double shadowDrop = 1;
constexpr int shadowAlpha = 51;
constexpr int atlasWidth = 1024;
// Sizes are drawn to the half point, so a zoom yields a few dozen cells, not one per marker.
constexpr int largestHalfPoints = 400;

int cellPixels(const MapMarkerLayer::Cell &cell, double ratio)
{
    return int(std::ceil((cell.halfPoints / 2.0 + 2 * cellPad) * ratio));
}

bool isShadow(const MapMarkerLayer::Cell &cell) { return cell.fill == 0 && cell.outline == 0; }

// A Gaussian on the alpha channel, in place; the image holds only black, so alpha is all there is.
void blurAlpha(QImage &image, double sigma)
{
    const int reach = int(std::ceil(sigma * 3));
    std::vector<double> kernel(size_t(2 * reach + 1));
    double sum = 0;
    for (int k = -reach; k <= reach; ++k)
        sum += kernel[size_t(k + reach)] = std::exp(-k * k / (2 * sigma * sigma));
    for (double &k : kernel)
        k /= sum;
    const int w = image.width();
    const int h = image.height();
    std::vector<double> alpha(size_t(w * h));
    std::vector<double> pass(size_t(w * h));
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[size_t(y * w + x)] = qAlpha(line[x]);
    }
    const auto run = [&](const std::vector<double> &from, std::vector<double> &to, int dx, int dy) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                double v = 0;
                for (int k = -reach; k <= reach; ++k) {
                    const int sx = x + k * dx;
                    const int sy = y + k * dy;
                    if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                        v += from[size_t(sy * w + sx)] * kernel[size_t(k + reach)];
                }
                to[size_t(y * w + x)] = v;
            }
        }
    };
    run(alpha, pass, 1, 0);
    run(pass, alpha, 0, 1);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgba(
                0, 0, 0, std::clamp(int(std::lround(alpha[size_t(y * w + x)] * shadowAlpha / 255)), 0, 255));
    }
}

void drawCell(QPainter &painter, const MapMarkerLayer::Cell &cell, const QRect &into, double ratio)
{
    const double size = cell.halfPoints / 2.0;
    const QPointF middle(into.width() / ratio / 2, into.height() / ratio / 2);
    const QRectF square(middle - QPointF(size / 2, size / 2), QSizeF(size, size));
    const QPainterPath path = PlaneShape::path(square);
    QPen pen(Qt::black, PlaneMarker::outlineWidth(size), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    if (isShadow(cell)) {
        // The shadow is of the whole marker, outline included.
        QImage shadow(into.size(), QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        QPainter ink(&shadow);
        ink.setRenderHint(QPainter::Antialiasing);
        ink.scale(ratio, ratio);
        ink.fillPath(path, Qt::black);
        ink.strokePath(path, pen);
        ink.end();
        blurAlpha(shadow, shadowBlur / 2 * ratio);
        painter.drawImage(into.topLeft(), shadow);
        return;
    }
    painter.save();
    painter.translate(into.topLeft());
    painter.scale(ratio, ratio);
    painter.fillPath(path, QColor::fromRgba(cell.fill));
    pen.setColor(QColor::fromRgba(cell.outline));
    painter.strokePath(path, pen);
    painter.restore();
}

// Cells packed in shelves; their places come back in texture coordinates.
QImage atlas(const std::vector<MapMarkerLayer::Cell> &cells, double ratio, std::vector<QRectF> &places)
{
    std::vector<QRect> rects;
    rects.reserve(cells.size());
    int x = 0;
    int y = 0;
    int shelf = 0;
    for (const auto &cell : cells) {
        const int side = cellPixels(cell, ratio);
        if (x + side > atlasWidth) {
            x = 0;
            y += shelf;
            shelf = 0;
        }
        rects.emplace_back(x, y, side, side);
        x += side;
        shelf = std::max(shelf, side);
    }
    QImage image(atlasWidth, std::max(1, y + shelf), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 0; i < cells.size(); ++i)
        drawCell(painter, cells[i], rects[i], ratio);
    painter.end();
    places.clear();
    for (const QRect &r : rects)
        places.emplace_back(double(r.x()) / image.width(), double(r.y()) / image.height(),
                            double(r.width()) / image.width(), double(r.height()) / image.height());
    return image;
}

// The silhouette's box on a square of side 1 centred on the origin, nose up.
const QRectF &shapeBox()
{
    static const QRectF box = PlaneShape::path(QRectF(-0.5, -0.5, 1, 1)).boundingRect();
    return box;
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
    const std::vector<Cell> before = std::exchange(m_cellKeys, {});
    if (m_model) {
        QHash<QByteArray, int> roles;
        const auto names = m_model->roleNames();
        for (auto it = names.begin(); it != names.end(); ++it)
            roles.insert(it.value(), it.key());
        const auto value = [&](const QModelIndex &index, const char *role) {
            return roles.contains(role) ? m_model->data(index, roles.value(role)) : QVariant();
        };
        const auto color = [&](const QModelIndex &index, const char *role, QRgb otherwise) {
            const QColor c = value(index, role).value<QColor>();
            return c.isValid() ? c.rgba() : otherwise;
        };
        const PlaneMarker::Colors ordinary = PlaneMarker::colors(false, false, false);
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
            // A fully transparent drawing would be taken for the shadow's cell, and shows nothing anyway.
            marker.fill = color(index, "fill", ordinary.fill) | 0x01000000;
            marker.outline = color(index, "outline", ordinary.outline) | 0x01000000;
            const int halfPoints = std::clamp(int(std::lround(marker.size * 2)), 1, largestHalfPoints);
            m_cells.emplace_back(cellOf({marker.fill, marker.outline, halfPoints}),
                                 cellOf({0, 0, halfPoints}));
            m_markers.push_back(marker);
        }
    }
    if (m_cellKeys != before)
        m_atlasChanged = true;
    if (auto *map = qobject_cast<MapView *>(parentItem()))
        map->contentChanged();
    update();
}

int MapMarkerLayer::cellOf(const Cell &cell)
{
    auto found = std::find(m_cellKeys.begin(), m_cellKeys.end(), cell);
    if (found != m_cellKeys.end())
        return int(found - m_cellKeys.begin());
    m_cellKeys.push_back(cell);
    return int(m_cellKeys.size() - 1);
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
    // Measured against the copy of each marker nearest the point, in the marker's own turned frame, on the
    // box of the drawn silhouette and its outline; later rows lie on top, so the search runs from the last
    // row and stops at the first hit.
    const QPointF middle(width() / 2, height() / 2);
    const QPointF target = m_frame.centre + (point - middle) / m_frame.worldSize;
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
        const double rim = PlaneMarker::outlineWidth(m.size) / 2;
        if (x >= box.left() * m.size - rim && x <= box.right() * m.size + rim && y >= box.top() * m.size - rim
            && y <= box.bottom() * m.size + rim)
            return int(i);
    }
    return -1;
}

QSGNode *MapMarkerLayer::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    auto *node = static_cast<MarkerNode *>(old);
    if (!node)
        node = new MarkerNode;
    const double ratio = window()->effectiveDevicePixelRatio();
    if (m_atlasChanged || ratio != m_atlasRatio || !node->material.texture()) {
        delete node->material.texture();
        QSGTexture *texture = window()->createTextureFromImage(atlas(m_cellKeys, ratio, m_cellRects));
        texture->setMipmapFiltering(QSGTexture::None);
        node->material.setTexture(texture);
        m_atlasChanged = false;
        m_atlasRatio = ratio;
        node->markDirty(QSGNode::DirtyMaterial);
    }
    struct Quad
    {
        QPointF at;
        size_t marker;
    };
    std::vector<Quad> quads;
    quads.reserve(m_markers.size());
    forEachPlaced([&](size_t i, QPointF at) { quads.push_back({at, i}); });

    // Each marker's shadow just below it, so a later marker and its shadow cover an earlier one.
    node->geometry.allocate(int(quads.size() * 8), int(quads.size() * 12));
    auto *vertices = node->geometry.vertexDataAsTexturedPoint2D();
    auto *indices = node->geometry.indexDataAsUInt();
    quint32 base = 0;
    const auto put = [&](QPointF at, double heading, int cell) {
        const QRectF &uv = m_cellRects[size_t(cell)];
        // The cell's side in points, as many pixels as it was drawn with.
        const double half = cellPixels(m_cellKeys[size_t(cell)], ratio) / ratio / 2;
        const double angle = heading * std::numbers::pi / 180.0;
        const double c = std::cos(angle) * half;
        const double s = std::sin(angle) * half;
        // Corners of the cell turned clockwise by the heading (y grows downwards).
        const double corners[4][4] = {{-1, -1, uv.left(), uv.top()},
                                      {1, -1, uv.right(), uv.top()},
                                      {1, 1, uv.right(), uv.bottom()},
                                      {-1, 1, uv.left(), uv.bottom()}};
        for (int k = 0; k < 4; ++k) {
            const double x = corners[k][0];
            const double y = corners[k][1];
            vertices[base + k].set(float(at.x() + x * c - y * s), float(at.y() + x * s + y * c),
                                   float(corners[k][2]), float(corners[k][3]));
        }
        const quint32 order[6] = {base, base + 1, base + 2, base, base + 2, base + 3};
        std::copy(std::begin(order), std::end(order), indices);
        indices += 6;
        base += 4;
    };
    for (const Quad &q : quads) {
        const Marker &m = m_markers[q.marker];
        const auto [drawing, shadow] = m_cells[q.marker];
        // The shadow falls downwards on screen whatever the heading.
        put(q.at + QPointF(0, shadowDrop), m.heading, shadow);
        put(q.at, m.heading, drawing);
    }
    node->markDirty(QSGNode::DirtyGeometry);
    return node;
}
