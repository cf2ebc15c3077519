// The map of the member's flown routes: what it draws of a route list (airports looked up exactly as sent,
// great circles, one marker per airport), its label and identity, and the view in a window: the empty
// state, the automatic framing (across the 180° meridian too), "scope", the full-screen cover and the map
// made anew for another route list.
#include "MapItems.h"
#include "MapView.h"
#include "RoutesMapModel.h"
#include "SceneTestSupport.h"

#include <QAccessible>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

#include <memory>

Q_IMPORT_QML_PLUGIN(Vorna_MapsPlugin)

using namespace TestSupport;

namespace {

FlownRoute route(const QString &departure, const QString &arrival, qint64 flights = 1)
{
    return FlownRoute{departure, arrival, flights};
}

AirportCoordinate at(double latitude, double longitude)
{
    return AirportCoordinate{latitude, longitude, QStringLiteral("City"), std::nullopt};
}

// A small table of our own: three Chinese airports.
Airports::Table threeAirports()
{
    return {{"ZBAA", at(40.08, 116.58)}, {"ZSSS", at(31.2, 121.34)}, {"ZGGG", at(23.39, 113.3)}};
}

QStringList lineIdentities(const RoutesDrawing &drawing)
{
    QStringList identities;
    for (const RoutesDrawing::Line &line : drawing.lines)
        identities.append(line.identity);
    return identities;
}

QStringList markerCodes(const RoutesDrawing &drawing)
{
    QStringList codes;
    for (const RoutesDrawing::Airport &airport : drawing.airports)
        codes.append(airport.code);
    return codes;
}

template <typename T>
int countBelow(QQuickItem *root)
{
    int count = 0;
    for (QQuickItem *item : itemsBelow(root))
        count += qobject_cast<T *>(item) ? 1 : 0;
    return count;
}

// How far apart two longitudes are, the short way round.
double longitudeGap(double a, double b) { return qAbs(std::remainder(a - b, 360.0)); }

} // namespace

class RoutesMapTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // What is drawn.
    void markersOncePerAirportInCodeOrder();
    void codesAreLookedUpExactlyAsSent_data();
    void codesAreLookedUpExactlyAsSent();
    void oppositeDirectionsDrawTwoLines();
    void identityAndLabel();
    void identityChangesOnlyWithTheRouteList();
    void drawingOfTheBundledTable();

    // The view.
    void emptyListShowsOnlyTheEmptyState();
    void unknownAirportsOnlyStillShowTheMap();
    void framesAcrossTheAntimeridian();
    void scopeFramesEverythingAgain();
    void fullScreenCoverHasOnlyScope();
    void notExpandableHasOnlyScope();
    void anotherRouteListMakesAnotherMap();
    void firstViewFramesTheRoutes_data();
    void firstViewFramesTheRoutes();
    void airportCodesNeverOverlap();
    void busiestAirportsKeepTheirCodes();

private:
    // A RoutesMapView of 600 x 400 in a window.
    QQuickItem *show(const QList<FlownRoute> &routes, bool expandable = true);
    MapView *mapOf(QQuickItem *view) const;
    // Waits until the map has come to rest and reported its region.
    bool settled(MapView *map) const;

    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QObject> m_view;
};

void RoutesMapTest::init() { qputenv("LANGUAGE", "zh_CN"); }

void RoutesMapTest::cleanup()
{
    m_view.reset();
    m_window.reset();
    m_engine.reset();
}

void RoutesMapTest::markersOncePerAirportInCodeOrder()
{
    const RoutesDrawing drawing = RoutesDrawing::of(
        {route("ZSSS", "ZBAA"), route("ZBAA", "ZGGG"), route("ZGGG", "ZSSS"), route("ZBAA", "ZSSS")},
        threeAirports());
    QCOMPARE(markerCodes(drawing), (QStringList{"ZBAA", "ZGGG", "ZSSS"}));
    QCOMPARE(lineIdentities(drawing), (QStringList{"ZSSS-ZBAA", "ZBAA-ZGGG", "ZGGG-ZSSS", "ZBAA-ZSSS"}));
    QCOMPARE(drawing.airports.constFirst().coordinate, QGeoCoordinate(40.08, 116.58));
    // Plain string order, not by case or length.
    QCOMPARE(RoutesMapModel::airportCodes({route("b", "A"), route("BB", "a"), route("B", "A")}),
             (QStringList{"A", "B", "BB", "a", "b"}));
}

