// Labels on the maps: the placer that keeps them apart, the cities of the hybrid style (their order, names
// and positions) and the labels a map shows for its camera.
#include "LabelPlacer.h"
#include "MapPlaces.h"
#include "MapView.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

AirportCoordinate airport(double latitude, double longitude, const QString &city, const QString &country)
{
    return AirportCoordinate{latitude, longitude, city, country};
}

QStringList namesOf(const QList<MapPlace> &places)
{
    QStringList names;
    for (const MapPlace &place : places)
        names.append(place.name);
    return names;
}

const MapPlace *named(const QList<MapPlace> &places, const QString &name)
{
    const auto found =
        std::find_if(places.cbegin(), places.cend(), [&](const MapPlace &p) { return p.name == name; });
    return found == places.cend() ? nullptr : &*found;
}

} // namespace

class MapPlacesTest : public QObject
{
    Q_OBJECT

private slots:
    void placerTakesTheFirstFreePlace();
    void placesFileDecodesWholeRowsOnly();
    void listedCitiesComeFirstInTheirLanguage();
    void bundledCities();
    void labelsForTheCamera();
    void labelsKeepClearOfThePanels();
    void labelsTakeTheStylesColours();
};

void MapPlacesTest::placerTakesTheFirstFreePlace()
{
    // A marker at the origin; labels keep 2 points from each other, not from markers.
    LabelPlacer placer({QRectF(0, 0, 10, 10)}, 2);
    // On the marker: the next place offered, beside it (touching is not overlapping).
    QCOMPARE(placer.place({QRectF(5, 5, 20, 10), QRectF(10, 0, 20, 10)}), 1);
    // Within 2 points of that label: refused; 2 points away: taken.
    QCOMPARE(placer.place({QRectF(31, 0, 20, 10), QRectF(32, 0, 20, 10)}), 1);
    // No free place at all: left out, and it takes no room.
    QCOMPARE(placer.place({QRectF(0, 0, 5, 5), QRectF(20, 5, 10, 10)}), -1);
    QCOMPARE(placer.placed(), 2);
    QCOMPARE(placer.place({QRectF(0, 20, 10, 10)}), 0);
    QCOMPARE(placer.place({}), -1);
}

void MapPlacesTest::placesFileDecodesWholeRowsOnly()
{
    const auto listed = MapPlaces::decode(R"([["VHHH", "Hong Kong", "香港", "香港", "香港"],
                                              ["RJTT", "Tokyo", "东京", "東京", "東京"]])");
    QVERIFY(listed);
    QCOMPARE(listed->size(), 2);
    QCOMPARE(listed->at(1).code, QString("RJTT"));
    QCOMPARE(listed->at(1).english, QString("Tokyo"));
    QCOMPARE(listed->at(1).chinese, (QStringList{"东京", "東京", "東京"}));
    QVERIFY(!MapPlaces::decode(R"([["VHHH", "Hong Kong", "香港", "香港"]])"));
    QVERIFY(!MapPlaces::decode(R"([["VHHH", "Hong Kong", "香港", "香港", 5]])"));
    QVERIFY(!MapPlaces::decode(R"({"VHHH": []})"));
    QVERIFY(!MapPlaces::decode("[["));
    QCOMPARE(MapPlaces::decode("[]")->size(), 0);
}

