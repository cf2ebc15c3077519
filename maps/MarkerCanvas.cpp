#include "MarkerCanvas.h"

#include "MarkerAtlas.h"
#include "MarkerDrawing.h"
#include "MarkerMaterial.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>
#include <QtConcurrent/QtConcurrentRun>

#include <private/qquickitem_p.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace MarkerDrawing {

namespace {

bool softwareRendered(const QQuickWindow *window)
{
    return window && window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software;
}

// A cached frame reaches this far past each side of the map, in points, so a pan stays inside it.
constexpr double cacheMargin = 256;
// How long a zoom pauses before its scaled picture of the markers is drawn afresh at the new scale: at
// least this long, and three times as long as its frames have lately come apart, so a zoom whose frames
// come slowly (a slow graphics device, a busy machine) is not taken for one that pauses at each of them.
constexpr int sharpenAfterMs = 60;
constexpr double pauseInFrames = 3;
// Camera changes further apart than this are a movement after a rest, not the pace of one; the pace fades
// by this much at each change, so one slow frame does not hold it up for long.
constexpr qint64 longestFrameMs = 500;
constexpr double paceFading = 0.8;

// Where a camera's centre stands from the camera now, in worlds, by the nearest copy of the world: another
// copy is the same picture.
QPointF fromNow(const QPointF &centre, const QPointF &now)
{
    QPointF shift = centre - now;
    shift.rx() -= std::round(shift.x());
    return shift;
}

} // namespace

MarkerCanvas::MarkerCanvas(MapMarkerLayer *layer)
    : QQuickItem(layer)
    , m_layer(layer)
{
    setFlag(ItemHasContents);
    m_sharpen.setSingleShot(true);
    connect(&m_sharpen, &QTimer::timeout, this, [this] { drawFor(m_now, true, false); });
    connect(&m_painting, &QFutureWatcher<void>::finished, this, &MarkerCanvas::takePicture);
}

MarkerCanvas::~MarkerCanvas()
{
    m_sharpen.stop();
    // The painting must not outlive the item whose markers it was handed.
    m_painting.waitForFinished();
}

MapMarkerLayer::FrameStats MarkerCanvas::stats() const
{
    QMutexLocker lock(&m_statsLock);
    MapMarkerLayer::FrameStats stats = m_stats;
    stats.cached = m_cached;
    stats.current = !softwareRendered(window()) || (!m_stale && !m_waiting);
    if (!softwareRendered(window()))
        stats.pictures = m_drawn;
    return stats;
}

void MarkerCanvas::invalidate()
{
    m_relayout = true;
    if (softwareRendered(window()))
        placePicture();
    else
        update();
}

void MarkerCanvas::drawFor(const MapFrame &frame, bool cached, bool moving)
{
    QQuickItemLayer *layer = QQuickItemPrivate::get(this)->layer();
    const QSizeF area = m_layer->size();
    const double ratio = pixelRatio();
    if (softwareRendered(window())) {
        // Every frame lays a picture painted before: it only moves or scales it.
        m_cached = true;
        m_now = frame;
        // A zoom that has come to rest is painted at its new scale.
        m_zooming = !cached && moving;
        placePicture();
        return;
    }
    const QSizeF cacheSize = pictureSize(ratio);
    if (frame.centre != m_now.centre || frame.worldSize != m_now.worldSize) {
        const qint64 since = m_lastChange.isValid() ? m_lastChange.elapsed() : longestFrameMs;
        if (since < longestFrameMs)
            m_paceMs = std::max(double(since), m_paceMs * paceFading);
        m_lastChange.start();
    }
    m_now = frame;
    const double k = m_cacheFrame.worldSize > 0 ? frame.worldSize / m_cacheFrame.worldSize : 0;
    if (!cached && m_cached && size() == cacheSize && k >= 0.5 && k <= 2) {
        // A zoom scales the cached picture, up to twice or half its size; when the zoom pauses, or goes
        // further, the markers are drawn afresh for it.
        const QPointF shift = fromNow(m_cacheFrame.centre, frame.centre);
        setTransformOrigin(TopLeft);
        setScale(k);
        setPosition(QPointF(area.width() / 2, area.height() / 2) + shift * frame.worldSize
                    - QPointF(width() / 2, height() / 2) * k);
        m_sharpen.start(std::max(sharpenAfterMs, int(pauseInFrames * m_paceMs)));
        return;
    }
    m_sharpen.stop();
    setScale(1);
    QPointF offset = (m_cacheFrame.centre - frame.centre) * frame.worldSize;
    const bool fits = m_cached && m_cacheFrame.worldSize == frame.worldSize && size() == cacheSize
                      && std::abs(offset.x()) < cacheMargin && std::abs(offset.y()) < cacheMargin;
    if (!fits) {
        m_cacheFrame = frame;
        offset = {};
        m_cached = true;
        setSize(cacheSize);
        ++m_drawn;
        update();
    }
    setPosition(onDevicePixels(QPointF(-cacheMargin, -cacheMargin) + offset, ratio));
    if (!layer->enabled())
        layer->setEnabled(true);
}

