// The map's arithmetic: projection, the distance rule, framing the short way, the camera's points and
// coordinates, geodesic lines, tiles, and the aircraft marker's silhouette, colours and outline.
#include "BaseMap.h"
#include "Geodesy.h"
#include "MapCamera.h"
#include "MapMath.h"
#include "PlaneMarker.h"
#include "RasterTiles.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(TileKey)

class MapGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void projectionRoundTrips_data();
    void projectionRoundTrips();
    void distanceAndZoom_data();
    void distanceAndZoom();
    void reportedRegionsShowAgainAtTheSameZoom_data();
    void reportedRegionsShowAgainAtTheSameZoom();
    void framingTakesTheShortWay_data();
    void framingTakesTheShortWay();
    void cameraZoomsAroundThePointUnderIt_data();
    void cameraZoomsAroundThePointUnderIt();
    void geodesicDistanceIsOnTheEllipsoid();
    void densifiedLinesKeepTheirPoints();
    void linesSplitAtTheAntimeridian_data();
    void linesSplitAtTheAntimeridian();
    void tileCacheKeepsTheRecentWithinBounds();
    void tilesDrawLandApartFromWater();
    void standardStyleBordersAndNamesStandOut();
    void truncatedBaseMapIsEmpty();
    void rasterLayersDecodeWholeFilesOnly();
    void rasterCoversCloserThanTheirDeepestLevel_data();
    void rasterCoversCloserThanTheirDeepestLevel();
    void reliefShadesTheLandOnly();
    void rasterMarginComesFromTheNeighbours();
    void imageryEdgesAreCodedAsFinelyAsItsInside();
    void rasterRunsOnAcrossItsSourceTiles_data();
    void rasterRunsOnAcrossItsSourceTiles();
    void silhouetteCoversItsOutline_data();
    void silhouetteCoversItsOutline();
    void silhouetteStretchesOntoItsRectangle();
    void markerColoursFollowTheFirstStateThatHolds_data();
    void markerColoursFollowTheFirstStateThatHolds();
    void outlineIsNeverThinnerThanOnePoint_data();
    void outlineIsNeverThinnerThanOnePoint();
};

void MapGeometryTest::projectionRoundTrips_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("expectedLatitude");
    QTest::addColumn<double>("expectedLongitude");
    QTest::newRow("origin") << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("Beijing") << 40.08 << 116.58 << 40.08 << 116.58;
    QTest::newRow("southern hemisphere, west") << -33.95 << -70.78 << -33.95 << -70.78;
    QTest::newRow("northern limit") << 85.05 << 10.0 << 85.05 << 10.0;
    QTest::newRow("southern limit") << -85.05 << -10.0 << -85.05 << -10.0;
    QTest::newRow("beyond the limit is clamped") << 89.0 << 0.0 << 85.0511287798 << 0.0;
    QTest::newRow("longitude wraps east") << 10.0 << 190.0 << 10.0 << -170.0;
    QTest::newRow("longitude wraps west") << 10.0 << -541.0 << 10.0 << 179.0;
}

void MapGeometryTest::projectionRoundTrips()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, expectedLatitude);
    QFETCH(double, expectedLongitude);
    const QGeoCoordinate back = MapMath::unproject(MapMath::project(latitude, longitude));
    QVERIFY2(qAbs(back.latitude() - expectedLatitude) < 1e-9,
             qPrintable(QString::number(back.latitude(), 'f', 12)));
    QVERIFY2(qAbs(back.longitude() - expectedLongitude) < 1e-9,
             qPrintable(QString::number(back.longitude(), 'f', 12)));
}

void MapGeometryTest::distanceAndZoom_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("zoom");
    // The view's height spans the distance at the centre: log2(40,075,016.686 m x cos(lat) x height / (256 x
    // d)).
    QTest::newRow("world view at the equator") << 35000000.0 << 0.0 << 1000.0 << 2.161132483662942;
    QTest::newRow("close view at 60° north") << 1000000.0 << 60.0 << 800.0 << 5.968487405720547;
}

void MapGeometryTest::distanceAndZoom()
{
    QFETCH(double, distance);
    QFETCH(double, latitude);
    QFETCH(double, height);
    QFETCH(double, zoom);
    QVERIFY(qAbs(MapMath::zoomForDistance(distance, latitude, height) - zoom) < 1e-9);
    QVERIFY(qAbs(MapMath::distanceForZoom(zoom, latitude, height) - distance) < 1e-3);
}