void MapPlacesTest::listedCitiesComeFirstInTheirLanguage()
{
    const Airports::Table airports{
        {"UHMA", airport(64.73, 177.74, "Anadyr", "RU")},
        {"NZCH", airport(-43.49, 172.53, "Christchurch", "NZ")},
        // Two airports of one city on both sides of 180°: the label stands between them, not over Africa.
        {"AAAA", airport(0, 179, "Seam", "XX")},
        {"AAAB", airport(0, -179, "Seam", "XX")},
        {"SBGR", airport(-23.43, -46.47, "São Paulo", "BR")},
        {"SBSP", airport(-23.63, -46.66, "São Paulo", "BR")},
        {"SBKP", airport(-23.01, -47.13, "Campinas", "BR")},
        // Within 40 km of São Paulo's middle: part of it.
        {"SDCO", airport(-23.48, -46.38, "Guarulhos", "BR")},
        {"KLAX", airport(33.94, -118.41, "Los Angeles", "US")},
        {"KSMO", airport(34.02, -118.45, "Los Angeles", "US")},
        // Another country's city of the same name is another city.
        {"LPPT", airport(38.78, -9.14, "Los Angeles", "PT")},
        {"ZZZZ", airport(10, 10, "", "XX")},
    };
    const QList<MapPlaces::Listed> listed{
        {"SBGR", "São Paulo", {"圣保罗", "聖保羅", "聖保羅"}},
        {"AAAA", "Seam", {"接缝", "", "接縫"}},
        // Not in the table: skipped; São Paulo a second time: once only.
        {"QQQQ", "Nowhere", {"无处", "無處", "無處"}},
        {"SBSP", "São Paulo", {"圣保罗", "聖保羅", "聖保羅"}},
    };
    const QList<MapPlace> english = MapPlaces::of(listed, airports, "en");
    // The listed, in their order; then the others, the city of two airports first, then by name; no town
    // of São Paulo, no city without a name.
    QCOMPARE(namesOf(english), (QStringList{"São Paulo", "Seam", "Los Angeles", "Anadyr", "Campinas",
                                            "Christchurch", "Los Angeles"}));
    // Regression: a Chinese map named the cities it has no Chinese name for in English beside the others.
    // It names the listed ones in the reader's own form and leaves the rest out.
    QCOMPARE(namesOf(MapPlaces::of(listed, airports, "zh-Hans")), (QStringList{"圣保罗", "接缝"}));
    QCOMPARE(namesOf(MapPlaces::of(listed, airports, "zh-TW")), (QStringList{"聖保羅", "接縫"}));
    const QList<MapPlace> hongKong = MapPlaces::of(listed, airports, "zh-HK");
    QCOMPARE(namesOf(hongKong), QStringList{"聖保羅"});

    const MapPlace &saoPaulo = hongKong.at(0);
    QCOMPARE(saoPaulo.coordinate.latitude(), (-23.43 - 23.63) / 2);
    QCOMPARE(saoPaulo.coordinate.longitude(), (-46.47 - 46.66) / 2);
    QCOMPARE(saoPaulo.world,
             MapMath::project(saoPaulo.coordinate.latitude(), saoPaulo.coordinate.longitude()));
    QCOMPARE(english.at(0).coordinate, saoPaulo.coordinate);
    QCOMPARE(qAbs(english.at(1).coordinate.longitude()), 180.0);
    // The two Los Angeles are each at their own airport.
    QCOMPARE(english.at(2).coordinate, QGeoCoordinate(33.98, -118.43));
    QCOMPARE(english.at(6).coordinate, QGeoCoordinate(38.78, -9.14));
}

void MapPlacesTest::bundledCities()
{
    qputenv("LANGUAGE", "zh_CN");
    const QList<MapPlace> &places = MapPlaces::bundled();
    QVERIFY(places.size() > 400);
    QCOMPARE(places.front().name, QString("东京"));
    // Hong Kong once, named, and no label for the airfield of its "Islands".
    const MapPlace *hongKong = named(places, "香港");
    QVERIFY(hongKong);
    QVERIFY(qAbs(hongKong->coordinate.latitude() - 22.3) < 0.2);
    QVERIFY(!named(places, "Islands"));
    QVERIFY(!named(places, "Hong Kong"));
    // The cities a Chinese reader looks for over Siberia and the Tarim basin.
    for (const char *city : {"摩尔曼斯克", "马加丹", "克孜勒", "若羌", "吐鲁番"})
        QVERIFY2(named(places, QString::fromUtf8(city)), city);
    // Regression: cities without a Chinese name were labelled in English ("Kyzyl", "Honiara").
    for (const MapPlace &place : places)
        QVERIFY2(!place.name.contains(QRegularExpression("[A-Za-z]")), qPrintable(place.name));

    // In English every city of the table, the biggest first.
    qputenv("LANGUAGE", "en");
    const QList<MapPlace> &english = MapPlaces::bundled();
    QVERIFY(english.size() > 2000);
    QCOMPARE(english.front().name, QString("Tokyo"));
    QVERIFY(named(english, "Honiara"));
    QVERIFY(named(english, "Beijing") < named(english, "Honiara"));

    // Hong Kong and Taiwan readers get their own forms.
    qputenv("LANGUAGE", "zh_HK");
    QVERIFY(named(MapPlaces::bundled(), "三藩市"));
    qputenv("LANGUAGE", "zh_TW");
    QVERIFY(named(MapPlaces::bundled(), "雪梨"));
}