void RoutesMapTest::codesAreLookedUpExactlyAsSent_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("markers");
    QTest::newRow("both known") << "ZBAA"
                                << "ZSSS" << QStringList{"ZBAA-ZSSS"} << QStringList{"ZBAA", "ZSSS"};
    QTest::newRow("lower case") << "zbaa"
                                << "ZSSS" << QStringList{} << QStringList{"ZSSS"};
    QTest::newRow("surrounding spaces") << "ZBAA"
                                        << " ZSSS " << QStringList{} << QStringList{"ZBAA"};
    QTest::newRow("not in the table") << "KXYZ"
                                      << "ZGGG" << QStringList{} << QStringList{"ZGGG"};
    QTest::newRow("neither known") << "XXXX"
                                   << "" << QStringList{} << QStringList{};
}

// A route needs both airports known for its line; an airport needs only itself for its marker.
void RoutesMapTest::codesAreLookedUpExactlyAsSent()
{
    QFETCH(QString, departure);
    QFETCH(QString, arrival);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, markers);
    const RoutesDrawing drawing = RoutesDrawing::of({route(departure, arrival)}, threeAirports());
    QCOMPARE(lineIdentities(drawing), lines);
    QCOMPARE(markerCodes(drawing), markers);
}

void RoutesMapTest::oppositeDirectionsDrawTwoLines()
{
    const RoutesDrawing drawing =
        RoutesDrawing::of({route("ZBAA", "ZSSS"), route("ZSSS", "ZBAA")}, threeAirports());
    QCOMPARE(drawing.lines.size(), 2);
    QCOMPARE(drawing.lines.at(0).from, drawing.lines.at(1).to);
    QCOMPARE(drawing.lines.at(0).to, drawing.lines.at(1).from);
    QCOMPARE(drawing.airports.size(), 2);
}

void RoutesMapTest::identityAndLabel()
{
    QCOMPARE(RoutesMapModel::identityOf({route("ZBAA", "ZSSS"), route("ZSSS", "ZBAA")}),
             QString("ZBAA-ZSSSZSSS-ZBAA"));
    QCOMPARE(RoutesMapModel::identityOf({}), QString());

    RoutesMapModel model;
    QVERIFY(model.empty());
    // Every route counts, also one whose airports the table does not know.
    model.setRoutes({{route("ZBAA", "ZSSS"), route("XXXX", "YYYY"), route("zbaa", "ZSSS")}});
    QVERIFY(!model.empty());
    QCOMPARE(model.accessibleName(), QString("本人已批准航线地图，共 3 条航线"));
    QCOMPARE(model.lines()->rowCount(), 1);
    QCOMPARE(model.airports()->rowCount(), 2); // ZBAA and ZSSS; "zbaa" is not in the table
}

void RoutesMapTest::identityChangesOnlyWithTheRouteList()
{
    RoutesMapModel model;
    QSignalSpy routes(&model, &RoutesMapModel::routesChanged);
    QSignalSpy identity(&model, &RoutesMapModel::identityChanged);
    QSignalSpy empty(&model, &RoutesMapModel::emptyChanged);
    QSignalSpy drawing(model.lines(), &QAbstractItemModel::modelReset);

    model.setRoutes({{route("ZBAA", "ZSSS", 2)}});
    QCOMPARE(routes.size(), 1);
    QCOMPARE(identity.size(), 1);
    QCOMPARE(empty.size(), 1);
    QCOMPARE(drawing.size(), 1);

    // Another count of flights draws the same: the map stays.
    model.setRoutes({{route("ZBAA", "ZSSS", 3)}});
    QCOMPARE(routes.size(), 2);
    QCOMPARE(identity.size(), 1);
    QCOMPARE(drawing.size(), 1);

    // The same list again changes nothing.
    model.setRoutes({{route("ZBAA", "ZSSS", 3)}});
    QCOMPARE(routes.size(), 2);

    model.setRoutes({{route("ZBAA", "ZSSS", 3), route("ZSSS", "ZBAA")}});
    QCOMPARE(identity.size(), 2);
    QCOMPARE(model.identity(), QString("ZBAA-ZSSSZSSS-ZBAA"));
    QCOMPARE(empty.size(), 1);

    model.setRoutes({});
    QVERIFY(model.empty());
    QCOMPARE(empty.size(), 2);
    QCOMPARE(identity.size(), 3);
}

