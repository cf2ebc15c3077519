// The live map's rules that need no screen: the member's own flights and their order, the size classes
// and colours of the markers and their stacking, the plan keys and the airports at a plan's ends, the zoom
// and the camera of a selection.
#include "LiveMapMarkers.h"
#include "LiveMapRules.h"
#include "PlaneMarker.h"

#include <QColor>
#include <QtTest>

namespace {

LiveFlight flight(const QString &id, std::optional<QString> pilot = std::nullopt)
{
    LiveFlight f;
    f.id = id;
    f.pilot = std::move(pilot);
    return f;
}

QStringList ids(const QList<LiveFlight> &flights)
{
    QStringList list;
    for (const LiveFlight &f : flights)
        list.append(f.id);
    return list;
}

QStringList idsInOrder(const LiveResponse &snapshot, const QList<qsizetype> &order)
{
    QStringList list;
    for (const qsizetype i : order)
        list.append(snapshot.flights.at(i).id);
    return list;
}

const QString session = QStringLiteral("7e5d7a3b-2f1c-4b8e-9d6a-0c4e8f2a1b93");
const QString flightUuid = QStringLiteral("2d7c9e41-8b3f-4a6d-b0e5-7f1a9c3d5e82");

} // namespace

class LiveMapRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ownFlightsByMemberEntry();
    void ownFlightsByPilotName();
    void ownFlightsWithoutUserName();
    void ownFlightFirstAndOnce();
    void ownFlightsInNameOrder();
    void sizeClassOfExampleNames_data();
    void sizeClassOfExampleNames();
    void markerSizeFollowsZoom_data();
    void markerSizeFollowsZoom();
    void markerColours_data();
    void markerColours();
    void outlineWidth();
    void drawOrderStacksSelectionEventLive();
    void noGoldWithoutConnectedIdentification_data();
    void noGoldWithoutConnectedIdentification();
    void markerRowsCarryTheLayersRoles();
    void planKeys_data();
    void planKeys();
    void planRequestsOnlyForUuids_data();
    void planRequestsOnlyForUuids();
    void pruneKeepsTheSnapshotsPlans();
    void endpointsOfAPlan_data();
    void endpointsOfAPlan();
    void withRouteFillsMissingEnds();
    void zoomOfARegion_data();
    void zoomOfARegion();
    void selectionCentresSouthOfTheFlight_data();
    void selectionCentresSouthOfTheFlight();
};

void LiveMapRulesTest::ownFlightsByMemberEntry()
{
    LiveResponse snapshot;
    snapshot.flights = {flight("a", "LiChen"), flight("b", "someone"), flight("c", "lichen")};
    // The entry matches in any letter case; only its ids count, whatever the pilot names say.
    snapshot.members = QList<LiveMapMember>{{"other", {"a"}}, {"LICHEN", {"b"}}};
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), QStringList{"b"});
    // An entry without ids matches nothing, and pilot names are not looked at then.
    snapshot.members = QList<LiveMapMember>{{"lichen", {}}};
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), QStringList{});
}

void LiveMapRulesTest::ownFlightsByPilotName()
{
    LiveResponse snapshot;
    snapshot.flights = {flight("a", "LiChen"), flight("b", "someone"), flight("c"), flight("d", "LICHEN")};
    // No member table.
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), (QStringList{"a", "d"}));
    // A table without an entry for him.
    snapshot.members = QList<LiveMapMember>{{"someone", {"b"}}};
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), (QStringList{"a", "d"}));
}

void LiveMapRulesTest::ownFlightsWithoutUserName()
{
    LiveResponse snapshot;
    snapshot.flights = {flight("a", "lichen")};
    QCOMPARE(ids(snapshot.ownFlights(std::nullopt)), QStringList{});
    snapshot.ownFlight = flight("z");
    QCOMPARE(ids(snapshot.ownFlights(std::nullopt)), QStringList{"z"});
}