void MapGeometryTest::reportedRegionsShowAgainAtTheSameZoom_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSizeF>("size");
    QTest::newRow("wide, at 28° north") << 28.0 << 3.2 << QSizeF(1000, 700);
    QTest::newRow("tall, at 70° north") << 70.0 << 5.0 << QSizeF(400, 900);
    QTest::newRow("close, south") << -33.95 << 11.0 << QSizeF(800, 600);
}

// Regression: moving the camera to the region it reported must keep the zoom, not zoom out a little each
// time.
void MapGeometryTest::reportedRegionsShowAgainAtTheSameZoom()
{
    QFETCH(double, latitude);
    QFETCH(double, zoom);
    QFETCH(QSizeF, size);
    const MapRegion region = MapMath::regionFor(MapMath::project(latitude, 10), zoom, size);
    QVERIFY(qAbs(region.latitude - latitude) < 1e-9);
    QVERIFY2(qAbs(MapMath::zoomForRegion(region, size) - zoom) < 1e-6,
             qPrintable(QString::number(MapMath::zoomForRegion(region, size))));
}

void MapGeometryTest::framingTakesTheShortWay_data()
{
    QTest::addColumn<QList<QGeoCoordinate>>("points");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("longitudeSpan");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("latitudeSpan");
    QTest::newRow("Fiji to Samoa across 180°")
        << QList<QGeoCoordinate>{{-17.76, 177.44}, {-13.83, -172.0}} << -177.28 << 10.56 << -15.795 << 3.93;
    QTest::newRow("Beijing and Shanghai")
        << QList<QGeoCoordinate>{{40.08, 116.58}, {31.14, 121.8}} << 119.19 << 5.22 << 35.61 << 8.94;
    QTest::newRow("Tokyo, Honolulu, San Francisco")
        << QList<QGeoCoordinate>{{35.55, 139.78}, {21.32, -157.92}, {37.62, -122.38}} << -171.3 << 97.84
        << 29.47 << 16.3;
}

void MapGeometryTest::framingTakesTheShortWay()
{
    QFETCH(QList<QGeoCoordinate>, points);
    QFETCH(double, longitude);
    QFETCH(double, longitudeSpan);
    QFETCH(double, latitude);
    QFETCH(double, latitudeSpan);
    const auto region = MapMath::enclosingRegion(points);
    QVERIFY(region);
    QCOMPARE(qRound(region->longitude * 100), qRound(longitude * 100));
    QCOMPARE(qRound(region->longitudeSpan * 100), qRound(longitudeSpan * 100));
    QCOMPARE(qRound(region->latitude * 1000), qRound(latitude * 1000));
    QCOMPARE(qRound(region->latitudeSpan * 100), qRound(latitudeSpan * 100));
}

void MapGeometryTest::cameraZoomsAroundThePointUnderIt_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<double>("level");
    QTest::newRow("in, off the middle") << 40.08 << 116.58 << 5.0 << QPointF(620, 180) << 6.5;
    QTest::newRow("out, at a corner") << -33.95 << -70.78 << 9.0 << QPointF(0, 600) << 3.0;
    QTest::newRow("across 180°") << -15.0 << 179.0 << 4.0 << QPointF(790, 300) << 5.0;
    QTest::newRow("a camera several worlds east") << 10.0 << 1090.0 << 2.0 << QPointF(100, 500) << 2.5;
}

// The coordinate under a point of the view stays under it when the camera zooms around the point, and the
// point is where the view places that coordinate (the copy nearest the middle), before and after.
void MapGeometryTest::cameraZoomsAroundThePointUnderIt()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, zoom);
    QFETCH(QPointF, point);
    QFETCH(double, level);
    const QSizeF view(800, 600);
    const MapCamera camera{MapMath::project(latitude, longitude), zoom};
    const QGeoCoordinate under = camera.coordinateAt(point, view);
    const MapCamera closer = camera.zoomedAround(point, level, view);
    QCOMPARE(closer.zoom, level);
    const QGeoCoordinate still = closer.coordinateAt(point, view);
    QVERIFY2(qAbs(still.latitude() - under.latitude()) < 1e-9
                 && qAbs(still.longitude() - under.longitude()) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(still.latitude()).arg(still.longitude())));
    for (const MapCamera &c : {camera, closer, closer.wrapped()}) {
        const QPointF at = c.itemPoint(MapMath::project(under.latitude(), under.longitude()), view);
        QVERIFY2((at - point).manhattanLength() < 1e-6,
                 qPrintable(QStringLiteral("%1, %2").arg(at.x()).arg(at.y())));
    }
}

