// The map item in a window: regions after gestures, the end-of-movement report, automatic framing, markers.
#include "MapItems.h"
#include "MapMarkerLayer.h"
#include "MapTestSupport.h"
#include "MapView.h"
#include "PlaneMarker.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainterPathStroker>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

// A map of 800 x 600 whose camera shows 90° of longitude around the origin: zoom log2(12.5), the world
// 3,200 pixels wide.
struct Fixture : TestSupport::MapWindow
{
    Fixture()
        : MapWindow([](MapView &map) { map.showRegion(0, 0, 1, 90); })
    {
    }
};

QStandardItem *marker(double latitude, double longitude, double size)
{
    auto *item = new QStandardItem;
    item->setData(latitude, Qt::UserRole + 1);
    item->setData(longitude, Qt::UserRole + 2);
    item->setData(size, Qt::UserRole + 3);
    return item;
}

// One marker 48 points wide at the origin, its heading in the role after the size.
QStandardItem *largeTurnedMarker(QStandardItemModel &model)
{
    model.setItemRoleNames({{Qt::UserRole + 1, "latitude"},
                            {Qt::UserRole + 2, "longitude"},
                            {Qt::UserRole + 3, "size"},
                            {Qt::UserRole + 4, "heading"}});
    return marker(0, 0, 48);
}

// Ordinary, live, event, selected: the four states as the screens colour them.
const PlaneMarker::Colors states[4] = {
    PlaneMarker::colors(false, false, false), PlaneMarker::colors(false, false, true),
    PlaneMarker::colors(false, true, false), PlaneMarker::colors(true, false, false)};

// Markers with their colours (and, for the accessible names, callsign and aircraft).
void colouredRoles(QStandardItemModel &model)
{
    model.setItemRoleNames({{Qt::UserRole + 1, "latitude"},
                            {Qt::UserRole + 2, "longitude"},
                            {Qt::UserRole + 3, "size"},
                            {Qt::UserRole + 4, "heading"},
                            {Qt::UserRole + 5, "fill"},
                            {Qt::UserRole + 6, "outline"},
                            {Qt::UserRole + 7, "callsign"},
                            {Qt::UserRole + 8, "aircraft"}});
}

QStandardItem *colouredMarker(double latitude, double longitude, double size,
                              const PlaneMarker::Colors &colors)
{
    QStandardItem *item = marker(latitude, longitude, size);
    item->setData(QColor::fromRgba(colors.fill), Qt::UserRole + 5);
    item->setData(QColor::fromRgba(colors.outline), Qt::UserRole + 6);
    return item;
}

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The layer, laid out over the fixture's map and drawn.
MapMarkerLayer *shownLayer(Fixture &f, QStandardItemModel &model)
{
    auto *layer = new MapMarkerLayer(f.map);
    layer->setModel(&model);
    QCoreApplication::processEvents();
    f.map->polish();
    if (!QTest::qWaitForWindowExposed(&f.window, TestSupport::patience))
        return nullptr;
    if (!TestSupport::waitFor([&] { return layer->width() == 800.0; }))
        return nullptr;
    return layer;
}

// The four states side by side on a latitude, at longitudes -30, -10, 10 and 30, in one size; drawn.
// Waits until the layer shows the markers as they are now: the software renderer paints them on a worker
// thread.
bool markersDrawn(MapMarkerLayer *layer)
{
    return TestSupport::waitFor([layer] { return layer->frameStats().current; });
}

// Three markers of the live state, 40 points wide, for the zoom tests.
const QGeoCoordinate zoomPlaces[] = {{0, 0}, {6, 12}, {-8, -15}};

MapMarkerLayer *zoomMarkersShown(Fixture &f, QStandardItemModel &model)
{
    colouredRoles(model);
    for (const QGeoCoordinate &c : zoomPlaces)
        model.appendRow(colouredMarker(c.latitude(), c.longitude(), 40, states[1]));
    return shownLayer(f, model);
}

// The first of the zoom markers whose fill a frame does not show on its coordinate, or nothing. Within a
// pixel of it: a picture scaled to half its size draws the fuselage two pixels wide, so its middle pixel may
// be rounded onto the outline.
QString zoomMarkerAmiss(Fixture &f, const QImage &drawn)
{
    for (const QGeoCoordinate &c : zoomPlaces) {
        const QPoint at = f.map->pointAt(c).toPoint();
        bool filled = false;
        for (int dy = -1; dy <= 1 && !filled; ++dy)
            for (int dx = -1; dx <= 1 && !filled; ++dx)
                filled = distance(drawn.pixel(at + QPoint(dx, dy)), states[1].fill) <= 6;
        if (!filled)
            return QStringLiteral("(%1, %2): %3").arg(at.x()).arg(at.y()).arg(drawn.pixel(at), 8, 16);
    }
    return QString();
}

// The pixels of the first zoom marker's fill across its wings, within 30 pixels of its middle.
int zoomMarkerWidth(Fixture &f, const QImage &drawn)
{
    const QPoint middle = f.map->pointAt(zoomPlaces[0]).toPoint();
    int wide = 0;
    for (int x = middle.x() - 30; x <= middle.x() + 30; ++x)
        wide += distance(drawn.pixel(x, middle.y()), states[1].fill) <= 6 ? 1 : 0;
    return wide;
}

MapMarkerLayer *fourStatesShown(Fixture &f, QStandardItemModel &model, double latitude, double size)
{
    colouredRoles(model);
    for (int k = 0; k < 4; ++k)
        model.appendRow(colouredMarker(latitude, -30 + k * 20, size, states[k]));
    MapMarkerLayer *layer = shownLayer(f, model);
    QTest::qWait(100);
    if (layer && !markersDrawn(layer))
        return nullptr;
    return layer;
}

} // namespace

