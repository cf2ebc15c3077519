#include "MapView.h"

#include "MapCompass.h"
#include "MapItems.h"
#include "MapMarkerLayer.h"

#include <QFutureWatcher>
#include <QGuiApplication>
#include <QNativeGestureEvent>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGRectangleNode>
#include <QtConcurrent>

#include <cmath>
#include <numbers>

namespace {

constexpr double minZoom = 0;
constexpr double maxZoom = 16;
// The deepest tile level drawn; closer in, tiles of this level are scaled up.
constexpr int maxTileLevel = 13;
// The spring's response: the period of the undamped spring, 0.4 s.
const double springRate = 2 * std::numbers::pi / 0.4;
// Past this many time constants the spring is within a ten-thousandth of its way from the target.
constexpr double springSettled = 12;
constexpr double automaticMaxZoom = 10;

// The base map's nodes: one image node per tile slot (column unwrapped), kept while the slot stays in view.
// A transform node (that moves nothing), not a plain node: Qt's software renderer places a node added later
// from the state it keeps of its parent, and keeps none of a plain node's, so tiles added as they are drawn
// would land at the window's corner, unclipped.
class TileLayerNode : public QSGTransformNode
{
public:
    QSGRectangleNode *water = nullptr;
    struct Slot
    {
        QSGImageNode *node = nullptr;
        TileKey source;
    };
    QHash<TileKey, Slot> placed;
};

} // namespace

MapView::MapView(QQuickItem *parent)
    : QQuickItem(parent)
    , m_tiles(160)
{
    setFlag(ItemHasContents);
    setClip(true);
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptTouchEvents(true);
    m_frames.setTimerType(Qt::PreciseTimer);
    m_frames.setInterval(16);
    connect(&m_frames, &QTimer::timeout, this, &MapView::step);
    // Wheel turns and resizes come in bursts: the movement ends when they pause.
    m_settle.setSingleShot(true);
    m_settle.setInterval(180);
    connect(&m_settle, &QTimer::timeout, this, &MapView::finishMovement);
    // Made with a parent in a window, the scene change came before this class was there to hear it.
    watchWindow(window());
}

MapView::~MapView() = default;

void MapView::setInteractionModes(Interactions modes)
{
    if (m_interactions == modes)
        return;
    m_interactions = modes;
    setAcceptedMouseButtons(modes ? Qt::LeftButton : Qt::NoButton);
    setAcceptTouchEvents(bool(modes));
    emit interactionModesChanged();
}

void MapView::setMapStyle(Style style)
{
    if (m_style == style)
        return;
    m_style = style;
    update();
    emit mapStyleChanged();
}

void MapView::setElevation(Elevation elevation)
{
    if (m_elevation == elevation)
        return;
    m_elevation = elevation;
    update();
    emit elevationChanged();
}

void MapView::setDark(bool dark)
{
    if (m_dark == dark)
        return;
    m_dark = dark;
    if (m_compass)
        m_compass->setDark(dark);
    update();
    emit darkChanged();
}

void MapView::setShowsCompass(bool shows)
{
    if (m_showsCompass == shows)
        return;
    m_showsCompass = shows;
    if (shows && !m_compass) {
        m_compass = new MapCompass(this);
        m_compass->setDark(m_dark);
    }
    if (m_compass) {
        m_compass->setVisible(shows);
        placeCompass();
    }
    emit showsCompassChanged();
}

void MapView::placeCompass()
{
    if (!m_compass)
        return;
    const bool rightToLeft = QGuiApplication::layoutDirection() == Qt::RightToLeft;
    const double x = rightToLeft ? MapCompass::inset : width() - MapCompass::side - MapCompass::inset;
    m_compass->setPosition({x, height() - MapCompass::side - MapCompass::inset});
}

QGeoCoordinate MapView::center() const { return m_camera.coordinate(); }

double MapView::distance() const { return m_camera.distance(height()); }