void MapGeometryTest::geodesicDistanceIsOnTheEllipsoid()
{
    // One degree along the equator of WGS 84 is 6,378,137 m x pi / 180; a sphere would give 111,195 m.
    QCOMPARE(qRound(Geodesy::distance({0, 0}, {0, 1}) * 100), 11131949);
    // Along a meridian the ellipsoid's degree is shorter at the equator than at the pole.
    QVERIFY(Geodesy::distance({0, 0}, {1, 0}) < Geodesy::distance({88, 0}, {89, 0}));
}

void MapGeometryTest::densifiedLinesKeepTheirPoints()
{
    const QList<QGeoCoordinate> path{{40.08, 116.58}, {31.14, 121.8}, {22.31, 113.91}};
    const QList<QGeoCoordinate> dense = Geodesy::densify(path, 50000);
    QCOMPARE(dense.front(), path.front());
    QCOMPARE(dense.back(), path.back());
    QVERIFY(dense.contains(path.at(1)));
    for (qsizetype i = 1; i < dense.size(); ++i)
        QVERIFY(Geodesy::distance(dense.at(i - 1), dense.at(i)) <= 50000.5);
    // A great circle from Beijing to Shanghai bends north of the straight line on the map: its middle
    // lies further north than the middle of the two latitudes.
    const QList<QGeoCoordinate> leg = Geodesy::densify({path.at(0), path.at(1)}, 10000);
    QVERIFY(leg.at(leg.size() / 2).latitude() > (40.08 + 31.14) / 2);
}

void MapGeometryTest::linesSplitAtTheAntimeridian_data()
{
    QTest::addColumn<QList<QGeoCoordinate>>("path");
    QTest::addColumn<int>("pieces");
    QTest::newRow("Tokyo to San Francisco") << QList<QGeoCoordinate>{{35.55, 139.78}, {37.62, -122.38}} << 2;
    QTest::newRow("San Francisco to Tokyo") << QList<QGeoCoordinate>{{37.62, -122.38}, {35.55, 139.78}} << 2;
    QTest::newRow("Beijing to Shanghai") << QList<QGeoCoordinate>{{40.08, 116.58}, {31.14, 121.8}} << 1;
    QTest::newRow("there and back") << QList<QGeoCoordinate>{{-17.76, 177.44},
                                                             {-13.83, -172.0},
                                                             {-17.76, 177.44}}
                                    << 3;
}

void MapGeometryTest::linesSplitAtTheAntimeridian()
{
    QFETCH(QList<QGeoCoordinate>, path);
    QFETCH(int, pieces);
    const auto split = Geodesy::splitAtAntimeridian(Geodesy::densify(path));
    QCOMPARE(split.size(), pieces);
    for (qsizetype i = 0; i < split.size(); ++i) {
        for (const QGeoCoordinate &c : split.at(i))
            QVERIFY(c.longitude() >= -180 && c.longitude() <= 180);
        if (i == 0)
            continue;
        // Each piece starts where the last ended, on the other side of the same meridian.
        const QGeoCoordinate end = split.at(i - 1).back();
        const QGeoCoordinate start = split.at(i).front();
        QCOMPARE(qAbs(end.longitude()), 180.0);
        QCOMPARE(start.longitude(), -end.longitude());
        QCOMPARE(start.latitude(), end.latitude());
    }
    QCOMPARE(split.front().front().latitude(), path.front().latitude());
    QCOMPARE(split.back().back().longitude(), path.back().longitude());
}