class MapViewTest : public QObject
{
    Q_OBJECT

private slots:
    void regionAfterPan();
    void regionAfterZoomAroundThePointer();
    void movementEndsOncePerGesture();
    void movementEndsOncePerAnimation();
    void automaticFramesAcrossTheAntimeridian();
    void topmostMarkerWins();
    void hitTestFollowsTheTurnedSilhouette_data();
    void hitTestFollowsTheTurnedSilhouette();
    void shadowFallsDownwards();
    void markerColoursAndOrderOnTop();
    void markersStayOnTheirPlacesWhileThePanIsCached();
    void snapshotLandingWhileMarkersPaintIsPainted();
    void zoomScalesTheMarkersPictureAndDrawsItAfreshAtTheEnd();
    void slowZoomStepsScaleThePictureUntilTheyPause();
    void sizesSeenBeforeKeepTheirCells();
    void markersInViewAreButtons();
    void compassShowsAndHides();
    void linesCoverOnlyWhatTheyCross();
    void scrolledAwayMapDrawsNothing();
    void tilesDrawnLaterLandInTheMap();
};

void MapViewTest::regionAfterPan()
{
    Fixture f;
    QSignalSpy ended(f.map, &MapView::movementEnded);
    QTest::mousePress(&f.window, Qt::LeftButton, {}, {500, 300});
    for (int x = 450; x >= 100; x -= 50)
        QTest::mouseMove(&f.window, {x, 300});
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, {100, 300});
    QCOMPARE(ended.size(), 1);
    // 400 pixels of a 3,200-pixel world dragged westwards bring 45° of longitude from the east.
    const MapRegion region = f.map->visibleRegion();
    QCOMPARE(qRound(region.longitude * 1000), 45000);
    QCOMPARE(qRound(region.longitudeSpan * 1000), 90000);
    QCOMPARE(qRound(region.latitude * 1000), 0);
    QCOMPARE(ended.front().at(1).toDouble(), 800.0);
}

void MapViewTest::regionAfterZoomAroundThePointer()
{
    Fixture f;
    QSignalSpy ended(f.map, &MapView::movementEnded);
    // One wheel notch is half a zoom level; the place under the pointer (22.5° E) stays under it.
    const QGeoCoordinate before = f.map->coordinateAt({600, 300});
    QWheelEvent wheel({600, 300}, f.window.mapToGlobal(QPointF(600, 300)), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&f.window, &wheel);
    QVERIFY(ended.wait(TestSupport::patience));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(qRound(before.longitude() * 1000), 22500);
    QCOMPARE(qRound(f.map->coordinateAt({600, 300}).longitude() * 1000), 22500);
    const MapRegion region = f.map->visibleRegion();
    // 22.5° - 200 px / (3,200 px x sqrt 2) x 360°, and 90° / sqrt 2.
    QCOMPARE(qRound(region.longitude * 100), 659);
    QCOMPARE(qRound(region.longitudeSpan * 100), 6364);
}

void MapViewTest::movementEndsOncePerGesture()
{
    Fixture f;
    QSignalSpy ended(f.map, &MapView::movementEnded);
    QSignalSpy moved(f.map, &MapView::cameraChanged);
    QTest::mousePress(&f.window, Qt::LeftButton, {}, {400, 300});
    for (int y = 310; y <= 400; y += 10)
        QTest::mouseMove(&f.window, {400, y});
    QVERIFY(moved.size() > 1);
    QCOMPARE(ended.size(), 0);
    const MapRegion during = f.map->visibleRegion();
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, {400, 400});
    QCOMPARE(ended.size(), 1);
    QVERIFY(f.map->visibleRegion().latitude > during.latitude);

    // Three notches in a burst are one movement.
    for (int i = 0; i < 3; ++i) {
        QWheelEvent wheel({400, 300}, f.window.mapToGlobal(QPointF(400, 300)), {}, {0, -120}, Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&f.window, &wheel);
    }
    QVERIFY(ended.wait(TestSupport::patience));
    QTest::qWait(400);
    QCOMPARE(ended.size(), 2);

    // Two fingers spreading from 200 to 300 pixels apart zoom in by log2(1.5), as one movement.
    const double zoom = f.map->zoomLevel();
    const std::unique_ptr<QPointingDevice> owned(QTest::createTouchDevice());
    QPointingDevice *touch = owned.get();
    QTest::touchEvent(&f.window, touch).press(0, {300, 300}).press(1, {500, 300});
    for (int d = 110; d <= 150; d += 10)
        QTest::touchEvent(&f.window, touch).move(0, {400 - d, 300}).move(1, {400 + d, 300});
    QCOMPARE(ended.size(), 2);
    QTest::touchEvent(&f.window, touch).release(0, {250, 300}).release(1, {550, 300});
    QCOMPARE(ended.size(), 3);
    QCOMPARE(qRound((f.map->zoomLevel() - zoom) * 1000), 585);

    // A resize in steps reports once, with the width it came to.
    for (int width = 700; width >= 500; width -= 100)
        f.map->setWidth(width);
    QVERIFY(ended.wait(TestSupport::patience));
    QTest::qWait(400);
    QCOMPARE(ended.size(), 4);
    QCOMPARE(ended.back().at(1).toDouble(), 500.0);
}

