// The live map's panels as views, off screen: each builds without a warning, the banner carries the
// identifiers and hands its clicks back, the panels follow the window's width class, and the compact card
// reports its height once per change.
#include "ImageTestSupport.h"
#include "LiveMapValues.h"
#include "SampleService.h"
#include "SceneTestSupport.h"
#include "ViewTestSupport.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

class MapPanelViewsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyPanelBuilds_data();
    void everyPanelBuilds();
    void bannerIdentifiersAndSignals();
    void panelsFollowTheWindowWidth_data();
    void panelsFollowTheWindowWidth();
    void compactCardReportsItsHeight();
    void pictureStaysInsideItsPanel_data();
    void pictureStaysInsideItsPanel();
    void hostedViewsHandBackAndNeverClose_data();
    void hostedViewsHandBackAndNeverClose();
    void panelsTakeTheKeyboardAsTheyOpen_data();
    void panelsTakeTheKeyboardAsTheyOpen();

private:
    // The aircraft pictures of the bar and the card come from the sample service.
    Sample::Service m_service;
    std::optional<TestSupport::InstalledPictures> m_pictures;
};

namespace {

// The map's panels: QtQuick, Vorna.Ui and Vorna.Maps imported.
class Views : public TestSupport::Views
{
public:
    Views()
        : TestSupport::Views("import QtQuick\nimport Vorna.Ui\nimport Vorna.Maps\n")
    {
    }
};

LiveFlight sample(const QString &id, const QString &callsign)
{
    LiveFlight flight;
    flight.id = id;
    flight.callsign = callsign;
    flight.server = QStringLiteral("Expert");
    flight.aircraft = QStringLiteral("Airbus A330-300");
    flight.departure = QStringLiteral("ZSPD");
    flight.arrival = QStringLiteral("RJTT");
    flight.latitude = 31.9;
    flight.longitude = 125.3;
    flight.altitude = 37000;
    flight.groundSpeed = 465;
    flight.flightPhase = FlightPhaseDescription{QStringLiteral("cruise"),
                                                {{QStringLiteral("zh"), QStringLiteral("巡航")}},
                                                QStringLiteral("airplane"),
                                                QStringLiteral("#27AE60"),
                                                0};
    return flight;
}

// Lets the window lay out and draw one more frame.
void nextFrame(QQuickWindow &window)
{
    QSignalSpy drawn(&window, &QQuickWindow::frameSwapped);
    window.update();
    QTRY_VERIFY(!drawn.isEmpty());
}

QQuickItem *named(QQuickItem *root, const QString &name) { return root->findChild<QQuickItem *>(name); }

// Whether an item of the QML type `type` stands under `root` in the item tree (a loader's item is no
// QObject child of the loader).
bool holds(QQuickItem *root, const QByteArray &type)
{
    for (QQuickItem *item : root->childItems()) {
        if (QByteArray(item->metaObject()->className()).startsWith(type + "_QMLTYPE") || holds(item, type))
            return true;
    }
    return false;
}

} // namespace

void MapPanelViewsTest::initTestCase()
{
    QVERIFY(m_service.start());
    m_pictures.emplace(m_service);
}