void RoutesMapTest::drawingOfTheBundledTable()
{
    // The table the app carries knows the sample member's airports, by their upper-case codes only.
    QVERIFY(!Airports::all().isEmpty());
    const RoutesDrawing drawing =
        RoutesDrawing::of({route("ZBAA", "KSFO"), route("ZSPD", "zbaa")}, Airports::all());
    QCOMPARE(lineIdentities(drawing), QStringList{"ZBAA-KSFO"});
    QCOMPARE(markerCodes(drawing), (QStringList{"KSFO", "ZBAA", "ZSPD"}));
}

// ---- the view

QQuickItem *RoutesMapTest::show(const QList<FlownRoute> &routes, bool expandable)
{
    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(m_engine.get());
    component.setData("import QtQuick\nimport Vorna.Maps\n"
                      "RoutesMapView { interactionModes: MapView.Pan | MapView.Zoom }",
                      QUrl(QStringLiteral("qrc:/routes.qml")));
    m_view.reset(component.createWithInitialProperties(
        {{"routes", QVariant::fromValue(FlownRoutes{routes})}, {"expandable", expandable}}));
    auto *view = qobject_cast<QQuickItem *>(m_view.get());
    if (!view) {
        qWarning("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    m_window = std::make_unique<QQuickWindow>();
    m_window->resize(600, 400);
    view->setParentItem(m_window->contentItem());
    view->setSize(QSizeF(600, 400));
    m_window->show();
    return view;
}

MapView *RoutesMapTest::mapOf(QQuickItem *view) const
{
    auto *content = view->property("content").value<QQuickItem *>();
    return content ? content->property("map").value<MapView *>() : nullptr;
}

bool RoutesMapTest::settled(MapView *map) const
{
    return TestSupport::waitFor([map] { return !map->moving() && map->visibleRegion().longitudeSpan > 0; });
}

void RoutesMapTest::emptyListShowsOnlyTheEmptyState()
{
    QQuickItem *view = show({});
    QVERIFY(view);
    QTRY_VERIFY(shown(view, "routes.empty"));
    QVERIFY(!mapOf(view));
    QCOMPARE(countBelow<MapView>(view), 0);
    QVERIFY(!shown(view, "routes.scope"));
    QVERIFY(!shown(view, "routes.fullScreen"));
    const QStringList texts = textsShown(shown(view, "routes.empty"));
    QVERIFY(texts.contains("还没有已批准的航线"));
    QVERIFY(texts.contains("飞过的机场将连成你的航线图。"));
}

// The empty state is for an empty list only: routes none of whose airports is known still show the map
// with its buttons and label, but no line and no marker.
void RoutesMapTest::unknownAirportsOnlyStillShowTheMap()
{
    QQuickItem *view = show({route("XXXX", "YYYY"), route("zbaa", "zsss")});
    QVERIFY(view);
    MapView *map = nullptr;
    QTRY_VERIFY((map = mapOf(view)));
    QVERIFY(!shown(view, "routes.empty"));
    QVERIFY(shown(view, "routes.scope"));
    QVERIFY(shown(view, "routes.fullScreen"));
    QCOMPARE(countBelow<MapPolyline>(map), 0);
    QCOMPARE(countBelow<MapAnnotation>(map), 0);
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(map);
    QVERIFY(heard);
    QCOMPARE(heard->text(QAccessible::Name), QString("本人已批准航线地图，共 2 条航线"));
}

// Beijing to San Francisco crosses the 180° meridian over the Bering Sea: the automatic position frames the
// North Pacific between China and California, not the long way round over Europe and the Atlantic.
void RoutesMapTest::framesAcrossTheAntimeridian()
{
    QQuickItem *view = show({route("ZBAA", "KSFO"), route("ZSPD", "ZBAA"), route("ZUUU", "ZBAA")});
    QVERIFY(view);
    MapView *map = nullptr;
    QTRY_VERIFY((map = mapOf(view)));
    QVERIFY(settled(map));
    QVERIFY(map->automatic());
    // North up with the compass as its one map control.
    QVERIFY(map->showsCompass());
    QCOMPARE(countBelow<MapPolyline>(map), 3);
    QCOMPARE(countBelow<MapAnnotation>(map), 4); // KSFO, ZBAA, ZSPD, ZUUU

    const MapRegion region = map->visibleRegion();
    // From Chengdu (104° E) eastwards past 180° to San Francisco (122° W): 134° of longitude, their
    // middle at 171° E.
    QVERIFY2(longitudeGap(region.longitude, 171) < 10, qPrintable(QString::number(region.longitude)));
    QVERIFY2(region.longitudeSpan > 134 && region.longitudeSpan < 200,
             qPrintable(QString::number(region.longitudeSpan)));
    // Every airport and the line's northernmost point (58.6° N near the meridian) are in view.
    const QRectF inside(0, 0, map->width(), map->height());
    for (const QGeoCoordinate &c :
         {QGeoCoordinate(40.08, 116.58), QGeoCoordinate(37.62, -122.38), QGeoCoordinate(31.14, 121.81),
          QGeoCoordinate(30.58, 103.95), QGeoCoordinate(58.6, 179.0)})
        QVERIFY2(inside.contains(map->pointAt(c)),
                 qPrintable(QString("%1 %2").arg(c.latitude()).arg(c.longitude())));
    // The great circle's pieces meet on the meridian.
    const auto *line = [&]() -> MapPolyline * {
        for (QQuickItem *item : itemsBelow(map)) {
            auto *polyline = qobject_cast<MapPolyline *>(item);
            if (polyline && polyline->path().constLast().longitude() < -100) // to San Francisco
                return polyline;
        }
        return nullptr;
    }();
    QVERIFY(line);
    QCOMPARE(line->pieces().size(), 2);
    QCOMPARE(qAbs(line->pieces().at(0).constLast().longitude()), 180.0);
}

void RoutesMapTest::scopeFramesEverythingAgain()
{
    QQuickItem *view = show({route("ZBAA", "KSFO"), route("ZSPD", "ZBAA")});
    QVERIFY(view);
    m_window->requestActivate();
    MapView *map = nullptr;
    QTRY_VERIFY((map = mapOf(view)));
    QVERIFY(settled(map));
    const MapRegion framed = map->visibleRegion();

    // The member drags the map aside and zooms in.
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, {300, 250});
    for (int x = 280; x >= 100; x -= 20)
        QTest::mouseMove(m_window.get(), {x, 250});
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, {100, 250});
    QTest::mouseDClick(m_window.get(), Qt::LeftButton, {}, {200, 200});
    QVERIFY(!map->automatic());
    QVERIFY(settled(map));
    QVERIFY(longitudeGap(map->visibleRegion().longitude, framed.longitude) > 5);

    QQuickItem *scope = shown(view, "routes.scope");
    QVERIFY(scope);
    QCOMPARE(QAccessible::queryAccessibleInterface(scope)->text(QAccessible::Name), QString("显示全部航线"));
    QMetaObject::invokeMethod(scope, "clicked");
    QVERIFY(map->automatic());
    QVERIFY(map->moving()); // animated
    QVERIFY(settled(map));
    QVERIFY(longitudeGap(map->visibleRegion().longitude, framed.longitude) < 0.01);
    QCOMPARE(map->visibleRegion().longitudeSpan, framed.longitudeSpan);
}