void MapViewTest::movementEndsOncePerAnimation()
{
    Fixture f;
    QSignalSpy ended(f.map, &MapView::movementEnded);
    QSignalSpy moved(f.map, &MapView::cameraChanged);
    f.map->setCamera({31.14, 121.8}, 200000, true);
    QVERIFY(f.map->moving());
    QVERIFY(ended.wait(TestSupport::patience));
    // The spring passed through several cameras but reported once, at its end.
    QVERIFY(moved.size() > 2);
    QTest::qWait(300);
    QCOMPARE(ended.size(), 1);
    QVERIFY(!f.map->moving());
    QCOMPARE(qRound(f.map->center().latitude() * 100), 3114);
    QCOMPARE(qRound(f.map->distance()), 200000);

    // A double click zooms in one level around the pointer, also as one animated movement.
    const double zoom = f.map->zoomLevel();
    QTest::mouseDClick(&f.window, Qt::LeftButton, {}, {400, 300});
    QVERIFY(ended.wait(TestSupport::patience));
    QTest::qWait(300);
    QCOMPARE(ended.size(), 2);
    QCOMPARE(qRound((f.map->zoomLevel() - zoom) * 1000), 1000);
}

void MapViewTest::automaticFramesAcrossTheAntimeridian()
{
    Fixture f;
    for (const QGeoCoordinate &c : {QGeoCoordinate(-17.76, 177.44), QGeoCoordinate(-13.83, -172.0)}) {
        auto *annotation = new MapAnnotation(f.map);
        annotation->setCoordinate(c);
    }
    f.map->showAll();
    QVERIFY(f.map->automatic());
    const MapRegion region = f.map->visibleRegion();
    // Framed across 180°, not the long way around the world.
    QVERIFY2(qAbs(region.longitude) > 175, qPrintable(QString::number(region.longitude)));
    QVERIFY(region.longitudeSpan > 10.56 && region.longitudeSpan < 40);
    for (const QPointF p : {f.map->pointAt({-17.76, 177.44}), f.map->pointAt({-13.83, -172.0})})
        QVERIFY(QRectF(0, 0, 800, 600).contains(p));

    // A gesture ends the automatic position.
    QTest::mousePress(&f.window, Qt::LeftButton, {}, {400, 300});
    QTest::mouseMove(&f.window, {300, 300});
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, {300, 300});
    QVERIFY(!f.map->automatic());
}

void MapViewTest::topmostMarkerWins()
{
    Fixture f;
    QStandardItemModel model;
    model.setItemRoleNames(
        {{Qt::UserRole + 1, "latitude"}, {Qt::UserRole + 2, "longitude"}, {Qt::UserRole + 3, "size"}});
    // Rows 0 and 1 overlap at the middle; row 2 stands alone to the east. 1° is 8.9 pixels here.
    model.appendRow(marker(0, 0, 30));
    model.appendRow(marker(0, 1, 30));
    model.appendRow(marker(0, 20, 30));
    MapMarkerLayer *layer = shownLayer(f, model);
    QVERIFY(layer);

    QCOMPARE(layer->markerAt({404, 300}), 1);
    QCOMPARE(layer->markerAt({390, 300}), 0);
    QCOMPARE(layer->markerAt({578, 300}), 2);
    QCOMPARE(layer->markerAt({400, 200}), -1);

    QSignalSpy clicked(layer, &MapMarkerLayer::clicked);
    QSignalSpy tapped(f.map, &MapView::tapped);
    QTest::mouseClick(&f.window, Qt::LeftButton, {}, {402, 300});
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.front().front().toInt(), 1);
    QCOMPARE(tapped.size(), 0);
    QTest::mouseClick(&f.window, Qt::LeftButton, {}, {400, 150});
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(tapped.size(), 1);
}

void MapViewTest::hitTestFollowsTheTurnedSilhouette_data()
{
    // A marker 48 points wide at the middle (400, 300), where a point is a pixel. Its right wing tip lies at
    // (20.8, 6) from the centre, nose up; the outline (1.4) adds 0.7 beyond it.
    QTest::addColumn<double>("heading");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("hit");
    QTest::newRow("0, on the edge") << 0.0 << QPointF(421.3, 306) << true;
    QTest::newRow("0, past the edge") << 0.0 << QPointF(421.9, 306) << false;
    QTest::newRow("90, on the edge") << 90.0 << QPointF(394, 321.3) << true;
    QTest::newRow("90, past the edge") << 90.0 << QPointF(394, 321.9) << false;
    QTest::newRow("180, on the edge") << 180.0 << QPointF(378.7, 294) << true;
    QTest::newRow("180, past the edge") << 180.0 << QPointF(378.1, 294) << false;
    QTest::newRow("270, on the edge") << 270.0 << QPointF(406, 278.7) << true;
    QTest::newRow("270, past the edge") << 270.0 << QPointF(406, 278.1) << false;
    // Guards the hit test that took a circle as wide as the marker: beside the turned box, inside that
    // circle.
    QTest::newRow("45, beside the turned box") << 45.0 << QPointF(416, 316) << false;
    QTest::newRow("45, inside the turned box") << 45.0 << QPointF(414, 314) << true;
}

void MapViewTest::hitTestFollowsTheTurnedSilhouette()
{
    QFETCH(double, heading);
    QFETCH(QPointF, point);
    QFETCH(bool, hit);
    Fixture f;
    QStandardItemModel model;
    QStandardItem *item = largeTurnedMarker(model);
    item->setData(heading, Qt::UserRole + 4);
    model.appendRow(item);
    MapMarkerLayer *layer = shownLayer(f, model);
    QVERIFY(layer);
    QCOMPARE(layer->markerAt(point), hit ? 0 : -1);
}