void MapPanelViewsTest::everyPanelBuilds_data()
{
    QTest::addColumn<QByteArray>("qml");
    QTest::newRow("LiveBadge") << QByteArray("LiveBadge {}");
    QTest::newRow("PlaneShape") << QByteArray(
        "PlaneShape { width: 12; height: 12; fill: PlaneColors.live; outline: PlaneColors.ink }");
    QTest::newRow("PhaseChip") << QByteArray(
        "PhaseChip { symbol: \"airplane\"; title: \"巡航\"; rate: \"+0 ft/min\"; tint: \"#27AE60\" }");
    QTest::newRow("PhaseChip spanning") << QByteArray("PhaseChip { spans: true; title: \"巡航\" }");
    QTest::newRow("FlightFigure") << QByteArray("FlightFigure { title: \"高度\"; value: \"37000 ft\" }");
    QTest::newRow("SelectedFlightBar") << QByteArray("SelectedFlightBar { width: 1000; live: true }");
    QTest::newRow("LiveFlightDetailView") << QByteArray("LiveFlightDetailView { width: 400 }");
    QTest::newRow("MapBannerView") << QByteArray("MapBannerView { width: 800; loading: true }");
    QTest::newRow("ChoiceMenu") << QByteArray(
        "ChoiceMenu { title: \"机型\"; choices: [\"\", \"A\", \"B\"] }");
    QTest::newRow("FlightSearchView") << QByteArray("FlightSearchView { width: 400; height: 460 }");
    QTest::newRow("OwnFlightsPicker") << QByteArray("OwnFlightsPicker { width: 400; height: 460 }");
    QTest::newRow("MapSheet") << QByteArray("MapSheet { width: 400; height: 800; presented: true }");
    QTest::newRow("MapPanelsView") << QByteArray("MapPanelsView { width: 1000; height: 700 }");
}

void MapPanelViewsTest::everyPanelBuilds()
{
    QFETCH(QByteArray, qml);
    Views views;
    const auto item = views.make(qml);
    QVERIFY2(item, qPrintable(views.warnings().join('\n')));
    QVERIFY2(views.warnings().isEmpty(), qPrintable(views.warnings().join('\n')));
}

void MapPanelViewsTest::bannerIdentifiersAndSignals()
{
    Views views;
    const auto banner = views.make("MapBannerView { width: 900; hasSnapshot: true; flightCount: 10; "
                                   "liveCount: 3 }");
    QVERIFY2(banner, qPrintable(views.warnings().join('\n')));
    const LiveFlight one = sample(QStringLiteral("lv-207"), QStringLiteral("B-207CA"));
    banner->setProperty("ownFlights", QVariant::fromValue(LiveFlightList{{one}}));

    for (const char *name : {"map.style", "map.search", "map.demo", "map.ownFlights", "map.liveLegend"})
        QVERIFY2(named(banner.get(), name), name);

    // One own flight is chosen at once; several ask for the picker.
    QSignalSpy chosen(banner.get(), SIGNAL(ownFlightChosen(LiveFlightValue)));
    QSignalSpy picker(banner.get(), SIGNAL(ownFlightsPickerRequested()));
    QMetaObject::invokeMethod(banner.get(), "ownFlightAction");
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).value<LiveFlightValue>().id(), QStringLiteral("lv-207"));
    banner->setProperty("ownFlights",
                        QVariant::fromValue(LiveFlightList{{one, sample("lv-112", "B-112CA")}}));
    QMetaObject::invokeMethod(banner.get(), "ownFlightAction");
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(picker.size(), 1);
    QVERIFY(views.warnings().isEmpty());
}

void MapPanelViewsTest::panelsFollowTheWindowWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("searching");
    QTest::addColumn<QString>("shown");   // the one holder on screen
    QTest::addColumn<QString>("content"); // what it holds
    QTest::newRow("wide: the bar") << 1100 << false << "map.flightBar"
                                   << "SelectedFlightBar";
    QTest::newRow("wide, searching: the side card") << 1100 << true << "map.sideCard"
                                                    << "FlightSearchView";
    QTest::newRow("narrow: the card's sheet") << 430 << false << "map.sheet"
                                              << "LiveFlightDetailView";
    QTest::newRow("narrow, searching: the search's sheet") << 600 << true << "map.sheet"
                                                           << "FlightSearchView";
}