double MarkerCanvas::pixelRatio() const { return window() ? window()->effectiveDevicePixelRatio() : 1.0; }

QSizeF MarkerCanvas::pictureSize(double ratio) const
{
    // Whole device pixels, so the picture is laid on the screen texel for pixel.
    const QSizeF area = m_layer->size();
    const auto snap = [ratio](double v) { return std::ceil(v * ratio) / ratio; };
    return {snap(area.width() + 2 * cacheMargin), snap(area.height() + 2 * cacheMargin)};
}

QPointF MarkerCanvas::onDevicePixels(QPointF at, double ratio) const
{
    const QPointF scene = m_layer->mapToScene(at);
    return at + QPointF(std::round(scene.x() * ratio) / ratio, std::round(scene.y() * ratio) / ratio) - scene;
}

void MarkerCanvas::placePicture()
{
    const QSizeF area = m_layer->size();
    const double ratio = pixelRatio();
    const QSizeF wanted = pictureSize(ratio);
    const MapFrame &was = m_shown.frame;
    // The picture's camera seen from the camera now.
    const QPointF shift = fromNow(was.centre, m_now.centre) * m_now.worldSize;
    const bool stale = m_relayout || m_picture.isNull() || m_shown.ratio != ratio || m_shown.size != wanted
                       || (!m_zooming
                           && (was.worldSize != m_now.worldSize || std::abs(shift.x()) >= cacheMargin
                               || std::abs(shift.y()) >= cacheMargin));
    m_stale = stale;
    if (stale && m_now.worldSize > 0)
        paintPicture(wanted, ratio);
    if (m_picture.isNull() || was.worldSize <= 0)
        return;
    const double k = m_now.worldSize / was.worldSize;
    const QPointF middle(area.width() / 2, area.height() / 2);
    QPointF at = middle - m_shown.centre * k + shift;
    if (k == 1)
        at = onDevicePixels(at, ratio);
    setTransformOrigin(TopLeft);
    setScale(k);
    setPosition(at);
    setSize(m_shown.size);
    if (m_pictureChanged)
        update();
}

void MarkerCanvas::paintPicture(const QSizeF &size, double ratio)
{
    // One picture at a time; what changes meanwhile is painted when it is done.
    if (m_painting.isRunning())
        return;
    m_relayout = false;
    m_waiting = true;
    PictureOrder order{m_layer->m_markers,
                       m_layer->m_cellSizes,
                       m_now,
                       size,
                       QPointF(m_layer->width() / 2 + cacheMargin, m_layer->height() / 2 + cacheMargin),
                       ratio};
    // Told by the watcher, not from inside the painting: taken from there, the picture came while the
    // painting still counted as running, and the picture asked for meanwhile was never painted.
    m_painting.setFuture(QtConcurrent::run(
        [painter = m_painter, order = std::move(order)]() mutable { painter->paint(std::move(order)); }));
}

void MarkerCanvas::takePicture()
{
    std::optional<Picture> done = m_painter->take();
    if (!done)
        return;
    m_waiting = false;
    m_picture = std::move(done->image);
    m_shown = std::move(done->order);
    m_pictureChanged = true;
    {
        QMutexLocker lock(&m_statsLock);
        m_stats = done->stats;
    }
    placePicture();
}