void MapGeometryTest::tileCacheKeepsTheRecentWithinBounds()
{
    TileCache cache(3);
    const auto key = [](int x) { return TileKey{2, x, 1, 1, false, false}; };
    for (int x = 0; x < 3; ++x)
        cache.insert(key(x), QImage(1, 1, QImage::Format_ARGB32));
    QVERIFY(cache.find(key(0)));
    cache.insert(key(3), QImage(1, 1, QImage::Format_ARGB32));
    cache.insert(key(4), QImage(1, 1, QImage::Format_ARGB32));
    QCOMPARE(cache.size(), 3);
    // Tile 0 was used last of the first three, so 1 and 2 made room.
    QVERIFY(cache.find(key(0)));
    QVERIFY(!cache.find(key(1)));
    QVERIFY(!cache.find(key(2)));
    QVERIFY(cache.find(key(4)));
    // The same tile in another appearance is another tile.
    QVERIFY(!cache.find(TileKey{2, 4, 1, 1, false, true}));
}

void MapGeometryTest::tilesDrawLandApartFromWater()
{
    const BaseMap &map = BaseMap::bundled();
    QVERIFY(!map.isEmpty());
    for (const TileKey key : {TileKey{0, 0, 0, 1, false, false}, TileKey{0, 0, 0, 1, true, true}}) {
        const QImage world = Tiles::render(key);
        QCOMPARE(world.size(), QSize(256, 256));
        const auto pixel = [&](double latitude, double longitude) {
            const QPointF p = MapMath::project(latitude, longitude) * 256;
            return world.pixel(p.toPoint());
        };
        // The middle of the Pacific and of the South Atlantic are water; Algeria and Siberia land, of one
        // colour in the standard style, the imagery's desert and taiga in the hybrid one.
        QCOMPARE(pixel(0, -150), pixel(-30, -15));
        QVERIFY(pixel(28, 2) != pixel(0, -150));
        QVERIFY(pixel(65, 110) != pixel(0, -150));
        QCOMPARE(pixel(28, 2) == pixel(65, 110), !key.hybrid);
    }
}

namespace {

// The contrast of two colours as WCAG measures it, from 1 (none) to 21.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto channel = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
               + 0.0722 * channel(colour.blueF());
    };
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

} // namespace

// Regression: the standard style's borders were a shade off its land, unseen at region zoom, and it had
// no names. Its borders stand out from the land as graphics must (3:1), its names from their halo as text
// must (4.5:1), and the halo blends into the land.
void MapGeometryTest::standardStyleBordersAndNamesStandOut()
{
    for (const bool dark : {false, true}) {
        const MapPalette palette = MapPalette::of(false, dark);
        QVERIFY2(contrast(palette.border, palette.land) >= 3, dark ? "dark" : "light");
        QVERIFY2(contrast(palette.label, palette.halo) >= 4.5, dark ? "dark" : "light");
        QVERIFY2(contrast(palette.label, palette.land) >= 4.5, dark ? "dark" : "light");
        QVERIFY(contrast(QColor(palette.halo.rgb()), palette.land) < 1.5);
    }
}

