// Where the map meets its edges: the camera at the poles and at its deepest zoom, lines that cross the 180°
// meridian, and markers drawn again in every copy of the world that shows.
#include "Geodesy.h"
#include "MapMarkerLayer.h"
#include "MapMath.h"
#include "MapTestSupport.h"
#include "MapView.h"

#include <QQuickWindow>
#include <QStandardItemModel>
#include <QTest>

namespace {

// A map of 800 x 600 in a window of its own.
using Fixture = TestSupport::MapWindow;

// How much darker the pixel is in `drawn` than in `bare`, over a 5 x 5 square around it.
int darkening(const QImage &bare, const QImage &drawn, QPoint at)
{
    int sum = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx)
            sum += qGray(bare.pixel(at + QPoint(dx, dy))) - qGray(drawn.pixel(at + QPoint(dx, dy)));
    }
    return sum;
}

// A point of a continuous path: its longitude may run past 180°, which QGeoCoordinate's constructor refuses.
QGeoCoordinate onPath(double latitude, double longitude)
{
    QGeoCoordinate point(latitude, 0);
    point.setLongitude(longitude);
    return point;
}

} // namespace

class MapWrapTest : public QObject
{
    Q_OBJECT

private slots:
    void cameraStaysInsideTheWorld_data();
    void cameraStaysInsideTheWorld();
    void dragPastThePoleStopsAtIt();
    void crossingLatitudeLiesOnTheLine_data();
    void crossingLatitudeLiesOnTheLine();
    void markersDrawnInEveryCopyOfTheWorld();
};

void MapWrapTest::cameraStaysInsideTheWorld_data()
{
    QTest::addColumn<QGeoCoordinate>("asked");
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("latitude"); // where the centre comes to rest
    QTest::addColumn<double>("zoom");     // the zoom it comes to rest at, or -1: any zoom
    QTest::newRow("north pole") << QGeoCoordinate(89.9, 30) << 500000.0 << MapMath::maxLatitude << -1.0;
    QTest::newRow("south pole") << QGeoCoordinate(-89.9, 30) << 500000.0 << -MapMath::maxLatitude << -1.0;
    QTest::newRow("closer than the deepest zoom") << QGeoCoordinate(31.14, 121.8) << 0.5 << 31.14 << 16.0;
    QTest::newRow("further than the whole world") << QGeoCoordinate(0, 0) << 1e12 << 0.0 << 0.0;
}

void MapWrapTest::cameraStaysInsideTheWorld()
{
    QFETCH(QGeoCoordinate, asked);
    QFETCH(double, distance);
    QFETCH(double, latitude);
    QFETCH(double, zoom);
    Fixture f;
    f.map->setCamera(asked, distance);
    QVERIFY(qAbs(f.map->center().latitude() - latitude) < 1e-6);
    QVERIFY(qAbs(f.map->center().longitude() - asked.longitude()) < 1e-6);
    if (zoom >= 0)
        QCOMPARE(f.map->zoomLevel(), zoom);
    // What the map reports is centred there too.
    QVERIFY(qAbs(f.map->visibleRegion().latitude - latitude) < 1e-6);
}

void MapWrapTest::dragPastThePoleStopsAtIt()
{
    Fixture f;
    f.map->setCamera({70, 0}, 4e6);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window, TestSupport::patience));
    const double zoom = f.map->zoomLevel();
    // Dragged down far more than the rest of the world above: the middle stops at the northern limit.
    QTest::mousePress(&f.window, Qt::LeftButton, {}, {400, 20});
    for (int y = 60; y <= 580; y += 40)
        QTest::mouseMove(&f.window, {400, y});
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, {400, 580});
    QTRY_VERIFY(!f.map->moving());
    QVERIFY(qAbs(f.map->center().latitude() - MapMath::maxLatitude) < 1e-6);
    // The world's northern edge stands in the middle of the view, not below it.
    QVERIFY2(qAbs(f.map->pointAt({MapMath::maxLatitude, 0}).y() - 300) < 1e-6,
             qPrintable(QString::number(f.map->pointAt({MapMath::maxLatitude, 0}).y())));
    QCOMPARE(f.map->zoomLevel(), zoom);
    // And the deepest zoom holds against the wheel.
    f.map->setCamera({31.14, 121.8}, 100);
    for (int i = 0; i < 8; ++i) {
        QWheelEvent wheel({400, 300}, f.window.mapToGlobal(QPointF(400, 300)), {}, {0, 480}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&f.window, &wheel);
    }
    QTRY_VERIFY(!f.map->moving());
    QCOMPARE(f.map->zoomLevel(), 16.0);
}