void RoutesMapTest::fullScreenCoverHasOnlyScope()
{
    QQuickItem *view = show({route("ZBAA", "KSFO"), route("ZSPD", "ZBAA")});
    QVERIFY(view);
    QTRY_VERIFY(mapOf(view));
    QQuickItem *expand = shown(view, "routes.fullScreen");
    QVERIFY(expand);
    QCOMPARE(QAccessible::queryAccessibleInterface(expand)->text(QAccessible::Name), QString("全屏查看航线"));
    QMetaObject::invokeMethod(expand, "clicked");
    QVERIFY(view->property("fullScreen").toBool());

    // The cover over the whole window: its title, "完成", and a map of the same routes with only "scope".
    QQuickItem *overlay = m_window->contentItem();
    QQuickItem *cover = nullptr;
    QTRY_VERIFY((cover = shown(overlay, "routes.coverMap")));
    QTRY_COMPARE(cover->mapRectToScene(QRectF(0, 0, cover->width(), cover->height())).bottom(), 400.0);
    QVERIFY(shown(cover, "routes.scope"));
    QVERIFY(!shown(cover, "routes.fullScreen"));
    MapView *coverMap = cover->property("map").value<MapView *>();
    QVERIFY(coverMap && coverMap != mapOf(view));
    QVERIFY(coverMap->showsCompass());
    QCOMPARE(countBelow<MapPolyline>(coverMap), 2);
    QVERIFY(settled(coverMap));
    QVERIFY(coverMap->automatic());
    QVERIFY(textsShown(overlay).contains("我飞过的航线"));

    QQuickItem *done = shown(overlay, "routes.done");
    QVERIFY(done);
    QMetaObject::invokeMethod(done, "clicked");
    QVERIFY(!view->property("fullScreen").toBool());
    QTRY_VERIFY(!shown(overlay, "routes.coverMap"));

    // Escape closes it as well.
    view->setProperty("fullScreen", true);
    QTRY_VERIFY(shown(overlay, "routes.coverMap"));
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get(), TestSupport::patience));
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTRY_VERIFY(!view->property("fullScreen").toBool());
}