// Regression: a file cut short must not give a map with half the world missing.
void MapGeometryTest::truncatedBaseMapIsEmpty()
{
    QFile file(QStringLiteral(":/maps/basemap.bin"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!BaseMap::decode(bytes).isEmpty());
    QVERIFY(BaseMap::decode(bytes.left(bytes.size() / 2)).isEmpty());
    QVERIFY(BaseMap::decode(QByteArray("VMAP")).isEmpty());

    // Regression: a damaged file whose steps run past 64 bits overflowed the running position.
    const QByteArray largest = QByteArray::fromHex("feffffffffffffffff01"); // the step 2^63 - 1
    QByteArray damaged = QByteArray("VMAP")
                         + QByteArray::fromHex("01000000"
                                               "00000000"
                                               "01000000"
                                               "0000"
                                               "01000000"
                                               "02");
    damaged += largest + QByteArray(1, 0) + largest + QByteArray(1, 0);
    QVERIFY(BaseMap::decode(damaged).isEmpty());
    // A count of points the remaining bytes cannot hold ends the reading at once.
    QVERIFY(BaseMap::decode(QByteArray("VMAP")
                            + QByteArray::fromHex("01000000"
                                                  "00000000"
                                                  "01000000"
                                                  "0000"
                                                  "01000000"
                                                  "ffffffff0f"
                                                  "0000"))
                .isEmpty());
}

namespace {

// A raster layer's bytes: its header, then each tile as level, column, row and picture bytes.
QByteArray rasterFile(int deepest, const QList<std::tuple<int, int, int, QByteArray>> &tiles, quint32 count,
                      int gutter = 8)
{
    QByteArray bytes("VRST");
    const auto u32 = [&](quint32 v) { bytes.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { bytes.append(reinterpret_cast<const char *>(&v), 2); };
    u32(2);
    u32(4);
    bytes += "test";
    bytes += char(deepest);
    bytes += char(gutter);
    u32(count);
    for (const auto &[level, x, y, picture] : tiles) {
        bytes += char(level);
        u16(quint16(x));
        u16(quint16(y));
        u32(quint32(picture.size()));
        bytes += picture;
    }
    return bytes;
}

} // namespace

void MapGeometryTest::rasterLayersDecodeWholeFilesOnly()
{
    // The layers the app carries: the relief to level 5, the imagery to level 3, each naming its source.
    QCOMPARE(RasterTiles::relief().deepestLevel(), 5);
    QCOMPARE(RasterTiles::imagery().deepestLevel(), 3);
    QVERIFY(RasterTiles::relief().source().contains("SRTM"));
    QVERIFY(RasterTiles::imagery().source().contains("NASA"));

    const QByteArray picture("not a picture but bytes");
    QVERIFY(!RasterTiles::decode(rasterFile(1, {{0, 0, 0, picture}, {1, 1, 1, picture}}, 2)).isEmpty());
    QVERIFY(RasterTiles::decode(rasterFile(1, {{0, 0, 0, picture}}, 2)).isEmpty());       // a tile short
    QVERIFY(RasterTiles::decode(rasterFile(1, {{0, 0, 0, picture}}, 1) + "x").isEmpty()); // bytes left over
    QVERIFY(RasterTiles::decode(rasterFile(1, {{2, 0, 0, picture}}, 1)).isEmpty());       // below the deepest
    QVERIFY(RasterTiles::decode(rasterFile(1, {{1, 2, 0, picture}}, 1)).isEmpty());       // no such column
    QVERIFY(RasterTiles::decode(rasterFile(1, {{0, 0, 0, picture}}, 0xffffffff)).isEmpty());
    QVERIFY(
        RasterTiles::decode(rasterFile(1, {{0, 0, 0, picture}}, 1, 200)).isEmpty()); // a gutter past reason
    QByteArray first = rasterFile(1, {{0, 0, 0, picture}}, 1);
    first[4] = 1; // the first version's tiles had no gutter
    QVERIFY(RasterTiles::decode(first).isEmpty());
    // Each layer's tiles carry a gutter of 8 pixels.
    QCOMPARE(RasterTiles::imagery().gutter(), 8);
    QCOMPARE(RasterTiles::relief().gutter(), 8);
    QVERIFY(RasterTiles::decode(QByteArray("VRST")).isEmpty());
    QByteArray other = rasterFile(1, {{0, 0, 0, picture}}, 1);
    other[0] = 'X';
    QVERIFY(RasterTiles::decode(other).isEmpty());
    // A tile whose bytes are no picture covers nothing.
    QVERIFY(!RasterTiles::decode(rasterFile(0, {{0, 0, 0, picture}}, 1)).cover(0, 0, 0));
}

void MapGeometryTest::rasterCoversCloserThanTheirDeepestLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("covered");
    QTest::addColumn<QRectF>("part");
    // The parts lie in the tile's picture inside its gutter of 8 pixels.
    QTest::newRow("the world") << 0 << 0 << 0 << true << QRectF(8, 8, 256, 256);
    QTest::newRow("its own level") << 3 << 6 << 3 << true << QRectF(8, 8, 256, 256);
    QTest::newRow("two levels closer") << 5 << 9 << 14 << true << QRectF(72, 136, 64, 64);
    QTest::newRow("column wrapped") << 5 << -23 << 14 << true << QRectF(72, 136, 64, 64);
    QTest::newRow("ten levels closer") << 13 << 1025 << 2047 << true << QRectF(8.25, 263.75, 0.25, 0.25);
    QTest::newRow("below the world") << 2 << 0 << 4 << false << QRectF();
    QTest::newRow("above the world") << 2 << 0 << -1 << false << QRectF();
}

void MapGeometryTest::rasterCoversCloserThanTheirDeepestLevel()
{
    QFETCH(int, level);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, covered);
    QFETCH(QRectF, part);
    const auto cover = RasterTiles::imagery().cover(level, x, y);
    QCOMPARE(bool(cover), covered);
    if (cover) {
        QCOMPARE(cover->picture.size(), QSize(256 + 16, 256 + 16));
        QCOMPARE(cover->part, part);
    }
}