void MarkerCanvas::layOut(MarkerNode &node, double ratio)
{
    const MapFrame frame = m_cacheFrame;
    const std::vector<MapMarkerLayer::Marker> &markers = m_layer->m_markers;
    const QPointF middle(width() / 2, height() / 2);
    // The band of copies: a canvas's width on each side of it, so the geometry outlives a pan of that much.
    const double band = std::max(width(), 1.0) * 1.5 / frame.worldSize;
    node.laidOutFor = frame;
    node.middle = middle;
    node.bandLeft = frame.centre.x() - band;
    node.bandRight = frame.centre.x() + band;

    std::vector<Vertex> vertices;
    vertices.reserve(markers.size() * shapeCorners + 2);
    node.pixels = 0;
    const double atlasW = atlasWidth;
    const double atlasH = node.material.texture ? node.material.texture->textureSize().height() : 1;
    const double toU = ratio / atlasW;
    const double toV = ratio / atlasH;
    for (const MapMarkerLayer::Marker &m : markers) {
        const double s = m.size;
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double c = std::cos(angle);
        const double sn = std::sin(angle);
        // The drop (down on screen) in the marker's own frame, which is turned clockwise by the heading.
        const QPointF drop(shadowDrop * sn, shadowDrop * c);
        const ShapeCorners corners = markerCorners(s, drop, ratio);
        double area = 0;
        for (int i = 0; i < shapeCorners; ++i) {
            const QPointF &p = corners[i];
            const QPointF &n = corners[(i + 1) % shapeCorners];
            area += p.x() * n.y() - n.x() * p.y();
        }
        const QPointF cellMiddle = node.cellRects[size_t(m.cell)].center();
        uchar fill[4];
        uchar outline[4];
        premultiplied(m.fill, fill);
        premultiplied(m.outline, outline);
        // Every copy within the band, where the world repeats.
        const double first = std::ceil(node.bandLeft - m.world.x());
        const double last = std::floor(node.bandRight - m.world.x());
        for (double k = first; k <= last; ++k) {
            const QPointF anchor =
                (QPointF(m.world.x() + k, m.world.y()) - frame.centre) * frame.worldSize + middle;
            node.pixels += std::abs(area) / 2 * ratio * ratio;
            for (const QPointF &corner : corners) {
                Vertex v;
                v.anchorX = float(anchor.x());
                v.anchorY = float(anchor.y());
                v.cornerX = float(corner.x() * c - corner.y() * sn);
                v.cornerY = float(corner.x() * sn + corner.y() * c);
                v.u = float(cellMiddle.x() + corner.x() * toU);
                v.v = float(cellMiddle.y() + corner.y() * toV);
                v.shadowU = float(v.u - drop.x() * toU);
                v.shadowV = float(v.v - drop.y() * toV);
                std::copy(fill, fill + 4, v.fill);
                std::copy(outline, outline + 4, v.outline);
                vertices.push_back(v);
            }
        }
    }
    const int shapes = int(vertices.size() / shapeCorners);
    node.shapes = shapes;
    // Two vertices no triangle uses stretch the node's bounds over everything, so the renderer never takes
    // the markers' (moving) place for free and lets a later item's batch slip under them.
    for (const float far : {-1e6f, 1e6f}) {
        Vertex v{};
        v.anchorX = v.anchorY = far;
        vertices.push_back(v);
    }
    constexpr int triangles = shapeCorners - 2;
    node.geometry.allocate(int(vertices.size()), shapes * triangles * 3);
    std::copy(vertices.begin(), vertices.end(), static_cast<Vertex *>(node.geometry.vertexData()));
    quint32 *indices = node.geometry.indexDataAsUInt();
    for (quint32 q = 0; q < quint32(shapes); ++q) {
        // Two triangles, a fan from the first corner.
        const quint32 b = q * shapeCorners;
        for (quint32 t = 1; t <= quint32(triangles); ++t) {
            *indices++ = b;
            *indices++ = b + t;
            *indices++ = b + t + 1;
        }
    }
    node.markDirty(QSGNode::DirtyGeometry);
}