double MapView::metresPerPixel() const { return m_camera.distance(1); }

void MapView::setCamera(const QGeoCoordinate &center, double distance, bool animated)
{
    setAutomatic(false);
    apply(Request{center, distance, std::nullopt, std::nullopt}, motion(animated));
}

void MapView::showRegion(double latitude, double longitude, double latitudeSpan, double longitudeSpan,
                         bool animated)
{
    setAutomatic(false);
    apply(Request{{}, 0, MapRegion{latitude, longitude, latitudeSpan, longitudeSpan}, std::nullopt},
          motion(animated));
}

void MapView::showMapRect(const QRectF &mapPoints, bool animated)
{
    constexpr double side = 1 << 28;
    setAutomatic(false);
    const QRectF world(mapPoints.x() / side, mapPoints.y() / side, mapPoints.width() / side,
                       mapPoints.height() / side);
    apply(Request{{}, 0, std::nullopt, world}, motion(animated));
}

void MapView::showAll(bool animated)
{
    setAutomatic(true);
    m_request.reset();
    frameContent(motion(animated));
}

void MapView::apply(const Request &request, Motion motion)
{
    m_request = request;
    if (request.world) {
        if (const auto camera = MapCamera::framing(*request.world, size()))
            moveTo(*camera, motion);
    } else if (request.region) {
        const MapRegion &r = *request.region;
        moveTo({MapMath::project(r.latitude, r.longitude), MapMath::zoomForRegion(r, size())}, motion);
    } else {
        moveTo({MapMath::project(request.center.latitude(), request.center.longitude()),
                MapMath::zoomForDistance(request.distance, request.center.latitude(), height())},
               motion);
    }
}

void MapView::frameContent(Motion motion)
{
    QList<QGeoCoordinate> coordinates;
    for (QQuickItem *child : childItems()) {
        if (auto *content = dynamic_cast<MapContent *>(child))
            coordinates += content->coordinates();
        else if (auto *layer = qobject_cast<MapMarkerLayer *>(child))
            coordinates += layer->coordinates();
    }
    const auto region = MapMath::enclosingRegion(coordinates);
    if (!region || width() <= 0 || height() <= 0)
        return;
    const QPointF middle = MapMath::project(region->latitude, region->longitude);
    const double north = MapMath::project(region->latitude + region->latitudeSpan / 2, 0).y();
    const double south = MapMath::project(region->latitude - region->latitudeSpan / 2, 0).y();
    QRectF world(middle.x() - region->longitudeSpan / 720.0, north, region->longitudeSpan / 360.0,
                 south - north);
    auto camera = MapCamera::framing(world, size());
    if (!camera)
        return;
    // Room for the markers standing on the outermost points: a margin of pixels on every side.
    const double padding = std::min(56.0, 0.15 * std::min(width(), height()));
    const double inner = std::min((width() - 2 * padding) / width(), (height() - 2 * padding) / height());
    camera->zoom = std::min(camera->zoom + std::log2(std::max(inner, 0.1)), automaticMaxZoom);
    camera->centre.setY((north + south) / 2);
    moveTo(*camera, motion);
}