void MapGeometryTest::reliefShadesTheLandOnly()
{
    // The Himalaya's southern slopes and the Bay of Bengal, on the tile of level 3 that holds both.
    const auto at = [](const QImage &tile, double latitude, double longitude) {
        const QPointF p = MapMath::project(latitude, longitude) * 8 * 256 - QPointF(5 * 256, 3 * 256);
        return tile.pixel(p.toPoint());
    };
    for (const bool hybrid : {false, true}) {
        const TileKey flat{3, 5, 3, 1, hybrid, false, false};
        TileKey realistic = flat;
        realistic.relief = true;
        const QImage plain = Tiles::render(flat);
        const QImage shaded = Tiles::render(realistic);
        QCOMPARE(at(shaded, 15, 88), at(plain, 15, 88));
        int shadedPixels = 0;
        for (double latitude = 27; latitude < 29.5; latitude += 0.1)
            shadedPixels += at(shaded, latitude, 86.9) != at(plain, latitude, 86.9) ? 1 : 0;
        QVERIFY2(shadedPixels > 15, qPrintable(QString::number(shadedPixels)));
        // No open water has relief: the Pacific's tiles stay the same, and no relief tile is there.
        const TileKey pacific{5, 4, 17, 1, hybrid, false, false};
        TileKey pacificRelief = pacific;
        pacificRelief.relief = true;
        QCOMPARE(Tiles::render(pacificRelief), Tiles::render(pacific));
        QVERIFY(!RasterTiles::relief().cover(5, 4, 17));
    }
    // Closer in than a few levels past its deepest, the relief has faded away.
    QCOMPARE(Tiles::render(TileKey{10, 758, 429, 1, false, false, true}),
             Tiles::render(TileKey{10, 758, 429, 1, false, false, false}));
}

void MapGeometryTest::rasterMarginComesFromTheNeighbours()
{
    const RasterTiles &imagery = RasterTiles::imagery();
    const auto pixel = [](const QImage &picture, int x, int y) { return picture.pixel(x, y) | 0xff000000; };
    // A tile's own pixels start inside its gutter.
    const auto own = [&](int x, int y) { return imagery.cover(3, x, y)->picture.copy(8, 8, 256, 256); };
    // The north-west quarter of the level-3 tile at the world's top-left corner: a pixel of the tile west
    // of it (across the 180° meridian) and of the tile below it, none above the world.
    const auto corner = imagery.cover(4, 0, 0, 1);
    QVERIFY(corner);
    QCOMPARE(corner->picture.size(), QSize(128 + 2, 128 + 1));
    QCOMPARE(corner->part, QRectF(1, 0, 128, 128));
    for (int y = 0; y < 128; y += 17) {
        QCOMPARE(pixel(corner->picture, 1, y), pixel(own(0, 0), 0, y));
        QCOMPARE(pixel(corner->picture, 0, y), pixel(own(7, 0), 255, y));
    }
    // Its south-east quarter reaches into the tiles east, south and south-east of it.
    const auto inner = imagery.cover(4, 1, 1, 1);
    QCOMPARE(inner->picture.size(), QSize(130, 130));
    QCOMPARE(inner->part, QRectF(1, 1, 128, 128));
    QCOMPARE(pixel(inner->picture, 129, 129), pixel(own(1, 1), 0, 0));
    QCOMPARE(pixel(inner->picture, 129, 5), pixel(own(1, 0), 0, 132));
    QCOMPARE(pixel(inner->picture, 5, 129), pixel(own(0, 1), 132, 0));

    // The relief leaves the open sea out: next to such a tile the tile's own gutter serves.
    const RasterTiles &relief = RasterTiles::relief();
    QVERIFY(!relief.cover(5, 4, 17));
    for (int x = 0; x < 32; ++x) {
        const auto land = relief.cover(5, x, 16);
        if (!land || relief.cover(5, x, 17))
            continue;
        const auto closer = relief.cover(7, 4 * x + 1, 4 * 16 + 3, 1);
        QVERIFY(closer);
        QCOMPARE(closer->picture.size(), QSize(64 + 2, 64 + 2));
        QCOMPARE(pixel(closer->picture, 10, 65), pixel(land->picture, 8 + 64 + 9, 8 + 256));
        return;
    }
    QFAIL("no tile of land above a tile of open sea");
}