// A map of 600 × 400 over East Asia: the biggest cities first, as many as fit, none on another, none cut by
// the edge; nothing while the labels are off.
void MapPlacesTest::labelsForTheCamera()
{
    MapView map;
    map.setSize(QSizeF(600, 400));
    MapPlaceLabels labels;
    const auto place = [](const QString &name, double latitude, double longitude) {
        return MapPlace{name, {latitude, longitude}, MapMath::project(latitude, longitude)};
    };
    labels.setMap(&map);
    map.setCamera(QGeoCoordinate(34, 128), 5000000);
    // In view but 4 points from the right edge: its label would be cut.
    const QGeoCoordinate edge = map.coordinateAt(QPointF(596, 300));
    labels.setPlaces({place("Tokyo", 35.68, 139.69), place("Shanghai", 31.23, 121.47),
                      // 20 km from Shanghai: no room beside it.
                      place("Pudong", 31.15, 121.66), place("Beijing", 39.9, 116.4),
                      place("Paris", 48.86, 2.35), place("Edge", edge.latitude(), edge.longitude()),
                      place("Seoul", 37.57, 126.98)});
    QCOMPARE(labels.rowCount(), 0);

    QSignalSpy inserted(&labels, &QAbstractItemModel::rowsInserted);
    labels.setActive(true);
    QStringList shown = namesOf(labels.shown());
    QCOMPARE(shown, (QStringList{"Tokyo", "Shanghai", "Beijing", "Seoul"}));
    QCOMPARE(labels.rowCount(), 4);
    QCOMPARE(labels.data(labels.index(1), MapPlaceLabels::CoordinateRole).value<QGeoCoordinate>(),
             QGeoCoordinate(31.23, 121.47));
    const QFontMetricsF metrics(labels.font());
    QList<QRectF> rects;
    for (const MapPlace &p : labels.shown()) {
        const QPointF at = map.pointAt(p.coordinate);
        const QSizeF size(metrics.horizontalAdvance(p.name), metrics.height());
        rects.append(QRectF(at - QPointF(size.width() / 2, size.height() / 2), size));
    }
    for (qsizetype a = 0; a < rects.size(); ++a) {
        QVERIFY(QRectF(0, 0, 600, 400).contains(rects.at(a)));
        for (qsizetype b = a + 1; b < rects.size(); ++b)
            QVERIFY(!rects.at(a).intersects(rects.at(b)));
    }

    // Moved on to Shanghai, close: Pudong has room; the labels that stay keep their rows.
    inserted.clear();
    map.setCamera(QGeoCoordinate(31.2, 121.5), 100000);
    QCOMPARE(namesOf(labels.shown()), (QStringList{"Shanghai", "Pudong"}));
    QCOMPARE(inserted.size(), 1);

    // A small map has room for one label only.
    map.setSize(QSizeF(120, 100));
    map.setCamera(QGeoCoordinate(34, 128), 20000000);
    QCOMPARE(namesOf(labels.shown()), QStringList{"Tokyo"});

    labels.setActive(false);
    QCOMPARE(labels.rowCount(), 0);
}

// Regression: names were placed under the live map's banner and read through its translucent panel.
void MapPlacesTest::labelsKeepClearOfThePanels()
{
    MapView map;
    map.setSize(QSizeF(600, 400));
    map.setCamera(QGeoCoordinate(34, 128), 5000000);
    MapPlaceLabels labels;
    labels.setMap(&map);
    const auto place = [](const QString &name, double latitude, double longitude) {
        return MapPlace{name, {latitude, longitude}, MapMath::project(latitude, longitude)};
    };
    // Beijing stands high on this map, Shanghai and Tokyo lower down.
    labels.setPlaces(
        {place("Beijing", 39.9, 116.4), place("Shanghai", 31.23, 121.47), place("Tokyo", 35.68, 139.69)});
    labels.setActive(true);
    QCOMPARE(namesOf(labels.shown()), (QStringList{"Beijing", "Shanghai", "Tokyo"}));
    const QPointF beijing = map.pointAt(QGeoCoordinate(39.9, 116.4));
    const QPointF tokyo = map.pointAt(QGeoCoordinate(35.68, 139.69));
    QVERIFY(beijing.y() < tokyo.y());

    // A banner over the map's top down to just below Beijing: its label goes until the map moves away.
    const QRectF banner(12, 4, 576, beijing.y() + 10);
    labels.setCovered({banner});
    QCOMPARE(namesOf(labels.shown()), (QStringList{"Shanghai", "Tokyo"}));
    QVERIFY(!labels.uncovered(QRectF(beijing - QPointF(20, 8), QSizeF(40, 16))));
    QVERIFY(labels.uncovered(QRectF(0, banner.bottom() + 1, 40, 16)));
    map.setCamera(QGeoCoordinate(44, 128), 5000000);
    QVERIFY(namesOf(labels.shown()).contains("Beijing"));
    for (const MapPlace &shown : labels.shown())
        QVERIFY(!banner.contains(map.pointAt(shown.coordinate)));

    labels.setCovered({});
    map.setCamera(QGeoCoordinate(34, 128), 5000000);
    QCOMPARE(namesOf(labels.shown()).size(), 3);
}

// Regression: the standard style had no names; they are dark on its light land, light on its dark land,
// and white on the imagery.
void MapPlacesTest::labelsTakeTheStylesColours()
{
    MapView map;
    MapPlaceLabels labels;
    labels.setMap(&map);
    QSignalSpy repainted(&labels, &MapPlaceLabels::paletteChanged);
    const auto lightness = [](const QColor &colour) { return colour.toHsl().lightnessF(); };
    map.setMapStyle(MapView::Style::Standard);
    QVERIFY(lightness(labels.color()) < 0.35);
    QVERIFY(lightness(labels.halo()) > 0.9);
    map.setDark(true);
    QVERIFY(lightness(labels.color()) > 0.8);
    QVERIFY(lightness(labels.halo()) < 0.2);
    map.setMapStyle(MapView::Style::Hybrid);
    QCOMPARE(labels.color(), QColor(Qt::white));
    QVERIFY(lightness(labels.halo()) < 0.2);
    QCOMPARE(repainted.size(), 2);
}

QTEST_MAIN(MapPlacesTest)
#include "tst_map_places.moc"