void LiveMapRulesTest::ownFlightFirstAndOnce()
{
    LiveResponse snapshot;
    LiveFlight a = flight("a", "lichen");
    a.server = "Casual";
    LiveFlight b = flight("b", "lichen");
    b.server = "Training";
    snapshot.flights = {a, b};
    snapshot.ownFlight = b;
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), (QStringList{"b", "a"}));
    // One the matching missed is added, and still comes first.
    snapshot.ownFlight = flight("z");
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), (QStringList{"z", "a", "b"}));
}

void LiveMapRulesTest::ownFlightsInNameOrder()
{
    LiveResponse snapshot;
    const auto own = [](const QString &id, const QString &server, std::optional<QString> callsign) {
        LiveFlight f = flight(id, "lichen");
        f.server = server;
        f.callsign = std::move(callsign);
        return f;
    };
    // Servers that differ only in a number: the smaller number leads; letter case is ignored.
    snapshot.flights = {own("1", "Server 10", "B-1"), own("2", "server 2", "B-1"),
                        own("3", "Expert", std::nullopt), own("4", "expert", "B-10"),
                        own("5", "Expert", "b-9")};
    QCOMPARE(ids(snapshot.ownFlights(QString("lichen"))), (QStringList{"3", "5", "4", "2", "1"}));
}

void LiveMapRulesTest::sizeClassOfExampleNames_data()
{
    QTest::addColumn<std::optional<QString>>("name");
    QTest::addColumn<double>("factor");
    QTest::newRow("missing") << std::optional<QString>() << 1.0;
    QTest::newRow("empty") << std::optional<QString>("") << 1.0;
    QTest::newRow("no family") << std::optional<QString>("Piaggio P.180") << 1.0;
    QTest::newRow("Airbus A380-800") << std::optional<QString>("Airbus A380-800") << 1.45;
    QTest::newRow("a380") << std::optional<QString>("a380") << 1.45;
    QTest::newRow("Boeing 777-300ER") << std::optional<QString>("Boeing 777-300ER") << 1.25;
    QTest::newRow("Boeing 737-800") << std::optional<QString>("Boeing 737-800") << 1.0;
    QTest::newRow("Airbus A321") << std::optional<QString>("Airbus A321") << 1.0;
    QTest::newRow("Embraer E175") << std::optional<QString>("Embraer E175") << 0.82;
    QTest::newRow("Cessna 208 Caravan") << std::optional<QString>("Cessna 208 Caravan") << 0.62;
    QTest::newRow("Cessna Citation X") << std::optional<QString>("Cessna Citation X") << 0.82;
    QTest::newRow("Lockheed C-130") << std::optional<QString>("Lockheed C-130") << 1.0;
    QTest::newRow("Boeing C-17") << std::optional<QString>("Boeing C-17 Globemaster III") << 1.25;
    QTest::newRow("C17") << std::optional<QString>("C17") << 1.25;
    // The mend: the Cessna written without a space is a light aircraft, not the C-17.
    QTest::newRow("C172") << std::optional<QString>("C172") << 0.62;
    QTest::newRow("Cessna C172 Skyhawk") << std::optional<QString>("Cessna C172 Skyhawk") << 0.62;
    QTest::newRow("TBM 930") << std::optional<QString>("TBM 930") << 0.62;
}

void LiveMapRulesTest::sizeClassOfExampleNames()
{
    QFETCH(std::optional<QString>, name);
    QFETCH(double, factor);
    QCOMPARE(PlaneStyle::scale(name), factor);
}

void LiveMapRulesTest::markerSizeFollowsZoom_data()
{
    QTest::addColumn<QString>("aircraft");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("size");
    QTest::newRow("ordinary at zoom 0") << "Boeing 737-800" << 0.0 << 24.0;
    QTest::newRow("ordinary at zoom 1") << "Boeing 737-800" << 1.0 << 24.0;
    QTest::newRow("ordinary at zoom 8") << "Boeing 737-800" << 8.0 << 35.52;
    QTest::newRow("ordinary at zoom 14") << "Boeing 737-800" << 14.0 << 43.2;
    QTest::newRow("ordinary at zoom 20") << "Boeing 737-800" << 20.0 << 43.2;
    QTest::newRow("ordinary at no zoom") << "Boeing 737-800" << qQNaN() << 43.2;
    QTest::newRow("A380 at zoom 14") << "Airbus A380" << 14.0 << 62.64;
    QTest::newRow("Cessna at zoom 1") << "Cessna 172" << 1.0 << 14.88;
}