void MapView::moveTo(const MapCamera &target, Motion motion)
{
    MapCamera to{{MapMath::nearestCopy(target.centre.x(), m_camera.centre.x()), target.centre.y()},
                 std::clamp(target.zoom, minZoom, maxZoom)};
    if (motion != Motion::Animated || !isComponentComplete() || !window()) {
        m_spring.reset();
        m_frames.stop();
        setCameraNow(to);
        if (width() <= 0 || height() <= 0)
            return;
        if (motion == Motion::Follow) {
            setMoving(true);
            m_settle.start();
        } else {
            finishMovement();
        }
        return;
    }
    // A new target keeps the speed the camera has now, so a move that replaces another does not jolt.
    MapCamera velocity;
    if (m_spring) {
        const double t = m_spring->clock.nsecsElapsed() / 1e9;
        const double e = std::exp(-springRate * t);
        const auto speed = [&](double from, double to, double v0) {
            const double a = from - to;
            const double b = v0 + springRate * a;
            return (b - springRate * (a + b * t)) * e;
        };
        velocity.centre = {
            speed(m_spring->from.centre.x(), m_spring->to.centre.x(), m_spring->velocity.centre.x()),
            speed(m_spring->from.centre.y(), m_spring->to.centre.y(), m_spring->velocity.centre.y())};
        velocity.zoom = speed(m_spring->from.zoom, m_spring->to.zoom, m_spring->velocity.zoom);
    }
    m_spring = Spring{m_camera, to, velocity, {}};
    m_spring->clock.start();
    m_settle.stop();
    setMoving(true);
    m_frames.start();
}

void MapView::step()
{
    if (!m_spring) {
        m_frames.stop();
        return;
    }
    const double t = m_spring->clock.nsecsElapsed() / 1e9;
    const double e = std::exp(-springRate * t);
    const auto at = [&](double from, double to, double v0) {
        const double a = from - to;
        return to + (a + (v0 + springRate * a) * t) * e;
    };
    const Spring &s = *m_spring;
    if (springRate * t >= springSettled) {
        const MapCamera end = s.to;
        m_spring.reset();
        m_frames.stop();
        setCameraNow(end);
        finishMovement();
        return;
    }
    setCameraNow({{at(s.from.centre.x(), s.to.centre.x(), s.velocity.centre.x()),
                   at(s.from.centre.y(), s.to.centre.y(), s.velocity.centre.y())},
                  at(s.from.zoom, s.to.zoom, s.velocity.zoom)});
}

void MapView::setCameraNow(MapCamera camera)
{
    camera.centre.setY(std::clamp(camera.centre.y(), 0.0, 1.0));
    camera.zoom = std::clamp(camera.zoom, minZoom, maxZoom);
    if (camera == m_camera)
        return;
    m_camera = camera;
    polish();
    update();
    emit cameraChanged();
}

void MapView::finishMovement()
{
    m_settle.stop();
    // Only what is reported is wrapped: the camera itself may have travelled several worlds.
    m_camera = m_camera.wrapped();
    m_region = m_camera.region(size());
    setMoving(false);
    polish();
    update();
    emit movementEnded(m_region, width());
}

void MapView::setMoving(bool moving)
{
    if (m_moving == moving)
        return;
    m_moving = moving;
    emit movingChanged();
}

void MapView::setAutomatic(bool automatic)
{
    if (m_automatic == automatic)
        return;
    m_automatic = automatic;
    emit automaticChanged();
}

void MapView::contentChanged()
{
    if (m_automatic)
        frameContent(Motion::Follow);
    polish();
}

QGeoCoordinate MapView::coordinateAt(const QPointF &point) const
{
    return m_camera.coordinateAt(point, size());
}

QPointF MapView::pointAt(const QGeoCoordinate &coordinate) const
{
    return itemPoint(MapMath::project(coordinate.latitude(), coordinate.longitude()));
}

QPointF MapView::itemPoint(QPointF world) const { return m_camera.itemPoint(world, size()); }

MapFrame MapView::cover(QQuickItem *layer) const
{
    layer->setPosition({0, 0});
    layer->setSize(size());
    return m_camera.frame();
}

void MapView::zoomAround(QPointF point, double zoom)
{
    setCameraNow(m_camera.zoomedAround(point, std::clamp(zoom, minZoom, maxZoom), size()));
}

void MapView::beginGesture()
{
    // The member's own move ends the automatic framing and any camera still on its way.
    setAutomatic(false);
    m_request.reset();
    m_spring.reset();
    m_frames.stop();
    setMoving(true);
}

void MapView::mousePressEvent(QMouseEvent *event)
{
    m_pressAt = event->position();
    m_lastDrag = m_pressAt;
    m_dragging = false;
    event->accept();
}