namespace {

// The largest difference of a colour channel between two pixels.
int stepBetween(QRgb a, QRgb b)
{
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

// Regression: the imagery's tiles were cut at their edges before their lossy coding, which coded those
// last pixels coarser than the inside; scaled up at region zoom, the tiles' edges showed as lines.
void MapGeometryTest::imageryEdgesAreCodedAsFinelyAsItsInside()
{
    const RasterTiles &imagery = RasterTiles::imagery();
    const auto core = [&](int x, int y) { return imagery.cover(3, x, y)->picture.copy(8, 8, 256, 256); };
    // From one column to the next, the mean of the largest channel's change: across the edge between two
    // tiles, and across the middle of a tile (also an edge of the source picture's own blocks of 8).
    double edge = 0;
    double middle = 0;
    for (int y = 1; y < 7; ++y) {
        for (int x = 0; x < 8; ++x) {
            const QImage west = core(x, y);
            const QImage east = core((x + 1) % 8, y);
            for (int row = 0; row < 256; ++row) {
                edge += stepBetween(west.pixel(255, row), east.pixel(0, row));
                middle += stepBetween(west.pixel(127, row), west.pixel(128, row));
            }
        }
    }
    QVERIFY2(edge < 1.25 * middle, qPrintable(QStringLiteral("edge %1, middle %2").arg(edge).arg(middle)));
}

void MapGeometryTest::rasterRunsOnAcrossItsSourceTiles_data()
{
    QTest::addColumn<TileKey>("key");
    // 90° E and 41° N (the Tarim basin's east) is a corner of four source tiles of both layers: the
    // imagery's of level 3 and the relief's of level 5. The tile named lies north-west of that corner.
    QTest::newRow("imagery, 64 times its pixels") << TileKey{9, 383, 191, 1, true, false, false};
    QTest::newRow("relief, 4 times its pixels") << TileKey{7, 95, 47, 1, false, false, true};
    QTest::newRow("relief on the imagery") << TileKey{7, 95, 47, 1, true, true, true};
}

// Regression: each tile closer in than a layer's deepest level was scaled up from its own source tile
// alone, so the source tiles' edges showed as straight steps of colour across the map.
void MapGeometryTest::rasterRunsOnAcrossItsSourceTiles()
{
    QFETCH(TileKey, key);
    const QImage here = Tiles::render(key);
    TileKey east = key;
    ++east.x;
    TileKey south = key;
    ++south.y;
    const QImage right = Tiles::render(east);
    const QImage below = Tiles::render(south);
    // No step from one tile into the next larger than the steepest between two pixels inside a tile.
    int inside = 0;
    int across = 0;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b + 1 < 256; ++b) {
            inside = std::max({inside, stepBetween(here.pixel(b, a), here.pixel(b + 1, a)),
                               stepBetween(here.pixel(a, b), here.pixel(a, b + 1))});
        }
        across = std::max({across, stepBetween(here.pixel(255, a), right.pixel(0, a)),
                           stepBetween(here.pixel(a, 255), below.pixel(a, 0))});
    }
    QVERIFY2(across <= inside + 1,
             qPrintable(QStringLiteral("across %1, inside %2").arg(across).arg(inside)));
}

void MapGeometryTest::silhouetteCoversItsOutline_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("inside");
    QTest::newRow("middle of the fuselage") << QPointF(24, 24) << true;
    QTest::newRow("behind the nose tip") << QPointF(24, 3) << true;
    QTest::newRow("before the nose tip") << QPointF(24, 2) << false;
    QTest::newRow("left wing") << QPointF(10, 28) << true;
    QTest::newRow("right wing") << QPointF(38, 28) << true;
    QTest::newRow("before the left wing") << QPointF(10, 24) << false;
    QTest::newRow("behind the right wing") << QPointF(38, 32) << false;
    QTest::newRow("left tailplane") << QPointF(17, 42) << true;
    QTest::newRow("between wing and tailplane") << QPointF(17, 36) << false;
    QTest::newRow("tail end") << QPointF(24, 45) << true;
    QTest::newRow("beside the nose") << QPointF(20, 10) << false;
}