void MapWrapTest::crossingLatitudeLiesOnTheLine_data()
{
    // Paths as the densified lines hand them over: longitudes run on past 180° rather than jumping.
    QTest::addColumn<QList<QGeoCoordinate>>("path");
    QTest::addColumn<double>("latitude"); // where the line meets the meridian
    QTest::newRow("eastwards, a quarter of the way")
        << QList<QGeoCoordinate>{onPath(10, 175), onPath(30, 195)} << 15.0;
    QTest::newRow("eastwards, half way") << QList<QGeoCoordinate>{onPath(10, 170), onPath(20, 190)} << 15.0;
    QTest::newRow("westwards") << QList<QGeoCoordinate>{onPath(-20, -172), onPath(-40, -192)} << -28.0;
    QTest::newRow("after a first leg")
        << QList<QGeoCoordinate>{onPath(0, 150), onPath(40, 170), onPath(60, 200)} << (40.0 + 20.0 / 3);
}

void MapWrapTest::crossingLatitudeLiesOnTheLine()
{
    QFETCH(QList<QGeoCoordinate>, path);
    QFETCH(double, latitude);
    const auto pieces = Geodesy::splitAtAntimeridian(path);
    QCOMPARE(pieces.size(), 2);
    QVERIFY(qAbs(pieces.at(0).back().latitude() - latitude) < 1e-9);
    QVERIFY(qAbs(pieces.at(1).front().latitude() - latitude) < 1e-9);
    QCOMPARE(qAbs(pieces.at(0).back().longitude()), 180.0);

    // On a great circle drawn point by point: the crossing lies between the points on either side of it.
    const QList<QGeoCoordinate> dense = Geodesy::densify({{35.55, 139.78}, {37.62, -122.38}});
    const auto split = Geodesy::splitAtAntimeridian(dense);
    QCOMPARE(split.size(), 2);
    const double before = split.at(0).at(split.at(0).size() - 2).latitude();
    const double after = split.at(1).at(1).latitude();
    const double crossing = split.at(0).back().latitude();
    QVERIFY2(crossing >= std::min(before, after) && crossing <= std::max(before, after),
             qPrintable(QStringLiteral("%1 between %2 and %3").arg(crossing).arg(before).arg(after)));
}

void MapWrapTest::markersDrawnInEveryCopyOfTheWorld()
{
    // At zoom 0 the world is 256 pixels wide and the 800-pixel view shows it three times over: a marker at
    // 0° stands at 144, 400 and 656, and one at 179° E at 15, 271, 527 and 783, by both edges of the view.
    Fixture f;
    f.map->setCamera({0, 0}, 1e12);
    QCOMPARE(f.map->zoomLevel(), 0.0);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window, TestSupport::patience));
    QTest::qWait(300);
    const QImage bare = f.window.grabWindow();

    QStandardItemModel model;
    model.setItemRoleNames(
        {{Qt::UserRole + 1, "latitude"}, {Qt::UserRole + 2, "longitude"}, {Qt::UserRole + 3, "size"}});
    for (const double longitude : {0.0, 179.0}) {
        auto *item = new QStandardItem;
        item->setData(0.0, Qt::UserRole + 1);
        item->setData(longitude, Qt::UserRole + 2);
        item->setData(16.0, Qt::UserRole + 3);
        model.appendRow(item);
    }
    auto *layer = new MapMarkerLayer(f.map);
    layer->setModel(&model);
    QCoreApplication::processEvents();
    f.map->polish();
    QTRY_COMPARE(layer->width(), 800.0);
    QTest::qWait(200);
    // The software renderer paints the markers on a worker thread.
    QTRY_VERIFY(layer->frameStats().current);
    const QImage drawn = f.window.grabWindow().scaled(bare.size());
    const double world = 256;
    const double east = 400 + 179.0 / 360 * world;
    for (const double x :
         {400 - world, 400.0, 400 + world, east - 2 * world, east - world, east, east + world})
        QVERIFY2(darkening(bare, drawn, QPoint(int(x), 300)) > 100, qPrintable(QString::number(x)));
    // Between the copies the map is as it was.
    QCOMPARE(darkening(bare, drawn, QPoint(int(400 + world / 4), 300)), 0);
}

QTEST_MAIN(MapWrapTest)
#include "tst_map_wrap.moc"