void LiveMapRulesTest::markerSizeFollowsZoom()
{
    QFETCH(QString, aircraft);
    QFETCH(double, zoom);
    QFETCH(double, size);
    QVERIFY(qFuzzyCompare(PlaneStyle::markerSize(aircraft, zoom), size));
}

void LiveMapRulesTest::markerColours_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("event");
    QTest::addColumn<bool>("live");
    QTest::addColumn<QRgb>("fill");
    QTest::addColumn<QRgb>("outline");
    const QRgb white = 0xffffffff;
    QTest::newRow("ordinary") << false << false << false << PlaneColors::ink << white;
    QTest::newRow("live") << false << false << true << PlaneColors::live << PlaneColors::ink;
    QTest::newRow("event") << false << true << false << PlaneColors::event << white;
    QTest::newRow("event and live: blue") << false << true << true << PlaneColors::event << white;
    QTest::newRow("selected event: orange")
        << true << true << false << PlaneColors::selected << PlaneColors::ink;
    QTest::newRow("selected") << true << false << true << PlaneColors::selected << PlaneColors::ink;
}

void LiveMapRulesTest::markerColours()
{
    QFETCH(bool, selected);
    QFETCH(bool, event);
    QFETCH(bool, live);
    QFETCH(QRgb, fill);
    QFETCH(QRgb, outline);
    QCOMPARE(PlaneMarker::colors(selected, event, live), (PlaneMarker::Colors{fill, outline}));
    // The four colours, component for component.
    QCOMPARE(QColor::fromRgba(PlaneColors::ink), QColor(27, 34, 51));
    QCOMPARE(QColor::fromRgba(PlaneColors::selected), QColor(250, 105, 31));
    QCOMPARE(QColor::fromRgba(PlaneColors::event), QColor(29, 111, 224));
    QCOMPARE(QColor::fromRgba(PlaneColors::live), QColor(217, 173, 89));
}

void LiveMapRulesTest::outlineWidth()
{
    QCOMPARE(PlaneMarker::outlineWidth(20), 1.0);
    QVERIFY(qFuzzyCompare(PlaneMarker::outlineWidth(60), 1.75));
}

void LiveMapRulesTest::drawOrderStacksSelectionEventLive()
{
    LiveResponse snapshot;
    snapshot.liveIdentification = "connected";
    const auto make = [](const QString &id, bool event, bool live) {
        LiveFlight f = flight(id);
        f.eventAttending = event;
        f.isLive = live;
        return f;
    };
    snapshot.flights = {make("live1", false, true), make("plain1", false, false), make("event1", true, false),
                        make("both", true, true),   make("plain2", false, false), make("live2", false, true)};
    QCOMPARE(idsInOrder(snapshot, LiveMapRules::drawOrder(snapshot, std::nullopt)),
             (QStringList{"plain1", "plain2", "live1", "live2", "event1", "both"}));
    // The selected flight goes on top of all; a newly selected one moves there.
    QCOMPARE(idsInOrder(snapshot, LiveMapRules::drawOrder(snapshot, QString("plain1"))),
             (QStringList{"plain2", "live1", "live2", "event1", "both", "plain1"}));
    QCOMPARE(idsInOrder(snapshot, LiveMapRules::drawOrder(snapshot, QString("live1"))),
             (QStringList{"plain1", "plain2", "live2", "event1", "both", "live1"}));
    QCOMPARE(LiveMapRules::liveCount(snapshot), 3);
}