void MapViewTest::shadowFallsDownwards()
{
    // A marker 48 points wide at the middle, drawn over the same map without it: outside the drawn marker
    // only its shadow darkens the map. The silhouette is mirror-symmetric across the screen's horizontal
    // line at 90 and 270, and heading 180 mirrors heading 0, so without a downward shadow each pair would
    // darken as much above the centre as below it.
    Fixture f;
    QStandardItemModel model;
    QStandardItem *item = largeTurnedMarker(model);
    model.appendRow(item);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window, TestSupport::patience));
    QTest::qWait(300);
    const QImage bare = f.window.grabWindow();
    QTest::qWait(300);
    QCOMPARE(f.window.grabWindow(), bare);
    auto *layer = new MapMarkerLayer(f.map);
    layer->setModel(&model);
    QCoreApplication::processEvents();
    f.map->polish();
    QTRY_COMPARE(layer->width(), 800.0);

    const auto darkening = [&](double heading) {
        item->setData(heading, Qt::UserRole + 4);
        // Let the scene graph take the new heading before the grab.
        QTest::qWait(100);
        markersDrawn(layer);
        const QImage drawn = f.window.grabWindow();
        QTransform turn;
        turn.translate(400, 300);
        turn.rotate(heading);
        // The drawn marker and a pixel around it, where the marker's own colours are.
        QPainterPathStroker rim;
        rim.setWidth(1.4 + 3);
        const QPainterPath shape = turn.map(PlaneShape::path(QRectF(-24, -24, 48, 48)));
        const QPainterPath covered = shape.united(rim.createStroke(shape));
        double above = 0;
        double below = 0;
        for (int y = 265; y < 336; ++y) {
            for (int x = 365; x < 436; ++x) {
                if (covered.contains(QPointF(x + 0.5, y + 0.5)))
                    continue;
                const double d = qGray(bare.pixel(x, y)) - qGray(drawn.pixel(x, y));
                (y + 0.5 < 300 ? above : below) += d;
            }
        }
        return std::pair{above, below};
    };
    for (const auto &[first, second] : {std::pair{0.0, 180.0}, std::pair{90.0, 270.0}}) {
        const auto [above1, below1] = darkening(first);
        const auto [above2, below2] = darkening(second);
        const double above = above1 + above2;
        const double below = below1 + below2;
        QVERIFY2(below > 0 && below > 1.5 * above,
                 qPrintable(QStringLiteral("headings %1 and %2: %3 above, %4 below")
                                .arg(first)
                                .arg(second)
                                .arg(above)
                                .arg(below)));
    }
}

void MapViewTest::markerColoursAndOrderOnTop()
{
    // The four states side by side, 48 points wide, 8.9 pixels a degree: the middle of each silhouette is
    // its fill, the edge of its nose its outline.
    Fixture f;
    QStandardItemModel model;
    MapMarkerLayer *layer = fourStatesShown(f, model, 0, 48);
    QVERIFY(layer);
    const QImage drawn = f.window.grabWindow();
    for (int k = 0; k < 4; ++k) {
        const QPoint middle = f.map->pointAt({0, -30.0 + k * 20}).toPoint();
        const QRgb fill = drawn.pixel(middle);
        QVERIFY2(distance(fill, states[k].fill) <= 6,
                 qPrintable(QStringLiteral("state %1: %2 at the middle").arg(k).arg(fill, 8, 16)));
        // The nose's right side is at 2.7 points from the axis, 14 points above the middle; the outline
        // (1.4 points) is centred on it.
        const QRgb edge = drawn.pixel(middle + QPoint(2, -14));
        QVERIFY2(distance(edge, states[k].outline) < distance(edge, states[k].fill),
                 qPrintable(QStringLiteral("state %1: %2 on the outline").arg(k).arg(edge, 8, 16)));
    }

    // Two markers on one place: the later row is drawn over the earlier, whichever it is.
    model.clear();
    colouredRoles(model);
    model.appendRow(colouredMarker(0, 0, 48, states[2]));
    model.appendRow(colouredMarker(0, 0, 48, states[3]));
    QTest::qWait(100);
    QVERIFY(markersDrawn(layer));
    QVERIFY(distance(f.window.grabWindow().pixel(400, 300), states[3].fill) <= 6);
    model.insertRow(0, model.takeRow(1));
    QTest::qWait(100);
    QVERIFY(markersDrawn(layer));
    QVERIFY(distance(f.window.grabWindow().pixel(400, 300), states[2].fill) <= 6);
    QCOMPARE(layer->markerAt({400, 300}), 1);
}

void MapViewTest::markersStayOnTheirPlacesWhileThePanIsCached()
{
    // While the map only pans, the markers are a picture drawn once and moved with the map: they must stay
    // on their coordinates, drawn as sharply as when drawn afresh.
    Fixture f;
    QStandardItemModel model;
    colouredRoles(model);
    const QGeoCoordinate places[] = {{10, -20}, {-15, 25}, {30, 5}};
    for (const QGeoCoordinate &c : places)
        model.appendRow(colouredMarker(c.latitude(), c.longitude(), 40, states[1]));
    MapMarkerLayer *layer = shownLayer(f, model);
    QVERIFY(layer);
    QTest::qWait(100);
    QVERIFY(markersDrawn(layer));
    const QImage before = f.window.grabWindow();
    const QPoint first = f.map->pointAt(places[0]).toPoint();
    const QImage marker = before.copy(QRect(first - QPoint(24, 24), QSize(48, 48)));

    QTest::mousePress(&f.window, Qt::LeftButton, {}, {400, 300});
    const QPoint steps[] = {{390, 305}, {371, 318}, {352, 331}, {343, 337}};
    for (const QPoint &to : steps) {
        QTest::mouseMove(&f.window, to);
        QTest::qWait(50);
        const QImage during = f.window.grabWindow();
        QVERIFY2(layer->frameStats().cached, "a pan moves the cached picture");
        for (const QGeoCoordinate &c : places) {
            const QPoint at = f.map->pointAt(c).toPoint();
            QVERIFY2(
                distance(during.pixel(at), states[1].fill) <= 6,
                qPrintable(
                    QStringLiteral("%1 at (%2, %3)").arg(during.pixel(at), 8, 16).arg(at.x()).arg(at.y())));
        }
    }
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, steps[3]);
    // A whole-pixel pan moves the picture texel for pixel: the marker is the same picture.
    const QPoint moved = f.map->pointAt(places[0]).toPoint();
    QCOMPARE(moved - first, QPoint(-57, 37));
    QCOMPARE(f.window.grabWindow().copy(QRect(moved - QPoint(24, 24), QSize(48, 48))), marker);
}