void MapPanelViewsTest::panelsFollowTheWindowWidth()
{
    QFETCH(int, width);
    QFETCH(bool, searching);
    QFETCH(QString, shown);
    QFETCH(QString, content);
    Views views;
    QQuickWindow window;
    window.resize(width, 800);
    const auto panels = views.make("MapPanelsView {}");
    QVERIFY2(panels, qPrintable(views.warnings().join('\n')));
    // As a map hands them in: the state first, the size once the window has laid the map out.
    panels->setProperty("selected", QVariant::fromValue(LiveFlightValue{sample("lv-207", "B-207CA")}));
    panels->setProperty("searching", searching);
    panels->setParentItem(window.contentItem());
    panels->setSize(window.size());
    window.show(); // layouts settle before a frame

    const QStringList holders{"map.flightBar", "map.sideCard", "map.sheet"};
    for (const QString &holder : holders) {
        QQuickItem *item = named(panels.get(), holder);
        QVERIFY2(item, qPrintable(holder));
        if (holder == QLatin1String("map.sheet")) {
            QTRY_COMPARE(item->property("presented").toBool(), holder == shown);
        } else {
            QTRY_COMPARE(item->opacity() > 0, holder == shown);
        }
    }
    // The part of the map the holder on screen covers, for the map's names to keep clear of; none other.
    const QHash<QString, const char *> areas{
        {"map.flightBar", "barArea"}, {"map.sideCard", "sideCardArea"}, {"map.sheet", "sheetArea"}};
    for (auto area = areas.cbegin(); area != areas.cend(); ++area) {
        const QRectF covered = panels->property(area.value()).toRectF();
        QTRY_COMPARE(covered.height() > 0, area.key() == shown);
        if (area.key() == shown)
            QVERIFY(QRectF(QPointF(0, 0), window.size()).contains(covered));
    }
    // The holder on screen has made its content.
    QTRY_VERIFY2(holds(named(panels.get(), shown), content.toUtf8()),
                 qPrintable(content + '\n' + views.warnings().join('\n')));
    // The search's sheet dims the map below it; the card's leaves it as it is, to be used around the card.
    QQuickItem *scrim = named(panels.get(), "mapSheet.scrim");
    QVERIFY(scrim);
    QTRY_COMPARE(scrim->isVisible(), shown == "map.sheet" && content == "FlightSearchView");
    // Guards the arrival code that Qt 6.4 laid out zero wide, past the card's edge, when the card was made
    // before the map had its width: both codes get their width, inside the route line.
    for (QQuickItem *route : panels->findChildren<QQuickItem *>(QStringLiteral("map.routeProgress"))) {
        const QQuickItem *codes = route->childItems().constFirst();
        for (const QQuickItem *code : codes->childItems()) {
            if (code->property("text").toString().isEmpty())
                continue;
            QTRY_VERIFY2(code->width() >= code->implicitWidth() - 1,
                         qPrintable(code->property("text").toString()));
            QTRY_VERIFY(code->x() + code->width() <= route->width() + 1);
        }
    }
    QVERIFY2(views.warnings().isEmpty(), qPrintable(views.warnings().join('\n')));
}

void MapPanelViewsTest::compactCardReportsItsHeight()
{
    Views views;
    QQuickWindow window;
    window.resize(420, 800);
    const auto card = views.make("LiveFlightDetailView { width: 420 }");
    QVERIFY2(card, qPrintable(views.warnings().join('\n')));
    QSignalSpy measured(card.get(), SIGNAL(measured(double)));
    LiveFlight flight = sample("lv-207", "B-207CA");
    card->setParentItem(window.contentItem());
    card->setProperty("flight", QVariant::fromValue(LiveFlightValue{flight}));
    window.show(); // layouts settle before a frame
    QTRY_VERIFY(!measured.isEmpty());
    nextFrame(window);
    const int before = int(measured.size());
    const double tall = measured.last().at(0).toDouble();
    QCOMPARE(tall, card->property("contentHeight").toDouble());

    // The same content again: nothing new to report.
    card->setProperty("flight", QVariant::fromValue(LiveFlightValue{flight}));
    nextFrame(window);
    QCOMPARE(measured.size(), before);

    // The phase goes: one report of the smaller height.
    flight.flightPhase.reset();
    card->setProperty("flight", QVariant::fromValue(LiveFlightValue{flight}));
    QTRY_COMPARE(measured.size(), before + 1);
    QVERIFY(measured.last().at(0).toDouble() < tall);
}