void RoutesMapTest::notExpandableHasOnlyScope()
{
    QQuickItem *view = show({route("ZBAA", "ZSPD")}, false);
    QVERIFY(view);
    QTRY_VERIFY(mapOf(view));
    QVERIFY(shown(view, "routes.scope"));
    QVERIFY(!shown(view, "routes.fullScreen"));
}

// Another route list replaces the map: while the camera is automatic the new map frames the new routes;
// once the member has moved it, the new map starts where he left it.
void RoutesMapTest::anotherRouteListMakesAnotherMap()
{
    QQuickItem *view = show({route("ZBAA", "ZSPD")});
    QVERIFY(view);
    m_window->requestActivate();
    QPointer<MapView> first;
    QTRY_VERIFY((first = mapOf(view)));
    QVERIFY(settled(first));

    // A changed count of flights draws the same: the same map.
    view->setProperty("routes", QVariant::fromValue(FlownRoutes{{route("ZBAA", "ZSPD", 4)}}));
    QCOMPARE(mapOf(view), first.data());

    view->setProperty("routes",
                      QVariant::fromValue(FlownRoutes{{route("ZBAA", "ZSPD"), route("ZBAA", "KSFO")}}));
    MapView *second = nullptr;
    QTRY_VERIFY((second = mapOf(view)) && second != first.data());
    QTRY_VERIFY(first.isNull());
    QVERIFY(settled(second));
    QVERIFY(second->automatic());
    QVERIFY(QRectF(0, 0, 600, 400).contains(second->pointAt(QGeoCoordinate(37.62, -122.38))));

    // The member moves the camera; the next list keeps it.
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, {300, 200});
    for (int x = 320; x <= 400; x += 20)
        QTest::mouseMove(m_window.get(), {x, 200});
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, {400, 200});
    QVERIFY(!second->automatic());
    QVERIFY(settled(second));
    const MapRegion left = second->visibleRegion();
    view->setProperty("routes", QVariant::fromValue(FlownRoutes{{route("ZGGG", "ZBAA")}}));
    MapView *third = nullptr;
    QTRY_VERIFY((third = mapOf(view)) && third != second);
    QVERIFY(settled(third));
    QVERIFY(!third->automatic());
    QVERIFY(longitudeGap(third->visibleRegion().longitude, left.longitude) < 0.01);
    QVERIFY(qAbs(third->visibleRegion().latitude - left.latitude) < 0.01);
    QVERIFY(qAbs(third->visibleRegion().longitudeSpan - left.longitudeSpan) < 0.01);
}

void RoutesMapTest::firstViewFramesTheRoutes_data()
{
    QTest::addColumn<QSizeF>("laidOut");
    QTest::addColumn<int>("wheelNotches");
    // Whether the routes come in while the page is already shown, as they do from the member service.
    QTest::addColumn<bool>("routesLater");
    QTest::newRow("card laid out at width 0") << QSizeF(0, 300) << 0 << false;
    QTest::newRow("card laid out at no size") << QSizeF(0, 0) << 0 << false;
    QTest::newRow("card laid out 10 points wide") << QSizeF(10, 300) << 0 << false;
    QTest::newRow("routes in while the card has width 0") << QSizeF(0, 300) << 0 << true;
    QTest::newRow("routes in while the card is 10 points wide") << QSizeF(10, 1) << 0 << true;
    QTest::newRow("page scrolled down by the wheel") << QSizeF(600, 300) << 24 << false;
}