void MarkerCanvas::prepareCells(MarkerNode &node, double ratio)
{
    const std::vector<int> &sizes = m_layer->m_cellSizes;
    // Past this height the atlas starts again with the sizes in use.
    constexpr int tallest = 4096;
    // Where the next cell of a side goes, on the shelf or on a new one below.
    const auto place = [](QPoint &at, int &shelf, int side) {
        if (at.x() + side > atlasWidth) {
            at = {0, at.y() + shelf};
            shelf = 0;
        }
        const QRect cell(at, QSize(side, side));
        at.rx() += side;
        shelf = std::max(shelf, side);
        return cell;
    };
    const auto fits = [&] {
        QPoint at = node.shelfAt;
        int shelf = node.shelfHeight;
        for (const int halfPoints : sizes) {
            if (!node.cells.count(halfPoints)
                && place(at, shelf, cellPixels(halfPoints, ratio)).bottom() >= tallest)
                return false;
        }
        return true;
    };
    if (ratio != node.atlasRatio || !fits()) {
        node.cells.clear();
        node.atlas = QImage();
        node.shelfAt = {};
        node.shelfHeight = 0;
        node.atlasRatio = ratio;
    }
    bool drawn = false;
    for (const int halfPoints : sizes) {
        if (node.cells.count(halfPoints))
            continue;
        const QRect cell = place(node.shelfAt, node.shelfHeight, cellPixels(halfPoints, ratio));
        if (cell.bottom() >= node.atlas.height()) {
            // A taller picture holding what is drawn, with room for a few more shelves.
            QImage taller(atlasWidth, std::max(cell.bottom() + 1, std::min(tallest, 2 * node.atlas.height())),
                          QImage::Format_RGBA8888);
            taller.fill(QColor(0, 0, 0, 255));
            QPainter copy(&taller);
            copy.setCompositionMode(QPainter::CompositionMode_Source);
            copy.drawImage(0, 0, node.atlas);
            copy.end();
            node.atlas = std::move(taller);
        }
        drawCell(node.atlas, cell, halfPoints, ratio);
        node.cells.emplace(halfPoints, cell);
        ++node.cellsDrawn;
        drawn = true;
    }
    if (drawn || !node.material.texture) {
        delete node.material.texture;
        node.material.texture = window()->createTextureFromImage(node.atlas);
        node.material.texture->setFiltering(QSGTexture::Linear);
        node.material.texture->setMipmapFiltering(QSGTexture::None);
    }
    const QSizeF atlasSize = node.atlas.size();
    node.cellRects.clear();
    for (const int halfPoints : sizes) {
        const QRectF r = node.cells.at(halfPoints);
        node.cellRects.emplace_back(r.x() / atlasSize.width(), r.y() / atlasSize.height(),
                                    r.width() / atlasSize.width(), r.height() / atlasSize.height());
    }
}

QSGNode *MarkerCanvas::showPicture(QSGImageNode *node)
{
    if (m_picture.isNull()) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        m_pictureChanged = true;
    }
    if (std::exchange(m_pictureChanged, false))
        node->setTexture(window()->createTextureFromImage(m_picture));
    // Texel for pixel, or scaled while the map zooms.
    node->setFiltering(scale() == 1 ? QSGTexture::Nearest : QSGTexture::Linear);
    node->setRect(boundingRect());
    node->setSourceRect(QRectF(QPointF(), m_picture.size()));
    return node;
}

QSGNode *MarkerCanvas::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    if (softwareRendered(window()))
        return showPicture(static_cast<QSGImageNode *>(old));
    auto *node = static_cast<MarkerNode *>(old);
    if (!node)
        node = new MarkerNode;
    const double ratio = window()->effectiveDevicePixelRatio();
    const MapFrame frame = m_cacheFrame;
    if (frame.worldSize <= 0 || m_layer->m_markers.empty()) {
        node->geometry.allocate(0, 0);
        node->markDirty(QSGNode::DirtyGeometry);
        QMutexLocker lock(&m_statsLock);
        m_stats = {};
        return node;
    }
    bool relayout = std::exchange(m_relayout, false);
    if (m_layer->m_cellsChanged || ratio != node->atlasRatio || !node->material.texture) {
        prepareCells(*node, ratio);
        m_layer->m_cellsChanged = false;
        relayout = true;
    }
    // The geometry holds while the camera stays within its band and its zoom within a few levels, where
    // single-precision anchors are still exact to a hundredth of a pixel.
    const double scale = frame.worldSize / node->laidOutFor.worldSize;
    const double halfView = width() / 2 / frame.worldSize;
    if (relayout || node->laidOutFor.worldSize <= 0 || scale > 8 || scale < 0.125
        || frame.centre.x() - halfView < node->bandLeft || frame.centre.x() + halfView > node->bandRight)
        layOut(*node, ratio);
    const MapFrame &laid = node->laidOutFor;
    const double k = frame.worldSize / laid.worldSize;
    const QPointF middle(width() / 2, height() / 2);
    const QPointF shift = (laid.centre - frame.centre) * frame.worldSize + middle - node->middle * k;
    if (node->material.scale != float(k) || node->material.shift != shift) {
        node->material.scale = float(k);
        node->material.shift = shift;
        node->markDirty(QSGNode::DirtyMaterial);
    }

    // What the frame draws: the shapes laid out (those beyond the map cost the rasteriser nothing).
    const MapMarkerLayer::FrameStats stats{node->shapes, node->pixels, false, node->cellsDrawn};
    {
        QMutexLocker lock(&m_statsLock);
        m_stats = stats;
    }
    return node;
}

} // namespace MarkerDrawing