// Regression: a snapshot that came while the markers of the one before were painting was never painted. The
// finished picture was taken while its painting still counted as running, so the picture asked for meanwhile
// was held back for good, and the map kept the old markers until the camera moved or the data changed again.
void MapViewTest::snapshotLandingWhileMarkersPaintIsPainted()
{
    Fixture f;
    QStandardItemModel model;
    colouredRoles(model);
    // Markers spread over the view, all in one state: the first of them stands where it stood before.
    const QGeoCoordinate first(12, -24);
    const auto snapshot = [&](int count, const PlaneMarker::Colors &colors) {
        model.removeRows(0, model.rowCount());
        QList<QStandardItem *> rows{colouredMarker(first.latitude(), first.longitude(), 40, colors)};
        for (int i = 1; i < count; ++i)
            rows.append(colouredMarker(-30 + i * 7 % 60, -40 + i * 13 % 80, 24, colors));
        model.invisibleRootItem()->appendRows(rows);
    };
    snapshot(10, states[0]);
    MapMarkerLayer *layer = shownLayer(f, model);
    QVERIFY(layer);
    if (f.window.rendererInterface()->graphicsApi() != QSGRendererInterface::Software)
        QSKIP("through a graphics device the markers are drawn with each frame, never painted apart");
    QVERIFY(markersDrawn(layer));
    // Waited for as the app's own loop waits: woken as the painting's news arrives, not at the next poll.
    const auto drawn = [layer] {
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (layer->frameStats().current)
                loop.quit();
        });
        limit.start(TestSupport::patience);
        poll.start(1);
        loop.exec();
        return layer->frameStats().current;
    };
    for (int round = 0; round < 12; ++round) {
        // The first snapshot is painting as the second lands, in the same turn of the loop.
        const PlaneMarker::Colors &was = states[round % 2 ? 3 : 0];
        const PlaneMarker::Colors &now = states[round % 2 ? 0 : 3];
        snapshot(1500, was);
        snapshot(600, now);
        QVERIFY2(drawn(),
                 qPrintable(QStringLiteral("round %1: the second snapshot is never painted").arg(round)));
        const QPoint at = f.map->pointAt(first).toPoint();
        QTRY_VERIFY2(
            distance(f.window.grabWindow().pixel(at), now.fill) <= 6,
            qPrintable(QStringLiteral("round %1: the first snapshot's markers are shown").arg(round)));
    }
}

void MapViewTest::zoomScalesTheMarkersPictureAndDrawsItAfreshAtTheEnd()
{
    // While the map zooms, the markers' last picture is scaled with it, the markers staying on their
    // coordinates; once the zoom has ended, they are drawn afresh, texel for pixel again (the software
    // renderer paints one new picture, on a worker thread). How many frames come, and whether one comes so
    // late that the zoom is taken to pause there and drawn afresh meanwhile, is the machine's: on a busy one
    // that happens, so the pictures drawn during the zoom are not counted.
    Fixture f;
    QStandardItemModel model;
    MapMarkerLayer *layer = zoomMarkersShown(f, model);
    QVERIFY(layer);
    QTRY_VERIFY(layer->frameStats().pictures > 0);
    QVERIFY(markersDrawn(layer));
    const int painted = layer->frameStats().pictures;
    QCOMPARE(zoomMarkerAmiss(f, f.window.grabWindow()), QString());

    // Twice as close, animated. Its first frame comes at once: the picture of before, scaled.
    f.map->setCamera(QGeoCoordinate(0, 0), f.map->distance() / 2, true);
    QVERIFY(f.map->moving());
    int frames = 0;
    while (f.map->moving()) {
        const QImage during = f.window.grabWindow();
        if (!f.map->moving())
            break;
        if (++frames == 1) {
            QVERIFY(layer->frameStats().cached);
            QCOMPARE(layer->frameStats().pictures, painted);
        }
        QCOMPARE(zoomMarkerAmiss(f, during), QString());
        QTest::qWait(30);
    }
    QVERIFY(frames >= 1);
    // Drawn afresh at its size once the zoom has ended, not scaled: 40 points across its wings, as before.
    QTRY_VERIFY(layer->frameStats().pictures > painted && markersDrawn(layer)
                && zoomMarkerWidth(f, f.window.grabWindow()) < 40);
    QCOMPARE(zoomMarkerAmiss(f, f.window.grabWindow()), QString());
}