// The dashboard's card: the routes map below other cards on a scrolling page. Whatever size the card has
// when it first lays out, and however the member scrolls down to it, it shows every route framed.
// Regression: the wheel that scrolled the page zoomed the map out as soon as the map came under the
// pointer, to three copies of the world, and the page stopped.
void RoutesMapTest::firstViewFramesTheRoutes()
{
    QFETCH(QSizeF, laidOut);
    QFETCH(int, wheelNotches);
    QFETCH(bool, routesLater);
    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(m_engine.get());
    component.setData("import QtQuick\nimport Vorna.Maps\n"
                      "Flickable {\n"
                      "  property alias card: card\n"
                      "  contentHeight: 500 + card.height\n"
                      "  RoutesMapView { id: card; y: 500; expandable: true }\n"
                      "}",
                      QUrl(QStringLiteral("qrc:/page.qml")));
    m_view.reset(component.create());
    auto *page = qobject_cast<QQuickItem *>(m_view.get());
    QVERIFY2(page, qPrintable(component.errorString()));
    auto *card = page->property("card").value<QQuickItem *>();
    card->setSize(laidOut);
    const auto routesIn = [card] {
        card->setProperty("routes",
                          QVariant::fromValue(FlownRoutes{
                              {route("ZBAA", "KSFO"), route("ZSPD", "ZBAA"), route("ZGGG", "ZBAA")}}));
    };
    if (!routesLater)
        routesIn();
    m_window = std::make_unique<QQuickWindow>();
    m_window->resize(600, 400);
    page->setParentItem(m_window->contentItem());
    page->setSize(QSizeF(600, 400));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), TestSupport::patience));
    if (routesLater) {
        QTest::qWait(50);
        routesIn();
    }
    MapView *map = nullptr;
    QTRY_VERIFY((map = mapOf(card)));
    QTest::qWait(100);
    card->setSize(QSizeF(600, 300));

    // The wheel turns in the page's lower half, where the map comes up from below.
    const QPointF pointer(300, 300);
    QElapsedTimer clock;
    clock.start();
    const auto turn = [&](int delta) {
        QWheelEvent wheel(pointer, m_window->mapToGlobal(pointer), {}, {0, delta}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        // The page's scrolling speed comes from the time between the notches.
        wheel.setTimestamp(ulong(1000 + clock.elapsed()));
        QGuiApplication::sendEvent(m_window.get(), &wheel);
    };
    for (int notch = 0; notch < wheelNotches; ++notch) {
        turn(-120);
        QTest::qWait(40);
    }
    if (wheelNotches > 0) {
        QTRY_COMPARE(page->property("contentY").toDouble(), 400.0);
        QVERIFY(card->mapRectToScene(QRectF(0, 0, 600, 300)).contains(pointer));
    }
    QVERIFY(settled(map));
    QVERIFY(map->automatic());
    // Beijing, Shanghai, Guangzhou and San Francisco in the card, on the one copy of the world it shows.
    QVERIFY2(map->visibleRegion().longitudeSpan < 200,
             qPrintable(QString::number(map->visibleRegion().longitudeSpan)));
    for (const QGeoCoordinate &c : {QGeoCoordinate(40.08, 116.58), QGeoCoordinate(31.14, 121.81),
                                    QGeoCoordinate(23.39, 113.3), QGeoCoordinate(37.62, -122.38)})
        QVERIFY(QRectF(0, 0, 600, 300).contains(map->pointAt(c)));

    if (wheelNotches > 0) {
        // Once the page has come to rest, the wheel over the map zooms the map.
        QTest::qWait(500);
        const double framed = map->zoomLevel();
        turn(120);
        QCOMPARE(map->zoomLevel(), framed + 0.5);
        QVERIFY(!map->automatic());
    }
}

// The codes as they show: each balloon's title in the scene, for the codes shown.
QHash<QString, QRectF> shownCodes(MapView *map)
{
    QHash<QString, QRectF> codes;
    for (QQuickItem *item : itemsBelow(map)) {
        if (!qobject_cast<MapAnnotation *>(item) || !item->property("titleShown").toBool())
            continue;
        for (QQuickItem *child : item->childItems()) {
            if (child->property("text").toString() == item->property("title").toString())
                codes.insert(child->property("text").toString(),
                             child->mapRectToScene(QRectF(0, 0, child->width(), child->height())));
        }
    }
    return codes;
}