void MapPanelViewsTest::pictureStaysInsideItsPanel_data()
{
    QTest::addColumn<QByteArray>("qml");
    QTest::addColumn<bool>("picture"); // whether the picture has room to show
    // The map of a window of 760 points beside the sidebar: 540 wide, the bar 20 in from either side.
    QTest::newRow("bar in the narrowest window") << QByteArray("SelectedFlightBar { width: 500 }") << false;
    QTest::newRow("bar in a middling window") << QByteArray("SelectedFlightBar { width: 760 }") << true;
    QTest::newRow("bar in a wide window") << QByteArray("SelectedFlightBar { width: 1100 }") << true;
    QTest::newRow("card in a narrow sheet") << QByteArray("LiveFlightDetailView { width: 320 }") << true;
    QTest::newRow("card in a wide sheet") << QByteArray("LiveFlightDetailView { width: 640 }") << true;
}

// Regression: the selected flight's panel in the narrowest window laid the aircraft picture past its
// right edge, drawn over the map at the window's edge.
void MapPanelViewsTest::pictureStaysInsideItsPanel()
{
    QFETCH(QByteArray, qml);
    QFETCH(bool, picture);
    Views views;
    QQuickWindow window;
    window.resize(1200, 800);
    const auto panel = views.make(qml);
    QVERIFY2(panel, qPrintable(views.warnings().join('\n')));
    // As the member's own flight shows: climbing, its plan loaded, so the progress figure shows too.
    LiveFlight flight = sample("lv-207", "B-207CA");
    flight.livery = QStringLiteral("China Eastern");
    flight.pilot = QStringLiteral("LiChen_VNA");
    flight.flightPhase->verticalSpeed = 2100;
    panel->setProperty("flight", QVariant::fromValue(LiveFlightValue{flight}));
    panel->setProperty("live", true);
    const PlanResponse plan{QList<FlightPoint>{{31.14, 121.8, {}}, {35.55, 139.78, {}}}, std::nullopt};
    panel->setProperty("plan", QVariant::fromValue(FlightPlanValue{plan}));
    panel->setParentItem(window.contentItem());
    window.show();
    QTRY_VERIFY(panel->height() > 0 || panel->implicitHeight() > 0);
    if (panel->height() <= 0)
        panel->setHeight(panel->implicitHeight());
    // The picture as laid out, loaded or not.
    QQuickItem *photo = nullptr;
    const std::function<void(QQuickItem *)> find = [&](QQuickItem *item) {
        for (QQuickItem *child : item->childItems()) {
            if (QByteArray(child->metaObject()->className()).startsWith("AircraftPhoto_QMLTYPE"))
                photo = child;
            else
                find(child);
        }
    };
    find(panel.get());
    QVERIFY(photo);
    nextFrame(window);
    if (!picture) {
        // No room beside the flight's facts: the picture gives way.
        QVERIFY(!photo->isVisible());
        return;
    }
    QVERIFY(photo->isVisible());
    const QRectF inPanel = photo->mapRectToItem(panel.get(), photo->boundingRect());
    QVERIFY2(inPanel.width() >= 100 && QRectF(0, 0, panel->width(), panel->height()).contains(inPanel),
             qPrintable(QStringLiteral("picture at %1,%2 %3x%4 in a panel of %5x%6")
                            .arg(inPanel.x())
                            .arg(inPanel.y())
                            .arg(inPanel.width())
                            .arg(inPanel.height())
                            .arg(panel->width())
                            .arg(panel->height())));
}

void MapPanelViewsTest::hostedViewsHandBackAndNeverClose_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("ownFlights");
    QTest::newRow("wide search") << 1100 << false;
    QTest::newRow("narrow search") << 600 << false;
    QTest::newRow("wide picker") << 1100 << true;
    QTest::newRow("narrow picker") << 600 << true;
}