void MapGeometryTest::silhouetteCoversItsOutline()
{
    QFETCH(QPointF, point);
    QFETCH(bool, inside);
    QCOMPARE(PlaneShape::path(QRectF(0, 0, 48, 48)).contains(point), inside);
}

void MapGeometryTest::silhouetteStretchesOntoItsRectangle()
{
    // Nose at (24, 2.5), tail end at (24, 45.6), wing tips on the quadratic ends near x 3.2 and 44.8.
    const QRectF box = PlaneShape::path(QRectF(0, 0, 48, 48)).boundingRect();
    QVERIFY2(qAbs(box.top() - 2.5) < 1e-6, qPrintable(QString::number(box.top())));
    QVERIFY2(qAbs(box.bottom() - 45.6) < 1e-6, qPrintable(QString::number(box.bottom())));
    QVERIFY2(qAbs(box.right() - 44.797) < 0.01, qPrintable(QString::number(box.right())));
    QVERIFY2(qAbs(box.left() - 3.203) < 0.01, qPrintable(QString::number(box.left())));

    // Twice as wide, half as high, moved: the nose goes to (10 + 48, 20 + 1.25).
    const QPainterPath stretched = PlaneShape::path(QRectF(10, 20, 96, 24));
    QCOMPARE(QPointF(stretched.elementAt(0)), QPointF(58, 21.25));
    const QRectF wide = stretched.boundingRect();
    QVERIFY(qAbs(wide.bottom() - (20 + 45.6 / 2)) < 1e-6);
    QVERIFY(qAbs(wide.right() - (10 + 44.797 * 2)) < 0.02);
}

void MapGeometryTest::markerColoursFollowTheFirstStateThatHolds_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("event");
    QTest::addColumn<bool>("live");
    QTest::addColumn<QRgb>("fill");
    QTest::addColumn<QRgb>("outline");
    const QRgb ink = qRgb(27, 34, 51);
    const QRgb orange = qRgb(250, 105, 31);
    const QRgb blue = qRgb(29, 111, 224);
    const QRgb gold = qRgb(217, 173, 89);
    const QRgb white = qRgb(255, 255, 255);
    QTest::newRow("ordinary") << false << false << false << ink << white;
    QTest::newRow("live") << false << false << true << gold << ink;
    QTest::newRow("event") << false << true << false << blue << white;
    QTest::newRow("event and live is blue") << false << true << true << blue << white;
    QTest::newRow("selected") << true << false << false << orange << ink;
    QTest::newRow("selected and event is orange") << true << true << false << orange << ink;
    QTest::newRow("selected and live") << true << false << true << orange << ink;
    QTest::newRow("everything") << true << true << true << orange << ink;
}

void MapGeometryTest::markerColoursFollowTheFirstStateThatHolds()
{
    QFETCH(bool, selected);
    QFETCH(bool, event);
    QFETCH(bool, live);
    QFETCH(QRgb, fill);
    QFETCH(QRgb, outline);
    const PlaneMarker::Colors colors = PlaneMarker::colors(selected, event, live);
    QCOMPARE(QColor::fromRgba(colors.fill), QColor::fromRgba(fill));
    QCOMPARE(QColor::fromRgba(colors.outline), QColor::fromRgba(outline));
}

void MapGeometryTest::outlineIsNeverThinnerThanOnePoint_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("width");
    QTest::newRow("12") << 12.0 << 1.0;
    QTest::newRow("20") << 20.0 << 1.0;
    QTest::newRow("24") << 24.0 << 1.0;
    QTest::newRow("48") << 48.0 << 1.4;
    QTest::newRow("60") << 60.0 << 1.75;
}

void MapGeometryTest::outlineIsNeverThinnerThanOnePoint()
{
    QFETCH(double, size);
    QFETCH(double, width);
    QCOMPARE(PlaneMarker::outlineWidth(size), width);
}

QTEST_GUILESS_MAIN(MapGeometryTest)
#include "tst_map_geometry.moc"