void MapViewTest::slowZoomStepsScaleThePictureUntilTheyPause()
{
    // A zoom whose frames come slowly (a slow graphics device, a busy machine) is not taken for one that
    // pauses at each frame: its steps, here a tenth of a level each and some 100 ms apart, scale the cached
    // picture of the markers over a whole level either way, and it is drawn afresh once they pause.
    Fixture f;
    if (f.window.rendererInterface()->graphicsApi() == QSGRendererInterface::Software)
        QSKIP("the software renderer paints each zoom that comes to rest on its worker thread");
    QStandardItemModel model;
    MapMarkerLayer *layer = zoomMarkersShown(f, model);
    QVERIFY(layer);
    QVERIFY(markersDrawn(layer));
    const int atItsSize = zoomMarkerWidth(f, f.window.grabWindow());
    // One level in, down to where the map started and half a level back in.
    std::vector<double> levels;
    for (int step = 10; step >= 0; --step)
        levels.push_back(step / 10.0);
    for (int step = 1; step <= 5; ++step)
        levels.push_back(step / 10.0);
    int drawn = 0;
    // How far apart the steps come is the machine's: on a busy one a step may come so long after the others
    // that the zoom is rightly taken to pause there. A picture drawn afresh between steps is only allowed
    // after such a step, twice as long as the quickest.
    qint64 quickest = std::numeric_limits<qint64>::max();
    bool rested = false;
    QElapsedTimer sinceStep;
    for (size_t i = 0; i < levels.size(); ++i) {
        const qint64 gap = sinceStep.isValid() ? sinceStep.restart() : 0;
        if (!sinceStep.isValid())
            sinceStep.start();
        f.map->showRegion(0, 0, 1 / std::exp2(levels[i]), 90 / std::exp2(levels[i]));
        const QImage frame = f.window.grabWindow();
        // The first two steps give the zoom its pace.
        if (i == 1)
            drawn = layer->frameStats().pictures;
        if (i > 1) {
            if (layer->frameStats().pictures != drawn) {
                QVERIFY2(gap > 2 * quickest,
                         qPrintable(QStringLiteral("drawn afresh at step %1, %2 ms after the one before (the "
                                                   "quickest %3 ms)")
                                        .arg(i)
                                        .arg(gap)
                                        .arg(quickest)));
                drawn = layer->frameStats().pictures;
                rested = true;
            }
            QCOMPARE(zoomMarkerAmiss(f, frame), QString());
        }
        if (i > 0)
            quickest = std::min(quickest, gap);
        QTest::qWait(100);
    }
    // Half a level from where the picture was drawn, at either end of the level, it shows scaled.
    if (!rested) {
        const int scaled = zoomMarkerWidth(f, f.window.grabWindow());
        QVERIFY2(std::abs(scaled - atItsSize) > 4,
                 qPrintable(QStringLiteral("%1, %2").arg(scaled).arg(atItsSize)));
    }
    QTRY_VERIFY(layer->frameStats().pictures > drawn);
    const QImage after = f.window.grabWindow();
    QCOMPARE(zoomMarkerAmiss(f, after), QString());
    const int wide = zoomMarkerWidth(f, after);
    QVERIFY2(std::abs(wide - atItsSize) <= 1, qPrintable(QStringLiteral("%1, %2").arg(wide).arg(atItsSize)));
}

void MapViewTest::sizesSeenBeforeKeepTheirCells()
{
    // Markers take their sizes from the zoom level: sizes seen before find their cells in the atlas, new ones
    // are drawn once each, and every marker keeps its own cell however the atlas grows.
    Fixture f;
    QStandardItemModel model;
    MapMarkerLayer *layer = fourStatesShown(f, model, 20, 40);
    QVERIFY(layer);
    f.window.grabWindow();
    const int first = layer->frameStats().cellsDrawn;
    QCOMPARE(first, 1);
    const auto fillsRight = [&](const QImage &drawn) {
        for (int k = 0; k < 4; ++k) {
            const QRgb fill = drawn.pixel(f.map->pointAt({20, -30.0 + k * 20}).toPoint());
            if (distance(fill, states[k].fill) > 6)
                return false;
        }
        return true;
    };
    QVERIFY(fillsRight(f.window.grabWindow()));

    // Sixty sizes, 21 to 80 points (40 among them), below the four: shelf on shelf of new cells.
    for (int i = 0; i < 60; ++i)
        model.appendRow(colouredMarker(10 - (i / 10) * 7.5, -40 + (i % 10) * 9, 21 + i, states[i % 4]));
    QTest::qWait(100);
    QVERIFY(markersDrawn(layer));
    QImage drawn = f.window.grabWindow();
    QCOMPARE(layer->frameStats().cellsDrawn, first + 59);
    QVERIFY(fillsRight(drawn));
    for (const int i : {20, 27, 59}) {
        const QRgb fill = drawn.pixel(f.map->pointAt({10 - (i / 10) * 7.5, -40.0 + (i % 10) * 9}).toPoint());
        QVERIFY2(distance(fill, states[i % 4].fill) <= 6, qPrintable(QStringLiteral("size %1").arg(21 + i)));
    }

    // Back to the first size: nothing is drawn again.
    model.removeRows(4, 60);
    QTest::qWait(100);
    QVERIFY(markersDrawn(layer));
    drawn = f.window.grabWindow();
    QCOMPARE(layer->frameStats().cellsDrawn, first + 59);
    QVERIFY(fillsRight(drawn));
}