void MapPanelViewsTest::hostedViewsHandBackAndNeverClose()
{
    QFETCH(int, width);
    QFETCH(bool, ownFlights);
    Views views;
    QQuickWindow window;
    window.resize(width, 800);
    const auto panels = views.make("MapPanelsView {}");
    QVERIFY2(panels, qPrintable(views.warnings().join('\n')));
    const LiveFlightList flights{{sample("lv-207", "B-207CA"), sample("lv-112", "B-112CA")}};
    panels->setProperty(ownFlights ? "ownFlights" : "flights", QVariant::fromValue(flights));
    panels->setProperty(ownFlights ? "choosingOwnFlights" : "searching", true);
    panels->setParentItem(window.contentItem());
    panels->setSize(window.size());
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window, TestSupport::patience));

    QSignalSpy chosen(panels.get(), SIGNAL(chosen(LiveFlightValue)));
    QSignalSpy closedSearch(panels.get(), SIGNAL(closeSearch()));
    QSignalSpy closedPicker(panels.get(), SIGNAL(closeOwnFlights()));
    QSignalSpy dismissed(panels.get(), SIGNAL(dismissed()));
    const char *holder = width > 700 ? "sidePicker" : "sheetPicker";
    QObject *view = nullptr;
    QTRY_VERIFY((view = panels->property(holder).value<QObject *>()) != nullptr);
    // The view was given its flights, and its keyboard.
    QCOMPARE(view->property("flights").value<LiveFlightList>().count(), 2);
    QVERIFY(window.activeFocusItem() && window.activeFocusItem() != window.contentItem());

    // A pick goes back to the map; the view stays until the map closes it.
    QMetaObject::invokeMethod(view, "choose", Q_ARG(LiveFlightValue, {flights.flights.at(1)}));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).value<LiveFlightValue>().id(), QStringLiteral("lv-112"));
    QMetaObject::invokeMethod(view, "close");
    QCOMPARE(closedSearch.size(), ownFlights ? 0 : 1);
    QCOMPARE(closedPicker.size(), ownFlights ? 1 : 0);
    QCOMPARE(panels->property(holder).value<QObject *>(), view);

    // Escape dismisses the narrow window's sheet; the wide side card has no dismissal of its own.
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(dismissed.size(), width > 700 ? 0 : 1);
    QVERIFY2(views.warnings().isEmpty(), qPrintable(views.warnings().join('\n')));
}

void MapPanelViewsTest::panelsTakeTheKeyboardAsTheyOpen_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("opens");  // "flight", "search" or "ownFlights"
    QTest::addColumn<QString>("holder"); // where the panel stands
    QTest::addColumn<QString>("lands");  // the control the keyboard lands on: its objectName, or its QML type
    QTest::newRow("narrow: the flight's card") << 600 << "flight"
                                               << "map.sheet"
                                               << "LiveFlightDetailView";
    QTest::newRow("narrow: the search") << 600 << "search"
                                        << "map.sheet"
                                        << "flightSearch.query";
    QTest::newRow("narrow: the own flights") << 600 << "ownFlights"
                                             << "map.sheet"
                                             << "ownFlight.lv-207";
    QTest::newRow("wide: the search") << 1100 << "search"
                                      << "map.sideCard"
                                      << "flightSearch.query";
    QTest::newRow("wide: the own flights") << 1100 << "ownFlights"
                                           << "map.sideCard"
                                           << "ownFlight.lv-207";
}