void LiveMapRulesTest::noGoldWithoutConnectedIdentification_data()
{
    QTest::addColumn<std::optional<QString>>("identification");
    QTest::newRow("missing") << std::optional<QString>();
    QTest::newRow("disconnected") << std::optional<QString>("disconnected");
    QTest::newRow("other case") << std::optional<QString>("Connected");
}

void LiveMapRulesTest::noGoldWithoutConnectedIdentification()
{
    QFETCH(std::optional<QString>, identification);
    LiveResponse snapshot;
    snapshot.liveIdentification = identification;
    LiveFlight live = flight("live");
    live.isLive = true;
    snapshot.flights = {live, flight("plain")};
    QCOMPARE(idsInOrder(snapshot, LiveMapRules::drawOrder(snapshot, std::nullopt)),
             (QStringList{"live", "plain"}));
    QCOMPARE(LiveMapRules::liveCount(snapshot), 0);
    LiveMapMarkers markers;
    markers.show(snapshot, std::nullopt, 2.4);
    QCOMPARE(markers.markers().at(0).fill, PlaneColors::ink);
}

void LiveMapRulesTest::markerRowsCarryTheLayersRoles()
{
    LiveResponse snapshot;
    snapshot.liveIdentification = "connected";
    LiveFlight heavy = flight("heavy");
    heavy.aircraft = "Airbus A380-800";
    heavy.latitude = 51.47;
    heavy.longitude = -0.45;
    heavy.heading = 270;
    heavy.isLive = true;
    LiveFlight light = flight("light");
    light.aircraft = "Cessna 172";
    snapshot.flights = {heavy, light};

    LiveMapMarkers markers;
    markers.show(snapshot, QString("light"), 1);
    const QHash<int, QByteArray> roles = markers.roleNames();
    const auto value = [&](int row, const QByteArray &role) {
        return markers.data(markers.index(row), roles.key(role));
    };
    QCOMPARE(markers.rowCount(), 2);
    // The live heavy below, the selected light aircraft on top.
    QCOMPARE(value(0, "flightId").toString(), QString("heavy"));
    QCOMPARE(value(0, "latitude").toDouble(), 51.47);
    QCOMPARE(value(0, "longitude").toDouble(), -0.45);
    QCOMPARE(value(0, "heading").toDouble(), 270.0);
    QVERIFY(qFuzzyCompare(value(0, "size").toDouble(), 48 * 1.45 * 0.5));
    QCOMPARE(value(0, "fill").value<QColor>(), QColor::fromRgba(PlaneColors::live));
    QCOMPARE(value(0, "outline").value<QColor>(), QColor::fromRgba(PlaneColors::ink));
    QCOMPARE(value(1, "flightId").toString(), QString("light"));
    // No heading points north.
    QCOMPARE(value(1, "heading").toDouble(), 0.0);
    QCOMPARE(value(1, "fill").value<QColor>(), QColor::fromRgba(PlaneColors::selected));
    QCOMPARE(markers.flightAt(1), 1);

    // A new zoom changes only the sizes.
    QSignalSpy reset(&markers, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&markers, &QAbstractItemModel::dataChanged);
    markers.setZoom(14);
    QCOMPARE(reset.size(), 0);
    QCOMPARE(changed.size(), 1);
    QVERIFY(qFuzzyCompare(value(0, "size").toDouble(), 62.64));
}

void LiveMapRulesTest::planKeys_data()
{
    QTest::addColumn<std::optional<QString>>("sessionId");
    QTest::addColumn<std::optional<QString>>("flightId");
    QTest::addColumn<QString>("key");
    QTest::newRow("both") << std::optional<QString>("s") << std::optional<QString>("f") << "s:f";
    QTest::newRow("no flight id") << std::optional<QString>("s") << std::optional<QString>() << "s:id";
    QTest::newRow("no session") << std::optional<QString>() << std::optional<QString>("f") << ":f";
    QTest::newRow("neither") << std::optional<QString>() << std::optional<QString>() << ":id";
}