void MapViewTest::markersInViewAreButtons()
{
    // Through Qt's accessibility interfaces, in process, as a screen reader's bridge asks them.
    Fixture f;
    QStandardItemModel model;
    colouredRoles(model);
    const auto add = [&](double longitude, const QString &callsign, const QString &aircraft) {
        QStandardItem *item = colouredMarker(0, longitude, 30, states[0]);
        if (!callsign.isNull())
            item->setData(callsign, Qt::UserRole + 7);
        if (!aircraft.isNull())
            item->setData(aircraft, Qt::UserRole + 8);
        model.appendRow(item);
    };
    add(-20, QStringLiteral("CCA981"), QStringLiteral("Boeing 777-300ER"));
    add(100, QStringLiteral("AFR1"), QStringLiteral("Airbus A350"));
    add(10, QString(), QStringLiteral("Cessna 172"));
    add(10.5, QStringLiteral("VOR7"), QString());
    MapMarkerLayer *layer = shownLayer(f, model);
    QVERIFY(layer);

    // The layer is in the window's tree, under the map.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&f.window);
    QVERIFY(window);
    QAccessibleInterface *group = QAccessible::queryAccessibleInterface(layer);
    QVERIFY(group);
    QCOMPARE(group->role(), QAccessible::Grouping);
    bool reached = false;
    for (QAccessibleInterface *up = group; up && !reached; up = up->parent())
        reached = up == window;
    QVERIFY(reached);
    QAccessibleInterface *found = group;
    while (found && found->parent() && found->parent() != window)
        found = found->parent();
    QVERIFY(found && window->indexOfChild(found) >= 0);

    // The markers in view, in drawing order; the one at 100° E is out of view.
    QCOMPARE(group->childCount(), 3);
    const QStringList names = {QStringLiteral("CCA981，Boeing 777-300ER，查看飞行详情"),
                               QStringLiteral("飞机，Cessna 172，查看飞行详情"),
                               QStringLiteral("VOR7，，查看飞行详情")};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface *button = group->child(i);
        QVERIFY(button && button->isValid());
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), names.at(i));
        QCOMPARE(button->parent(), group);
        QCOMPARE(group->indexOfChild(button), i);
        // The same interface each time it is asked for.
        QCOMPARE(group->child(i), button);
        QVERIFY(button->actionInterface());
        QCOMPARE(button->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
    }
    // Where the marker is drawn: the box of its silhouette, on the screen.
    const QRect box = group->child(0)->rect();
    const QPoint middle = f.window.mapToGlobal(f.map->pointAt({0, -20}).toPoint());
    QVERIFY2(box.contains(middle) && box.width() < 30 && box.height() < 30,
             qPrintable(
                 QStringLiteral("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    // Under a point, the topmost marker: the later of the two that overlap.
    const QPoint overlap = f.window.mapToGlobal(f.map->pointAt({0, 10.3}).toPoint());
    QCOMPARE(group->childAt(overlap.x(), overlap.y()), group->child(2));

    // Pressing a button is a click on its marker.
    QSignalSpy clicked(layer, &MapMarkerLayer::clicked);
    group->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.front().front().toInt(), 2);

    // After a movement, the markers then in view.
    f.map->showRegion(0, 100, 1, 90);
    QTRY_COMPARE(group->childCount(), 1);
    QCOMPARE(group->child(0)->text(QAccessible::Name), QStringLiteral("AFR1，Airbus A350，查看飞行详情"));
    // After the markers change, their names follow.
    model.item(1)->setData(QStringLiteral("AFR2"), Qt::UserRole + 7);
    QCOMPARE(group->child(0)->text(QAccessible::Name), QStringLiteral("AFR2，Airbus A350，查看飞行详情"));
}

void MapViewTest::compassShowsAndHides()
{
    // The compass's red needle in the bottom-trailing corner, or none.
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window, TestSupport::patience));
    const auto needle = [&] {
        const QImage drawn = f.window.grabWindow();
        int red = 0;
        for (int y = 600 - 60; y < 600; ++y) {
            for (int x = 800 - 60; x < 800; ++x)
                red += distance(drawn.pixel(x, y), qRgb(255, 59, 48)) < 30 ? 1 : 0;
        }
        return red;
    };
    QVERIFY(!f.map->showsCompass());
    QTest::qWait(100);
    QCOMPARE(needle(), 0);

    QSignalSpy changed(f.map, &MapView::showsCompassChanged);
    f.map->setShowsCompass(true);
    QCOMPARE(changed.size(), 1);
    auto *compass = f.map->findChild<QQuickItem *>(QStringLiteral("compass"));
    QVERIFY(compass && compass->isVisible());
    QCOMPARE(compass->position() + QPointF(compass->width(), compass->height()), QPointF(790, 590));
    QTRY_VERIFY(needle() > 20);
    // It takes no clicks: a click there is on the map.
    QSignalSpy tapped(f.map, &MapView::tapped);
    QTest::mouseClick(&f.window, Qt::LeftButton, {}, {770, 570});
    QCOMPARE(tapped.size(), 1);
    // It stays in the corner as the map changes size.
    f.map->setSize({500, 400});
    QCOMPARE(compass->position(), QPointF(450, 350));
    f.map->setSize({800, 600});

    f.map->setShowsCompass(false);
    QCOMPARE(changed.size(), 2);
    QVERIFY(!compass->isVisible());
    QTRY_COMPARE(needle(), 0);
}