// Opened from the keyboard, a panel takes it on a named control of its own, with its ring, and Tab and
// Shift+Tab stay inside it.
// Regression: the narrow window's sheet counted as off screen until its first frame had moved it up, so on a
// loaded machine the card could not take the keyboard as it opened and left it on the sheet's unnamed loader;
// and the own flights' picker held it on its list, unnamed to the desktop, from which Tab went to the
// sidebar; from its last flight, Tab went on to the sidebar.
void MapPanelViewsTest::panelsTakeTheKeyboardAsTheyOpen()
{
    QFETCH(int, width);
    QFETCH(QString, opens);
    QFETCH(QString, holder);
    QFETCH(QString, lands);
    Views views;
    QQuickWindow window;
    window.resize(width, 800);
    // The map's panels under a button that opens them, as the map's banner stands over them.
    const auto root =
        views.make("import QtQuick.Controls\n"
                   "Item { MapPanelsView { objectName: \"panels\"; anchors.fill: parent }\n"
                   "Button { objectName: \"opener\"; text: \"打开\"; focusPolicy: Qt.StrongFocus } }");
    QVERIFY2(root, qPrintable(views.warnings().join('\n')));
    QQuickItem *panels = named(root.get(), "panels");
    QQuickItem *opener = named(root.get(), "opener");
    const LiveFlightList flights{{sample("lv-207", "B-207CA"), sample("lv-112", "B-112CA")}};
    panels->setProperty("flights", QVariant::fromValue(flights));
    panels->setProperty("ownFlights", QVariant::fromValue(flights));
    root->setParentItem(window.contentItem());
    root->setSize(window.size());
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window, TestSupport::patience));
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestSupport::patience));
    opener->forceActiveFocus(Qt::TabFocusReason);
    QQuickItem *shownIn = named(panels, holder);
    QVERIFY(shownIn);
    // Drawn, with nothing of the panel on screen yet.
    const auto away = [shownIn] {
        const QList<QQuickItem *> parts = shownIn->childItems();
        return !shownIn->isVisible() || std::none_of(parts.cbegin(), parts.cend(), [](QQuickItem *part) {
            return part->isVisible();
        });
    };
    nextFrame(window);
    QTRY_VERIFY(away());

    // As the map opens each: it tells the panels where the keyboard is, then changes its state.
    if (opens == QLatin1String("flight")) {
        QMetaObject::invokeMethod(panels, "openingFlight");
        panels->setProperty("selected", QVariant::fromValue(LiveFlightValue{flights.flights.at(0)}));
    } else {
        QMetaObject::invokeMethod(panels, "opening");
        panels->setProperty(opens == QLatin1String("search") ? "searching" : "choosingOwnFlights", true);
    }
    // Before the panel's first frame (a loaded machine draws it late): the keyboard is in the panel already,
    // on something a screen reader names.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QQuickItem *focused = window.activeFocusItem();
    QVERIFY2(focused && shownIn->isAncestorOf(focused) && TestSupport::keyboardUnheard(&window).isEmpty(),
             qPrintable(TestSupport::keyboardUnheard(&window)));

    // Once it is up: on its control, with the ring the keyboard gives it; the card and the bar, named by
    // their flight, themselves.
    const auto landed = [&] {
        QQuickItem *now = window.activeFocusItem();
        return now
               && (now->objectName() == lands
                   || QByteArray(now->metaObject()->className()).startsWith(lands.toUtf8() + "_QMLTYPE"));
    };
    QTRY_VERIFY2(landed(), qPrintable(TestSupport::heardName(window.activeFocusItem())));
    if (window.activeFocusItem()->metaObject()->indexOfProperty("visualFocus") >= 0)
        QTRY_VERIFY(window.activeFocusItem()->property("visualFocus").toBool());
    // The card has no control of its own to go on to. The search and the picker keep Tab and Shift+Tab
    // inside them, round from their last control to their first.
    if (lands != QLatin1String("LiveFlightDetailView")) {
        for (int press = 0; press < 8; ++press) {
            if (press < 5)
                QTest::keyClick(&window, Qt::Key_Tab);
            else
                QTest::keyClick(&window, Qt::Key_Backtab, Qt::ShiftModifier);
            QVERIFY2(window.activeFocusItem() && shownIn->isAncestorOf(window.activeFocusItem()),
                     qPrintable(QStringLiteral("press %1: %2")
                                    .arg(press)
                                    .arg(TestSupport::heardName(window.activeFocusItem()))));
            QVERIFY2(TestSupport::keyboardUnheard(&window).isEmpty(),
                     qPrintable(TestSupport::keyboardUnheard(&window)));
        }
    }
    QVERIFY2(views.warnings().isEmpty(), qPrintable(views.warnings().join('\n')));
}

QTEST_MAIN(MapPanelViewsTest)
#include "tst_map_panel_views.moc"