void MapView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(m_interactions & Pan))
        return;
    if (!m_dragging) {
        if ((event->position() - m_pressAt).manhattanLength() < 4)
            return;
        m_dragging = true;
        beginGesture();
    }
    const QPointF delta = event->position() - m_lastDrag;
    m_lastDrag = event->position();
    setCameraNow(m_camera.panned(delta));
}

void MapView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging) {
        m_dragging = false;
        finishMovement();
        return;
    }
    tapAt(event->position());
}

void MapView::tapAt(QPointF at)
{
    const QList<QQuickItem *> children = childItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto *layer = qobject_cast<MapMarkerLayer *>(*it);
        if (!layer || !layer->isVisible())
            continue;
        if (const int row = layer->markerAt(layer->mapFromItem(this, at)); row >= 0) {
            emit layer->clicked(row);
            return;
        }
    }
    emit tapped(coordinateAt(at));
}

void MapView::touchEvent(QTouchEvent *event)
{
    const QList<QEventPoint> &points = event->points();
    if (event->type() == QEvent::TouchCancel || event->isEndEvent()) {
        if (m_dragging)
            finishMovement();
        else if (event->type() == QEvent::TouchEnd && points.size() == 1)
            tapAt(points.front().position());
        m_dragging = false;
        m_touches = 0;
        return;
    }
    // The pan follows the fingers' middle; two fingers also zoom by the change of their distance.
    QPointF middle;
    for (const QEventPoint &p : points)
        middle += p.position() / double(points.size());
    const double spread =
        points.size() >= 2 ? QLineF(points.at(0).position(), points.at(1).position()).length() : 0;
    if (points.size() != m_touches) {
        m_touches = int(points.size());
        m_pressAt = middle;
        m_lastDrag = middle;
        m_lastSpread = spread;
        event->accept();
        return;
    }
    if (!m_dragging && (middle - m_pressAt).manhattanLength() < 4 && std::abs(spread - m_lastSpread) < 4)
        return;
    if (!m_dragging) {
        m_dragging = true;
        beginGesture();
    }
    if (m_interactions & Pan)
        setCameraNow(m_camera.panned(middle - m_lastDrag));
    if ((m_interactions & Zoom) && spread > 0 && m_lastSpread > 0)
        zoomAround(middle, m_camera.zoom + std::log2(spread / m_lastSpread));
    m_lastDrag = middle;
    m_lastSpread = spread;
}

void MapView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!(m_interactions & Zoom))
        return;
    const MapCamera closer =
        m_camera.zoomedAround(event->position(), std::min(m_camera.zoom + 1, maxZoom), size());
    beginGesture();
    moveTo(closer, Motion::Animated);
}

bool MapView::wheelScrollsPage()
{
    // A page that scrolls under a turning wheel brings the map under the pointer: that wheel goes on
    // scrolling the page, also once the page has reached its end, until it pauses. Only a wheel turned over
    // the map while its page is at rest zooms the map.
    constexpr qint64 latch = 400;
    bool pageMoving = false;
    for (const QQuickItem *above = parentItem(); above && !pageMoving; above = above->parentItem())
        pageMoving = above->inherits("QQuickFlickable") && above->property("moving").toBool();
    if (!pageMoving && !(m_pageWheel.isValid() && m_pageWheel.elapsed() < latch))
        return false;
    m_pageWheel.start();
    return true;
}

void MapView::wheelEvent(QWheelEvent *event)
{
    if (!(m_interactions & Zoom) || wheelScrollsPage()) {
        event->ignore();
        return;
    }
    // A notch (120) is half a zoom level; trackpads send pixels, a hundred of them one level.
    const double steps =
        event->pixelDelta().isNull() ? event->angleDelta().y() / 240.0 : event->pixelDelta().y() / 100.0;
    if (!m_moving || m_spring)
        beginGesture();
    zoomAround(event->position(), m_camera.zoom + steps);
    m_settle.start();
}