void LiveMapRulesTest::planKeys()
{
    QFETCH(std::optional<QString>, sessionId);
    QFETCH(std::optional<QString>, flightId);
    QFETCH(QString, key);
    LiveFlight f = flight("id");
    f.sessionId = sessionId;
    f.flightId = flightId;
    QCOMPARE(LiveMapRules::planKey(f), key);
}

void LiveMapRulesTest::planRequestsOnlyForUuids_data()
{
    QTest::addColumn<std::optional<QString>>("sessionId");
    QTest::addColumn<std::optional<QString>>("flightId");
    QTest::addColumn<bool>("plannable");
    QTest::newRow("both UUIDs") << std::optional(session) << std::optional(flightUuid) << true;
    QTest::newRow("upper case") << std::optional(session.toUpper()) << std::optional(flightUuid) << true;
    QTest::newRow("flight id of another form")
        << std::optional(session) << std::optional<QString>("if-1") << false;
    QTest::newRow("braced") << std::optional(session) << std::optional("{" + flightUuid + "}") << false;
    QTest::newRow("no session") << std::optional<QString>() << std::optional(flightUuid) << false;
    QTest::newRow("no flight id") << std::optional(session) << std::optional<QString>() << false;
}

void LiveMapRulesTest::planRequestsOnlyForUuids()
{
    QFETCH(std::optional<QString>, sessionId);
    QFETCH(std::optional<QString>, flightId);
    QFETCH(bool, plannable);
    LiveFlight f = flight("id");
    f.sessionId = sessionId;
    f.flightId = flightId;
    QCOMPARE(LiveMapRules::plannable(f), plannable);
    if (plannable)
        QCOMPARE(LiveMapRules::planPath(f),
                 QString("/api/live-map/plan?sessionId=%1&flightId=%2").arg(*sessionId, *flightId));
}

void LiveMapRulesTest::pruneKeepsTheSnapshotsPlans()
{
    LiveMapRules::Plans plans{{"s:a", {}}, {"s:b", {}}, {":c", {}}};
    LiveFlight a = flight("x");
    a.sessionId = "s";
    a.flightId = "a";
    LiveMapRules::prune(plans, {a, flight("c")});
    QCOMPARE(QSet<QString>(plans.keyBegin(), plans.keyEnd()), (QSet<QString>{"s:a", ":c"}));
    LiveMapRules::prune(plans, {});
    QVERIFY(plans.isEmpty());
}

void LiveMapRulesTest::endpointsOfAPlan_data()
{
    // ZSPD at 31.1434 N, 121.8052 E; a minute of latitude is 1,852 m.
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("northKm");
    QTest::addColumn<std::optional<QString>>("code");
    QTest::newRow("at the airport") << "ZSPD" << 0.0 << std::optional<QString>("ZSPD");
    QTest::newRow("10 km away") << "ZSPD" << 10.0 << std::optional<QString>("ZSPD");
    QTest::newRow("30 km away") << "ZSPD" << 30.0 << std::optional<QString>();
    QTest::newRow("lower case") << "zspd" << 0.0 << std::optional<QString>();
    QTest::newRow("five letters") << "ZSPDX" << 0.0 << std::optional<QString>();
    QTest::newRow("padded") << " ZSPD" << 0.0 << std::optional<QString>();
    QTest::newRow("not in the table") << "QQQQ" << 0.0 << std::optional<QString>();
}

void LiveMapRulesTest::endpointsOfAPlan()
{
    QFETCH(QString, name);
    QFETCH(double, northKm);
    QFETCH(std::optional<QString>, code);
    const Airports::Table airports{{"ZSPD", {31.1434, 121.8052, "Shanghai", "CN"}}};
    const FlightPoint point{31.1434 + northKm / 111.2, 121.8052, name};
    QCOMPARE(LiveMapRules::endpoint(point, airports), code);
    QVERIFY(!LiveMapRules::endpoint(FlightPoint{31.1434, 121.8052, std::nullopt}, airports));
}