// Guangzhou and Hong Kong lie 130 km apart: over China their balloons touch and their codes would lie on
// each other. The busier airport keeps its code by its balloon, the other's goes to a free side of its own
// balloon or, with none free, is left out; closer in both show.
void RoutesMapTest::airportCodesNeverOverlap()
{
    // The routes come in while the card is already laid out (its first map frames a route at once).
    QQuickItem *view = show({route("ZSPD", "ZBAA")});
    QVERIFY(view);
    QPointer<MapView> first;
    QTRY_VERIFY((first = mapOf(view)));
    QVERIFY(settled(first));
    view->setProperty("routes", QVariant::fromValue(FlownRoutes{
                                    {route("ZGGG", "ZBAA"), route("VHHH", "ZBAA"), route("ZGGG", "ZSPD"),
                                     route("ZSPD", "ZBAA"), route("ZGGG", "ZUUU"), route("ZSPD", "RCTP")}}));
    MapView *map = nullptr;
    QTRY_VERIFY((map = mapOf(view)) && map != first.data());
    QVERIFY(settled(map));
    // The map's items take their places for its camera in the next frame.
    QSignalSpy frames(m_window.get(), &QQuickWindow::frameSwapped);
    QVERIFY(frames.wait(TestSupport::patience));
    QList<QRectF> balloons;
    for (QQuickItem *item : itemsBelow(map)) {
        if (qobject_cast<MapAnnotation *>(item))
            balloons.append(item->mapRectToScene(QRectF(0, 0, item->width(), item->height())));
    }
    QCOMPARE(balloons.size(), 6);
    QTRY_VERIFY(shownCodes(map).contains("ZGGG"));
    const auto apart = [&] {
        const QHash<QString, QRectF> codes = shownCodes(map);
        for (auto a = codes.cbegin(); a != codes.cend(); ++a) {
            for (auto b = codes.cbegin(); b != codes.cend(); ++b) {
                if (a != b && a->intersects(*b))
                    return a.key() + " on " + b.key();
            }
            for (const QRectF &balloon : balloons) {
                if (balloon.intersects(*a))
                    return a.key() + " on a balloon";
            }
        }
        return QString();
    };
    QCOMPARE(apart(), QString());
    QVERIFY(shownCodes(map).contains("ZBAA"));
    QVERIFY(shownCodes(map).contains("ZSPD"));

    // Over the Pearl River delta the two are far apart: both codes show, still on nothing.
    map->setCamera(QGeoCoordinate(22.8, 113.6), 400000);
    QVERIFY(settled(map));
    QVERIFY(frames.wait(TestSupport::patience));
    balloons.clear();
    for (QQuickItem *item : itemsBelow(map)) {
        if (qobject_cast<MapAnnotation *>(item))
            balloons.append(item->mapRectToScene(QRectF(0, 0, item->width(), item->height())));
    }
    QVERIFY(shownCodes(map).contains("ZGGG"));
    QVERIFY(shownCodes(map).contains("VHHH"));
    QCOMPARE(apart(), QString());
}

// Regression: the codes were placed in code order, so in a crowd of airports the member's busiest lost its
// code to quieter ones. Wuxi, with a route to each of the others, keeps its code as the Yangtze delta's
// airports crowd together further out, where only some of the codes find room.
void RoutesMapTest::busiestAirportsKeepTheirCodes()
{
    QQuickItem *view = show({route("ZSWX", "ZSPD"), route("ZSWX", "ZSSS"), route("ZSWX", "ZSHC"),
                             route("ZSWX", "ZSNB"), route("ZSWX", "ZSNJ"), route("ZSWX", "ZBAA")});
    QVERIFY(view);
    MapView *map = nullptr;
    QTRY_VERIFY((map = mapOf(view)));
    QVERIFY(settled(map));
    QSignalSpy frames(m_window.get(), &QQuickWindow::frameSwapped);
    for (const double distance : {4000000.0, 8000000.0}) {
        map->setCamera(QGeoCoordinate(31.4, 120.4), distance);
        QVERIFY(settled(map));
        QVERIFY(frames.wait(TestSupport::patience));
        const QHash<QString, QRectF> codes = shownCodes(map);
        QVERIFY2(codes.size() < 7, qPrintable(QStringList(codes.keys()).join(' ')));
        QVERIFY2(codes.contains("ZSWX"), qPrintable(QStringList(codes.keys()).join(' ')));
    }
}

QTEST_MAIN(RoutesMapTest)
#include "tst_routes_map.moc"