bool MapView::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture && (m_interactions & Zoom)) {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            if (!m_moving || m_spring)
                beginGesture();
            zoomAround(gesture->position(), m_camera.zoom + std::log2(1 + gesture->value()));
            m_settle.start();
            return true;
        }
        if (gesture->gestureType() == Qt::EndNativeGesture && m_moving && !m_spring) {
            finishMovement();
            return true;
        }
    }
    return QQuickItem::event(event);
}

void MapView::geometryChange(const QRectF &now, const QRectF &before)
{
    QQuickItem::geometryChange(now, before);
    if (now.size() != before.size())
        placeCompass();
    if (now.size() == before.size() || now.width() <= 0 || now.height() <= 0)
        return;
    // A resize comes in many steps: the movement it makes ends when they pause.
    if (m_automatic) {
        frameContent(Motion::Follow);
    } else if (m_request) {
        apply(*m_request, Motion::Follow);
    } else if (!m_spring && !m_dragging) {
        setMoving(true);
        m_settle.start();
    }
    polish();
    update();
}

void MapView::componentComplete()
{
    QQuickItem::componentComplete();
    if (m_automatic)
        frameContent(Motion::Follow);
    polish();
}

void MapView::itemChange(ItemChange change, const ItemChangeData &data)
{
    QQuickItem::itemChange(change, data);
    if (change == ItemChildAddedChange || change == ItemChildRemovedChange)
        contentChanged();
    if (change == ItemSceneChange)
        watchWindow(data.window);
}

void MapView::watchWindow(QQuickWindow *window)
{
    disconnect(m_windowFrames);
    // A scrolling view moves the map without telling it: each frame checks where the map shows.
    if (window)
        m_windowFrames = connect(window, &QQuickWindow::afterAnimating, this, &MapView::checkShownArea);
    checkShownArea();
}

QRectF MapView::areaInWindow() const
{
    const QQuickWindow *shownIn = window();
    if (!shownIn)
        return {};
    QRectF clip(QPointF(0, 0), shownIn->size());
    for (const QQuickItem *above = parentItem(); above; above = above->parentItem()) {
        if (above->clip())
            clip &= above->mapRectToScene(above->clipRect());
    }
    if (clip.isEmpty())
        return {};
    // Tiles and lines are ready a little before they scroll into view.
    const double margin = MapMath::tileSize;
    return mapRectFromScene(mapRectToScene(boundingRect()) & clip.adjusted(-margin, -margin, margin, margin));
}

void MapView::checkShownArea()
{
    const QRectF shown = areaInWindow();
    if (shown == m_shown)
        return;
    m_shown = shown;
    // Lines are placed for the new area in the next polish, tiles in this frame's synchronisation.
    polish();
    update();
}

void MapView::updatePolish()
{
    if (const QRectF shown = areaInWindow(); shown != m_shown) {
        m_shown = shown;
        update();
    }
    for (QQuickItem *child : childItems()) {
        if (auto *content = dynamic_cast<MapContent *>(child))
            content->place(*this);
        else if (auto *layer = qobject_cast<MapMarkerLayer *>(child))
            layer->place(*this);
    }
}

void MapView::requestTiles()
{
    const QSet<TileKey> wanted = std::exchange(m_wanted, {});
    for (const TileKey &key : wanted) {
        if (m_rendering.contains(key) || m_tiles.find(key))
            continue;
        m_rendering.insert(key);
        auto *watcher = new QFutureWatcher<QImage>(this);
        connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, key] {
            m_rendering.remove(key);
            m_tiles.insert(key, watcher->result());
            watcher->deleteLater();
            update();
        });
        watcher->setFuture(QtConcurrent::run([key] { return Tiles::render(key); }));
    }
}