void LiveMapRulesTest::withRouteFillsMissingEnds()
{
    const Airports::Table airports{{"ZSPD", {31.1434, 121.8052, "Shanghai", "CN"}},
                                   {"RJTT", {35.5494, 139.7798, "Tokyo", "JP"}}};
    LiveFlight f = flight("lv-1");
    f.sessionId = session;
    f.flightId = flightUuid;
    const QString key = LiveMapRules::planKey(f);
    LiveMapRules::Plans plans;
    // Without a cached plan the flight stays as it is.
    QCOMPARE(LiveMapRules::withRoute(f, plans, airports), f);

    plans.insert(key, PlanResponse{QList<FlightPoint>{{31.1434, 121.8052, "ZSPD"},
                                                      {33, 130, "KAGIS"},
                                                      {35.5494, 139.7798, "RJTT"}},
                                   std::nullopt});
    LiveFlight filled = LiveMapRules::withRoute(f, plans, airports);
    QCOMPARE(filled.departure, std::optional<QString>("ZSPD"));
    QCOMPARE(filled.arrival, std::optional<QString>("RJTT"));

    // An empty end is filled too; a given one stays.
    f.departure = "";
    f.arrival = "ZBAA";
    filled = LiveMapRules::withRoute(f, plans, airports);
    QCOMPARE(filled.departure, std::optional<QString>("ZSPD"));
    QCOMPARE(filled.arrival, std::optional<QString>("ZBAA"));

    // A first point whose code the table lacks leaves the end absent (an empty one becomes absent).
    plans.insert(
        key, PlanResponse{QList<FlightPoint>{{10, 10, "QQQQ"}, {35.5494, 139.7798, "RJTT"}}, std::nullopt});
    filled = LiveMapRules::withRoute(f, plans, airports);
    QCOMPARE(filled.departure, std::optional<QString>());

    // A plan of one point changes nothing.
    plans.insert(key, PlanResponse{QList<FlightPoint>{{31.1434, 121.8052, "ZSPD"}}, std::nullopt});
    QCOMPARE(LiveMapRules::withRoute(f, plans, airports), f);
}

void LiveMapRulesTest::zoomOfARegion_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("zoom");
    QTest::newRow("70° in 1000 points") << 1000.0 << 70.0 << std::log2(360000.0 / 35840.0);
    QTest::newRow("no span") << 1000.0 << 0.0 << std::log2(1000.0 * 360 / (0.0001 * 512));
    QTest::newRow("negative span") << 1000.0 << -5.0 << std::log2(1000.0 * 360 / (0.0001 * 512));
}

void LiveMapRulesTest::zoomOfARegion()
{
    QFETCH(double, width);
    QFETCH(double, span);
    QFETCH(double, zoom);
    QVERIFY(qFuzzyCompare(LiveMapRules::zoom(width, span), zoom));
    QVERIFY(std::isfinite(LiveMapRules::zoom(width, span)));
}

void LiveMapRulesTest::selectionCentresSouthOfTheFlight_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("latitudeSpan");
    QTest::addColumn<double>("centre");
    QTest::newRow("span 50°: 6° south") << 30.0 << 50.0 << 24.0;
    QTest::newRow("span 2°: 0.24° south") << 31.2 << 2.0 << 30.96;
    // The mend: a centre below the projection's range is brought up to its edge.
    QTest::newRow("far south under a tall region") << -80.0 << 120.0 << -MapMath::maxLatitude;
}

void LiveMapRulesTest::selectionCentresSouthOfTheFlight()
{
    QFETCH(double, latitude);
    QFETCH(double, latitudeSpan);
    QFETCH(double, centre);
    LiveFlight f = flight("a");
    f.latitude = latitude;
    f.longitude = 121.5;
    const MapRegion region = LiveMapRules::selectionRegion(f, {0, 0, latitudeSpan, 70});
    QVERIFY(qFuzzyCompare(region.latitude, centre));
    QCOMPARE(region.longitude, 121.5);
    QCOMPARE(region.latitudeSpan, latitudeSpan);
    QCOMPARE(region.longitudeSpan, 70.0);
}

QTEST_GUILESS_MAIN(LiveMapRulesTest)
#include "tst_live_map_rules.moc"