void MapViewTest::linesCoverOnlyWhatTheyCross()
{
    // A red line 4 points wide along the equator from 10° W to 10° E: about 178 of the world's 3,200 pixels
    // around the middle of the view.
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window, TestSupport::patience));
    auto *line = new MapPolyline(f.map);
    line->setGeodesic(false);
    line->setColor(Qt::red);
    line->setLineWidth(4);
    line->setPath({QGeoCoordinate(0, -10), QGeoCoordinate(0, 10)});
    f.map->polish();
    QTRY_VERIFY(line->width() > 0);
    const QPointF west = f.map->pointAt(QGeoCoordinate(0, -10));
    const QPointF east = f.map->pointAt(QGeoCoordinate(0, 10));
    QRectF covered(line->position(), line->size());
    QVERIFY(covered.contains(west) && covered.contains(east));
    // The line and the reach of its stroke (a miter of ten widths), not the whole map.
    QVERIFY2(covered.width() <= east.x() - west.x() + 2 * (10 * 4 + 1) + 2,
             qPrintable(QString::number(covered.width())));
    QVERIFY2(covered.height() <= 2 * (10 * 4 + 1) + 2, qPrintable(QString::number(covered.height())));
    QCOMPARE(covered.topLeft(), covered.toAlignedRect().topLeft());

    // Drawn where the line runs, whatever part of the view the item covers.
    const auto red = [](QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60; };
    QTRY_VERIFY(red(f.window.grabWindow().pixel(400, 300)));
    const QImage drawn = f.window.grabWindow();
    QVERIFY(red(drawn.pixel(int(west.x()) + 8, 300)));
    QVERIFY(red(drawn.pixel(int(east.x()) - 8, 300)));
    QVERIFY(!red(drawn.pixel(400, 320)));

    // Running out of the view, it is cut at the view's edge.
    line->setPath({QGeoCoordinate(0, -10), QGeoCoordinate(0, 80)});
    QTRY_VERIFY(line->x() + line->width() >= 799);
    covered = QRectF(line->position(), line->size());
    QVERIFY(QRectF(0, 0, 800, 600).contains(covered));
    QTRY_VERIFY(red(f.window.grabWindow().pixel(790, 300)));

    // Out of the view, it covers nothing.
    f.map->showRegion(0, -120, 1, 90);
    QTRY_COMPARE(line->width(), 0.0);
    QTRY_VERIFY(!red(f.window.grabWindow().pixel(400, 300)));

    // A wider stroke reaches further.
    f.map->showRegion(0, 0, 1, 90);
    QTRY_VERIFY(line->width() > 0);
    const double height = line->height();
    line->setLineWidth(8);
    QVERIFY2(qAbs(line->height() - (height + 2 * 10 * 4)) <= 1, qPrintable(QString::number(line->height())));
}

void MapViewTest::scrolledAwayMapDrawsNothing()
{
    // A map 400 points high in scrolled content under a clipping viewport of the window's size, as in the
    // dashboard's list; it shows Africa, and a red line runs along 10° N.
    QQuickWindow window;
    window.resize(800, 600);
    auto *viewport = new QQuickItem(window.contentItem());
    viewport->setSize({800, 600});
    viewport->setClip(true);
    auto *content = new QQuickItem(viewport);
    content->setSize({800, 2000});
    content->setY(-1000);
    auto *map = new MapView(content);
    map->setY(1200);
    map->setSize({800, 400});
    map->showRegion(10, 20, 1, 90);
    auto *line = new MapPolyline(map);
    line->setGeodesic(false);
    line->setColor(Qt::red);
    line->setLineWidth(4);
    line->setPath({QGeoCoordinate(10, 10), QGeoCoordinate(10, 30)});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestSupport::patience));

    // In view: the tiles and the line are drawn.
    QTRY_COMPARE(map->shownArea(), QRectF(0, 0, 800, 400));
    QTRY_VERIFY(line->width() > 0);
    const QPoint sudan = (map->pointAt(QGeoCoordinate(15, 30)) + QPointF(0, 200)).toPoint();
    const QRgb land = MapPalette::of(false, false).land.rgb();
    QTRY_VERIFY2(distance(window.grabWindow().pixel(sudan), land) <= 6,
                 qPrintable(QString::number(window.grabWindow().pixel(sudan), 16)));
    const QPoint onLine = (map->pointAt(QGeoCoordinate(10, 20)) + QPointF(0, 200)).toPoint();
    const QRgb red = window.grabWindow().pixel(onLine);
    QVERIFY2(qRed(red) > 200 && qGreen(red) < 60 && qBlue(red) < 60, qPrintable(QString::number(red, 16)));

    // Scrolled far below the viewport, more than a tile's margin: nothing of it is drawn.
    content->setY(0);
    QTRY_VERIFY(map->shownArea().isEmpty());
    QTRY_COMPARE(line->width(), 0.0);

    // Half out of the viewport's bottom edge: what shows and a tile's margin beyond it.
    content->setY(-700);
    QTRY_COMPARE(map->shownArea(), QRectF(0, 0, 800, 600 + MapMath::tileSize - 500));
    QTRY_VERIFY(line->width() > 0);
}

void MapViewTest::tilesDrawnLaterLandInTheMap()
{
    // Tiles are drawn away from the window's thread and added to the map as each arrives, after its first
    // frame: every one must land in the map's place and inside its clip, not where the window starts.
    QQuickWindow window;
    window.setColor(Qt::magenta);
    window.resize(800, 600);
    auto *map = new MapView(window.contentItem());
    map->setPosition({200, 150});
    map->setSize({400, 300});
    map->showRegion(5, 20, 1, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestSupport::patience));

    const QRect inside(200, 150, 400, 300);
    const QRgb land = MapPalette::of(false, false).land.rgb();
    const QPoint chad = (map->pointAt(QGeoCoordinate(15, 20)) + QPointF(200, 150)).toPoint();
    QImage drawn;
    QVERIFY(TestSupport::waitFor([&] {
        drawn = window.grabWindow();
        return distance(drawn.pixel(chad), land) <= 6;
    }));
    int outside = 0;
    for (int y = 0; y < drawn.height(); y += 4) {
        for (int x = 0; x < drawn.width(); x += 4) {
            if (!inside.contains(x, y) && (drawn.pixel(x, y) & 0xffffff) != 0xff00ff)
                ++outside;
        }
    }
    QCOMPARE(outside, 0);
}

QTEST_MAIN(MapViewTest)
#include "tst_map_view.moc"