QSGNode *MapView::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    auto *root = static_cast<TileLayerNode *>(old);
    if (!root) {
        root = new TileLayerNode;
        root->water = window()->createRectangleNode();
        root->appendChildNode(root->water);
    }
    const bool hybrid = m_style == Style::Hybrid;
    const bool relief = m_elevation == Elevation::Realistic;
    root->water->setRect(boundingRect());
    root->water->setColor(MapPalette::of(hybrid, m_dark).water);

    const int scale = std::max(1, int(std::ceil(window()->effectiveDevicePixelRatio())));
    // Tiles a little larger than they were drawn would blur, so the level is rounded up early.
    const int level = std::clamp(int(std::ceil(m_camera.zoom - 0.25)), 0, maxTileLevel);
    const int count = 1 << level;
    const double tile = m_camera.worldSize() / count;
    const QPointF origin = QPointF(width() / 2, height() / 2) - m_camera.centre * m_camera.worldSize();
    // Only the tiles of the part of the map that shows in the window: a map scrolled out of view draws none.
    const QRectF shown = m_shown & boundingRect();
    const bool none = shown.isEmpty();
    const int firstColumn = int(std::floor((shown.left() - origin.x()) / tile));
    const int lastColumn = none ? firstColumn - 1 : int(std::floor((shown.right() - origin.x()) / tile));
    const int firstRow = std::max(0, int(std::floor((shown.top() - origin.y()) / tile)));
    const int lastRow = std::min(count - 1, int(std::floor((shown.bottom() - origin.y()) / tile)));

    QHash<TileKey, TileLayerNode::Slot> kept;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const TileKey slotKey{level, column, row, scale, hybrid, m_dark, relief};
            TileKey key = slotKey;
            key.x = ((column % count) + count) % count;
            // While a tile is drawn, a cached tile of a coarser level stands in for it.
            TileKey source = key;
            const QImage *image = m_tiles.find(key);
            QRectF sourceRect;
            if (!image) {
                m_wanted.insert(key);
                for (int up = 1; up <= level && !image; ++up) {
                    source = {level - up, key.x >> up, key.y >> up, scale, hybrid, m_dark, relief};
                    image = m_tiles.find(source);
                    if (image) {
                        const double part = image->width() / double(1 << up);
                        sourceRect = QRectF((key.x - (source.x << up)) * part,
                                            (key.y - (source.y << up)) * part, part, part);
                    }
                }
            }
            if (!image)
                continue;
            if (sourceRect.isNull())
                sourceRect = QRectF(0, 0, image->width(), image->height());
            TileLayerNode::Slot slot = root->placed.take(slotKey);
            const bool added = !slot.node;
            if (added) {
                slot.node = window()->createImageNode();
                slot.node->setOwnsTexture(true);
                slot.node->setFiltering(QSGTexture::Linear);
            }
            if (added || !(slot.source == source)) {
                slot.node->setTexture(window()->createTextureFromImage(*image));
                slot.source = source;
            }
            slot.node->setSourceRect(sourceRect);
            // Edges on whole pixels, so neighbouring tiles meet without a seam.
            const double left = std::round(origin.x() + column * tile);
            const double top = std::round(origin.y() + row * tile);
            slot.node->setRect(QRectF(left, top, std::round(origin.x() + (column + 1) * tile) - left,
                                      std::round(origin.y() + (row + 1) * tile) - top));
            // The software renderer needs a node's texture and place before it sees the node.
            if (added)
                root->appendChildNode(slot.node);
            kept.insert(slotKey, slot);
        }
    }
    for (const TileLayerNode::Slot &gone : std::as_const(root->placed)) {
        root->removeChildNode(gone.node);
        delete gone.node;
    }
    root->placed = std::move(kept);
    // This runs on the render thread while the item's thread waits: the drawing is started from there.
    if (!m_wanted.isEmpty())
        QMetaObject::invokeMethod(this, &MapView::requestTiles, Qt::QueuedConnection);
    return root;
}
