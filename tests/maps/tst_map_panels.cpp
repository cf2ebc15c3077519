// The live map's panels without a window: the flight phase, the flight bar's texts and end airports, the
// search, the own-flights picker and button, where the panels go by window width, and the banner's lines.
#include "FlightPhase.h"
#include "FlightSearchModel.h"
#include "Geodesy.h"
#include "LiveMapRules.h"
#include "MapBanner.h"
#include "MapPanels.h"
#include "SelectedFlight.h"
#include "SelectedFlightModel.h"
#include "Strings.h"
#include "ViewRules.h"

#include <QSignalSpy>
#include <QtTest>

#include <GeographicLib/Geodesic.hpp>

#include <cmath>

using Labels = QMap<QString, QString>;
using Texts = QStringList;
Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(MapBanner::Status)
Q_DECLARE_METATYPE(QList<MapBanner::Line>)

class MapPanelsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void phaseTitle_data();
    void phaseTitle();
    void phaseNeedsADescription();
    void phaseColour_data();
    void phaseColour();
    void phaseRate_data();
    void phaseRate();
    void planEndpoints_data();
    void planEndpoints();
    void flightBarEnds_data();
    void flightBarEnds();
    void flightBarProgress();
    void flightBarFigures_data();
    void flightBarFigures();
    void flightBarIdentity();
    void searchTokens_data();
    void searchTokens();
    void searchOrder();
    void searchMatching_data();
    void searchMatching();
    void searchFilters();
    void searchRows();
    void searchChoicesToldOnlyWhenTheyChange();
    void reloadedFlightsKeepTheirRows_data();
    void reloadedFlightsKeepTheirRows();
    void ownFlightsTexts();
    void panelsByWindowWidth_data();
    void panelsByWindowWidth();
    void compactSheetHeight_data();
    void compactSheetHeight();
    void bannerLines_data();
    void bannerLines();
    void bannerHeader();
    void bannerUpdateTime_data();
    void bannerUpdateTime();
    void bannerTexts();
    void liveIdentification();
};

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

LiveFlight flight(const QString &id, std::optional<QString> callsign = std::nullopt,
                  std::optional<QString> pilot = std::nullopt)
{
    LiveFlight f;
    f.id = id;
    f.callsign = std::move(callsign);
    f.pilot = std::move(pilot);
    return f;
}

LiveFlight phased(const Labels &labels, const QString &color = QStringLiteral("#27AE60"),
                  std::optional<double> rate = std::nullopt)
{
    LiveFlight f = flight(QStringLiteral("lv-1"));
    f.flightPhase =
        FlightPhaseDescription{QStringLiteral("cruise"), labels, QStringLiteral("airplane"), color, rate};
    return f;
}

// Shanghai Pudong and Tokyo Haneda as the bundled table has them.
Airports::Table airports()
{
    Airports::Table table;
    table.insert(QStringLiteral("ZSPD"),
                 {31.1434, 121.805, QStringLiteral("Shanghai"), QStringLiteral("CN")});
    table.insert(QStringLiteral("RJTT"), {35.5523, 139.78, QStringLiteral("Tokyo"), QStringLiteral("JP")});
    return table;
}

// The point `metres` due north of an airport, measured on the ellipsoid.
FlightPoint northOf(const QString &code, double metres, std::optional<QString> name)
{
    const AirportCoordinate airport = airports().value(code);
    double latitude = 0, longitude = 0;
    GeographicLib::Geodesic::WGS84().Direct(airport.latitude, airport.longitude, 0, metres, latitude,
                                            longitude);
    return {latitude, longitude, std::move(name)};
}

PlanResponse plan(QList<FlightPoint> points) { return {std::move(points), std::nullopt}; }

MapBanner::Status snapshotStatus(std::optional<QString> status, int flights = 3)
{
    MapBanner::Status s;
    s.hasSnapshot = true;
    s.flightCount = flights;
    s.snapshotStatus = std::move(status);
    return s;
}

const QString savedLine = QStringLiteral("先显示上次保存的数据，正在获取最新位置…");
const QString pausedLine = QStringLiteral("15 分钟没有操作，已暂停自动刷新。移动地图或点“刷新”继续。");
const QString degradedLine = QStringLiteral("部分数据暂时不可用，位置可能延迟");
const QString emptyLine = QStringLiteral("当前没有可显示的联盟航班。");

} // namespace

void MapPanelsTest::initTestCase() { qputenv("LANGUAGE", "zh_CN"); }

void MapPanelsTest::phaseTitle_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<Labels>("labels");
    QTest::addColumn<QString>("title");

    const Labels all{{"zh", "巡航"}, {"en", "Cruise"}, {"zh-HK", "巡航（港）"}, {"zh-TW", "巡航（台）"}};
    QTest::newRow("Simplified Chinese reads \"zh\"") << "zh-Hans" << all << "巡航";
    QTest::newRow("English") << "en" << all << "Cruise";
    QTest::newRow("Hong Kong") << "zh-HK" << all << "巡航（港）";
    QTest::newRow("Taiwan") << "zh-TW" << all << "巡航（台）";
    QTest::newRow("never under \"zh-Hans\"")
        << "zh-Hans" << Labels{{"zh-Hans", "巡航"}, {"en", "Cruise"}} << "Cruise";
    QTest::newRow("only English, in Chinese") << "zh-Hans" << Labels{{"en", "Cruise"}} << "Cruise";
    QTest::newRow("Hong Kong without its own: English, not \"zh\"")
        << "zh-HK" << Labels{{"zh", "巡航"}, {"en", "Cruise"}} << "Cruise";
    QTest::newRow("an empty label is used as it is")
        << "zh-Hans" << Labels{{"zh", ""}, {"en", "Cruise"}} << "";
    QTest::newRow("neither the language nor English: the code")
        << "en" << Labels{{"fr", "Croisière"}} << "cruise";
    QTest::newRow("no labels: the code") << "zh-TW" << Labels{} << "cruise";
}

void MapPanelsTest::phaseTitle()
{
    QFETCH(QString, language);
    QFETCH(Labels, labels);
    QFETCH(QString, title);
    const std::optional<FlightPhase> phase = FlightPhase::of(phased(labels), language, english);
    QVERIFY(phase);
    QCOMPARE(phase->title, title);
    QCOMPARE(phase->symbol, QStringLiteral("airplane")); // passed through
}

void MapPanelsTest::phaseNeedsADescription()
{
    // The flight's own vertical speed makes no phase, nor a rate.
    LiveFlight f = flight(QStringLiteral("lv-1"));
    f.verticalSpeed = 1800;
    QVERIFY(!FlightPhase::of(f, QStringLiteral("en"), english));
    // The rate is the description's, never the flight's.
    f = phased({{"en", "Climb"}}, QStringLiteral("#2F80ED"), std::nullopt);
    f.verticalSpeed = 1800;
    QVERIFY(!FlightPhase::of(f, QStringLiteral("en"), english)->rate);
}

void MapPanelsTest::phaseColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    const QColor green(31, 157, 87), neutral(111, 100, 88);
    QTest::newRow("#1F9D57") << "#1F9D57" << green;
    QTest::newRow("without the hash") << "1F9D57" << green;
    QTest::newRow("lower case") << "#1f9d57" << green;
    QTest::newRow("three digits") << "#FFF" << neutral;
    QTest::newRow("five digits") << "#1F9D5" << neutral;
    QTest::newRow("seven digits") << "#1F9D570" << neutral;
    QTest::newRow("not hexadecimal") << "#GGGGGG" << neutral;
    QTest::newRow("two hashes") << "##1F9D57" << neutral;
    QTest::newRow("empty") << "" << neutral;
    QTest::newRow("a plus sign and five digits") << "+1F9D5" << QColor(0x01, 0xF9, 0xD5);
    QTest::newRow("a minus sign before zero") << "-00000" << QColor(0, 0, 0);
    QTest::newRow("a minus sign before a value") << "-00001" << neutral;
}

void MapPanelsTest::phaseColour()
{
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    const std::optional<FlightPhase> phase = FlightPhase::of(phased({}, text), QStringLiteral("en"), english);
    QCOMPARE(phase->color, colour);
    QCOMPARE(phase->color.alpha(), 255);
}

void MapPanelsTest::phaseRate_data()
{
    QTest::addColumn<std::optional<double>>("rate");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text"); // empty: no rate

    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QTest::newRow("level: no sign") << std::optional(0.0) << english << "0 ft/min";
    QTest::newRow("the sign follows the unrounded value") << std::optional(0.3) << english << "+0 ft/min";
    QTest::newRow("a small descent rounds to 0 without a sign")
        << std::optional(-0.4) << english << "0 ft/min";
    QTest::newRow("descent") << std::optional(-850.2) << english << "-850 ft/min";
    QTest::newRow("a half away from zero, up") << std::optional(2.5) << english << "+3 ft/min";
    QTest::newRow("a half away from zero, down") << std::optional(-2.5) << english << "-3 ft/min";
    QTest::newRow("grouped in English") << std::optional(1500.0) << english << "+1,500 ft/min";
    QTest::newRow("grouped in Chinese") << std::optional(-1900.0) << chinese << "-1,900 ft/min";
    QTest::newRow("missing") << std::optional<double>() << english << "";
    QTest::newRow("infinite") << std::optional(qInf()) << english << "";
    QTest::newRow("not a number") << std::optional(qQNaN()) << english << "";
    QTest::newRow("beyond 64 bits") << std::optional(1e19) << english << "";
}

void MapPanelsTest::phaseRate()
{
    QFETCH(std::optional<double>, rate);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    const std::optional<QString> shown = FlightPhase::rateText(rate, locale);
    QCOMPARE(shown.value_or(QString()), text);
    QCOMPARE(FlightPhase::of(phased({}, {}, rate), QStringLiteral("en"), locale)->rate, shown);
}

void MapPanelsTest::planEndpoints_data()
{
    QTest::addColumn<FlightPoint>("point");
    QTest::addColumn<QString>("code"); // empty: none
    QTest::newRow("10 km from its airport") << northOf("ZSPD", 10000, QStringLiteral("ZSPD")) << "ZSPD";
    QTest::newRow("just inside 15 nm") << northOf("ZSPD", 27779, QStringLiteral("ZSPD")) << "ZSPD";
    QTest::newRow("just outside 15 nm") << northOf("ZSPD", 27781, QStringLiteral("ZSPD")) << "";
    QTest::newRow("30 km away") << northOf("ZSPD", 30000, QStringLiteral("ZSPD")) << "";
    QTest::newRow("lower case") << northOf("ZSPD", 0, QStringLiteral("zspd")) << "";
    QTest::newRow("padded") << northOf("ZSPD", 0, QStringLiteral(" ZSPD")) << "";
    QTest::newRow("five letters") << northOf("ZSPD", 0, QStringLiteral("ZSPDX")) << "";
    QTest::newRow("not in the table") << northOf("ZSPD", 0, QStringLiteral("ZSSS")) << "";
    QTest::newRow("no name") << northOf("ZSPD", 0, std::nullopt) << "";
}

void MapPanelsTest::planEndpoints()
{
    QFETCH(FlightPoint, point);
    QFETCH(QString, code);
    QCOMPARE(SelectedFlight::endpoint(point, airports()).value_or(QString()), code);
    QVERIFY(!SelectedFlight::endpoint(std::nullopt, airports()));
}

void MapPanelsTest::flightBarEnds_data()
{
    QTest::addColumn<LiveFlight>("flight");
    QTest::addColumn<std::optional<PlanResponse>>("plan");
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("arrival");

    const FlightPoint pudong = northOf("ZSPD", 5000, QStringLiteral("ZSPD"));
    const FlightPoint haneda = northOf("RJTT", 5000, QStringLiteral("RJTT"));
    const FlightPoint waypoint{33.0, 130.0, QStringLiteral("OSPAM")};
    LiveFlight coded = flight("lv-1");
    coded.departure = QStringLiteral("ZSPD");
    coded.arrival = QStringLiteral("RJTT");
    LiveFlight emptyDeparture = flight("lv-2");
    emptyDeparture.departure = QString();

    QTest::newRow("no plan and no codes") << flight("lv-1") << std::optional<PlanResponse>() << "—"
                                          << "—";
    QTest::newRow("a plan without points") << flight("lv-1") << std::optional(PlanResponse{}) << "—"
                                           << "—";
    QTest::newRow("the plan's end points")
        << flight("lv-1") << std::optional(plan({pudong, waypoint, haneda})) << "ZSPD"
        << "RJTT";
    QTest::newRow("the flight's own codes win") << coded << std::optional(plan({haneda, pudong})) << "ZSPD"
                                                << "RJTT";
    QTest::newRow("one point names no arrival") << flight("lv-1") << std::optional(plan({pudong})) << "ZSPD"
                                                << "—";
    QTest::newRow("end points that are no airports")
        << flight("lv-1") << std::optional(plan({waypoint, waypoint})) << "—"
        << "—";
    QTest::newRow("an empty departure stays empty")
        << emptyDeparture << std::optional(plan({pudong, haneda})) << ""
        << "RJTT";
}

void MapPanelsTest::flightBarEnds()
{
    QFETCH(LiveFlight, flight);
    QFETCH(std::optional<PlanResponse>, plan);
    QFETCH(QString, departure);
    QFETCH(QString, arrival);
    QCOMPARE(SelectedFlight::departure(flight, plan, airports()), departure);
    QCOMPARE(SelectedFlight::arrival(flight, plan, airports()), arrival);
}

void MapPanelsTest::flightBarProgress()
{
    const Airports::Table table = airports();
    const AirportCoordinate pudong = table.value("ZSPD"), haneda = table.value("RJTT");
    LiveFlight f = flight("lv-1");
    f.latitude = (pudong.latitude + haneda.latitude) / 2;
    f.longitude = (pudong.longitude + haneda.longitude) / 2;
    f.groundSpeed = 465;

    // Nothing to go by: no progress, and no progress figure.
    QVERIFY(!SelectedFlight::routeProgress(f, std::nullopt, table));
    QVERIFY(!SelectedFlight::Facts::of(f, std::nullopt, table).progressFigure);

    // The flight's own airports, when the table knows both: halfway.
    f.departure = QStringLiteral("ZSPD");
    f.arrival = QStringLiteral("RJTT");
    const std::optional<double> between = SelectedFlight::routeProgress(f, std::nullopt, table);
    QVERIFY(between);
    QVERIFY2(std::abs(*between - 0.5) < 0.01, qPrintable(QString::number(*between)));
    QCOMPARE(*between, *SelectedFlight::progress(f, {{pudong.latitude, pudong.longitude, f.departure},
                                                     {haneda.latitude, haneda.longitude, f.arrival}}));
    // One plan point: still the airports.
    QCOMPARE(SelectedFlight::routeProgress(f, plan({{31.0, 121.0, QStringLiteral("ZSPD")}}), table), between);
    // A plan of two points or more wins over the airports, even with the flight's codes.
    const PlanResponse longWay = plan(
        {{pudong.latitude, pudong.longitude, std::nullopt}, {f.latitude, f.longitude + 40, std::nullopt}});
    QCOMPARE(SelectedFlight::routeProgress(f, longWay, table), SelectedFlight::progress(f, *longWay.points));
    QVERIFY(*SelectedFlight::routeProgress(f, longWay, table) < 0.3);
    // An airport the table lacks, or one code missing: no fallback.
    f.arrival = QStringLiteral("KSFO");
    QVERIFY(!SelectedFlight::routeProgress(f, std::nullopt, table));
    f.arrival.reset();
    QVERIFY(!SelectedFlight::routeProgress(f, std::nullopt, table));
    // Two airports at one place: a route of no length gives no progress.
    f.arrival = QStringLiteral("ZSPD");
    QVERIFY(!SelectedFlight::routeProgress(f, std::nullopt, table));
}

void MapPanelsTest::flightBarFigures_data()
{
    QTest::addColumn<std::optional<double>>("value");
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("groundSpeed");
    QTest::newRow("cut, not rounded") << std::optional(999.9) << "999 ft"
                                      << "999 kt";
    QTest::newRow("negative, toward zero") << std::optional(-12.7) << "-12 ft"
                                           << "-12 kt";
    QTest::newRow("no thousands separator") << std::optional(37000.0) << "37000 ft"
                                            << "37000 kt";
    QTest::newRow("missing") << std::optional<double>() << "—"
                             << "—";
    QTest::newRow("infinite") << std::optional(qInf()) << "—"
                              << "—";
    QTest::newRow("beyond 64 bits") << std::optional(1e19) << "—"
                                    << "—";
}

void MapPanelsTest::flightBarFigures()
{
    QFETCH(std::optional<double>, value);
    QFETCH(QString, altitude);
    QFETCH(QString, groundSpeed);
    QCOMPARE(SelectedFlight::altitudeText(value), altitude);
    QCOMPARE(SelectedFlight::groundSpeedText(value), groundSpeed);
}

void MapPanelsTest::flightBarIdentity()
{
    // Progress in whole percent, halves away from zero.
    QCOMPARE(SelectedFlight::progressText(0.006), QStringLiteral("1%"));
    QCOMPARE(SelectedFlight::progressText(0.004), QStringLiteral("0%"));
    QCOMPARE(SelectedFlight::progressText(0.125), QStringLiteral("13%"));
    QCOMPARE(SelectedFlight::progressText(0.99), QStringLiteral("99%"));
    QCOMPARE(SelectedFlight::progressText(1.0), QStringLiteral("100%"));
    QCOMPARE(SelectedFlight::progressText(1e18), QStringLiteral("—"));

    LiveFlight f = flight("lv-1");
    SelectedFlight::Facts facts = SelectedFlight::Facts::of(f, std::nullopt, airports());
    QCOMPARE(facts.callsign, QStringLiteral("未知呼号"));
    QCOMPARE(facts.accessibleLabel, QStringLiteral("航班"));
    QCOMPARE(facts.aircraftLine, QString());
    QVERIFY(!facts.pilot);
    QVERIFY(!facts.server);
    QVERIFY(!facts.phase);

    // Present but empty leaves the element out.
    f.pilot = QString();
    f.server = QString();
    facts = SelectedFlight::Facts::of(f, std::nullopt, airports());
    QVERIFY(!facts.pilot);
    QVERIFY(!facts.server);

    f.callsign = QStringLiteral("B-207CA");
    f.pilot = QStringLiteral("LiChen_VNA");
    f.server = QStringLiteral("Expert");
    f.aircraft = QStringLiteral("Airbus A330-300");
    facts = SelectedFlight::Facts::of(f, std::nullopt, airports());
    QCOMPARE(facts.callsign, QStringLiteral("B-207CA"));
    QCOMPARE(facts.accessibleLabel, QStringLiteral("B-207CA"));
    QCOMPARE(facts.pilot, QStringLiteral("LiChen_VNA"));
    QCOMPARE(facts.server, QStringLiteral("服务器：Expert"));
    QCOMPARE(facts.aircraftLine, QStringLiteral("Airbus A330-300")); // no separator without a livery
    f.livery = QStringLiteral("China Eastern");
    QCOMPARE(SelectedFlight::aircraftLine(f), QStringLiteral("Airbus A330-300 · China Eastern"));
    f.aircraft = QString();
    QCOMPARE(SelectedFlight::aircraftLine(f), QStringLiteral("China Eastern"));

    // The view's model follows each new copy of the flight and its plan.
    SelectedFlightModel model;
    model.setAirports(airports());
    QSignalSpy changed(&model, &SelectedFlightModel::flightChanged);
    QVERIFY(!model.hasProgress());
    QVERIFY(std::isnan(model.progress()));
    LiveFlight first = flight("lv-2");
    model.setFlight({first});
    QCOMPARE(model.departure(), QStringLiteral("—"));
    model.setPlan({plan(
        {northOf("ZSPD", 1000, QStringLiteral("ZSPD")), northOf("RJTT", 1000, QStringLiteral("RJTT"))})});
    QCOMPARE(model.departure(), QStringLiteral("ZSPD"));
    QCOMPARE(model.arrival(), QStringLiteral("RJTT"));
    QVERIFY(model.hasProgress());
    QCOMPARE(changed.size(), 2);
    model.setFlight({first}); // the same copy again changes nothing
    QCOMPARE(changed.size(), 2);
}

void MapPanelsTest::searchTokens_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<Texts>("tokens");
    QTest::newRow("empty") << "" << Texts{};
    QTest::newRow("spaces only") << "   " << Texts{};
    QTest::newRow("lower-cased, cut at spaces") << "  CCA  12 " << Texts{"cca", "12"};
    QTest::newRow("other white space stays in its token") << "CCA\t12" << Texts{"cca\t12"};
}

void MapPanelsTest::searchTokens()
{
    QFETCH(QString, query);
    QFETCH(Texts, tokens);
    QCOMPARE(FlightSearch::tokens(query), tokens);
}

void MapPanelsTest::searchOrder()
{
    const QList<LiveFlight> flights{flight("a", "CCA10"), flight("b", "cca3"), flight("c", "CCA2"),
                                    flight("d"),          flight("e", "b-1"),  flight("f", "B-1")};
    QStringList ids;
    for (const LiveFlight &f : FlightSearch::results(flights, {}, {}, {}))
        ids.append(f.id);
    // Digit runs by value, letter case ignored, a missing callsign first; equals keep their order.
    QCOMPARE(ids, (QStringList{"d", "e", "f", "c", "b", "a"}));
    QVERIFY(Text::standardCompare("CCA2", "CCA10") < 0);
}

void MapPanelsTest::searchMatching_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("matches");
    // Callsign "CCA1234", pilot "LiChen_VNA".
    QTest::newRow("no tokens") << "  " << true;
    QTest::newRow("in the callsign, any case") << "cca" << true;
    QTest::newRow("in the pilot") << "lichen" << true;
    QTest::newRow("two tokens, each somewhere") << "cca 12" << true;
    QTest::newRow("one token of two missing") << "cca 99" << false;
    QTest::newRow("never across callsign and pilot") << "34li" << false;
    QTest::newRow("the joining space is no match for a token") << "1234 li" << true;
}

void MapPanelsTest::searchMatching()
{
    QFETCH(QString, query);
    QFETCH(bool, matches);
    const LiveFlight f = flight("lv-1", "CCA1234", "LiChen_VNA");
    QCOMPARE(FlightSearch::matches(f, FlightSearch::tokens(query), {}, {}), matches);
}

void MapPanelsTest::searchFilters()
{
    auto typed = [](const QString &id, std::optional<QString> aircraft, std::optional<QString> livery) {
        LiveFlight f = flight(id, id.toUpper());
        f.aircraft = std::move(aircraft);
        f.livery = std::move(livery);
        return f;
    };
    const QList<LiveFlight> flights{
        typed("a", "Airbus A330-300", "China Eastern"), typed("b", "Boeing 787-9", "Air China"),
        typed("c", "Boeing 787-9", "Japan Airlines"),   typed("d", "Airbus A321", "China Eastern"),
        typed("e", std::nullopt, "Hainan Airlines"),    typed("f", QString(), QString()),
    };
    // Empty and missing names are never offered; each name once, in plain string order.
    QCOMPARE(FlightSearch::aircraftOptions(flights),
             (Texts{"Airbus A321", "Airbus A330-300", "Boeing 787-9"}));
    QCOMPARE(FlightSearch::liveryOptions(flights, {}),
             (Texts{"Air China", "China Eastern", "Hainan Airlines", "Japan Airlines"}));
    QCOMPARE(FlightSearch::liveryOptions(flights, "Boeing 787-9"), (Texts{"Air China", "Japan Airlines"}));

    FlightSearchModel model;
    model.setFlights({flights});
    QCOMPARE(model.results()->rowCount(), 6);
    model.setLivery("China Eastern");
    QCOMPARE(model.results()->rowCount(), 2);
    QVERIFY(model.filtered());
    // An aircraft with that livery keeps it; one without it goes back to every livery.
    model.setAircraft("Airbus A321");
    QCOMPARE(model.livery(), QStringLiteral("China Eastern"));
    QCOMPARE(model.results()->rowCount(), 1);
    model.setAircraft("Boeing 787-9");
    QCOMPARE(model.livery(), QString());
    QCOMPARE(model.results()->rowCount(), 2);
    // A flight without an aircraft never passes a chosen aircraft.
    model.setLivery("Japan Airlines");
    model.setAircraft({}); // "全部" keeps a livery some flight has
    QCOMPARE(model.livery(), QStringLiteral("Japan Airlines"));
    model.setAircraft("Airbus A321");
    QCOMPARE(model.livery(), QString());
    model.setAircraft("airbus a321"); // exact, letter case included
    QVERIFY(model.noResults());
    model.clearFilters();
    QVERIFY(!model.filtered());
    QCOMPARE(model.results()->rowCount(), 6);
    model.setQuery("zz");
    QVERIFY(model.noResults());
    QVERIFY(!model.flightAt(0).valid());
    model.setQuery("b");
    QCOMPARE(model.flightAt(0).id(), QStringLiteral("b"));
}

void MapPanelsTest::searchRows()
{
    FlightSearchModel model;
    LiveFlight bare = flight("x");
    LiveFlight full = flight("y", "B-207CA", "LiChen_VNA");
    full.aircraft = QStringLiteral("Airbus A330-300");
    full.livery = QStringLiteral("China Eastern");
    model.setFlights({{bare, full}});
    const QAbstractItemModel *rows = model.results();
    auto text = [rows](int row, int role) { return rows->data(rows->index(row, 0), role).toString(); };
    QCOMPARE(text(0, FlightSearchRows::CallsignRole), QStringLiteral("未知呼号"));
    QCOMPARE(text(0, FlightSearchRows::DetailRole), QString());
    QCOMPARE(text(0, FlightSearchRows::PilotRole), QString());
    QCOMPARE(text(1, FlightSearchRows::CallsignRole), QStringLiteral("B-207CA"));
    QCOMPARE(text(1, FlightSearchRows::PilotRole), QStringLiteral("LiChen_VNA"));
    QCOMPARE(text(1, FlightSearchRows::DetailRole), QStringLiteral("Airbus A330-300 · China Eastern"));
}

// Regression: every snapshot (one each 30 seconds) told the pickers their choices anew, so an open aircraft
// or livery menu went back to its top and the keyboard's choice was made anew under it. Only a change of the
// names is told.
void MapPanelsTest::searchChoicesToldOnlyWhenTheyChange()
{
    auto typed = [](const QString &id, const QString &aircraft, const QString &livery, double latitude) {
        LiveFlight f = flight(id, id.toUpper());
        f.aircraft = aircraft;
        f.livery = livery;
        f.latitude = latitude;
        return f;
    };
    FlightSearchModel model;
    model.setFlights(
        {{typed("a", "Airbus A321", "China Eastern", 31), typed("b", "Boeing 787-9", "Air China", 40)}});
    const QMetaObject *meta = model.metaObject();
    QSignalSpy aircraftTold(&model, meta->property(meta->indexOfProperty("aircraftChoices")).notifySignal());
    QSignalSpy liveryTold(&model, meta->property(meta->indexOfProperty("liveryChoices")).notifySignal());
    // The next snapshot: the same flights, further on.
    model.setFlights(
        {{typed("a", "Airbus A321", "China Eastern", 32), typed("b", "Boeing 787-9", "Air China", 41)}});
    QCOMPARE(aircraftTold.size(), 0);
    QCOMPARE(liveryTold.size(), 0);
    // A flight of another aircraft and livery comes: both are told, once.
    model.setFlights({{typed("a", "Airbus A321", "China Eastern", 33),
                       typed("b", "Boeing 787-9", "Air China", 42), typed("c", "Embraer E175", "KLM", 50)}});
    QCOMPARE(aircraftTold.size(), 1);
    QCOMPARE(liveryTold.size(), 1);
    QCOMPARE(model.aircraftChoices(), (Texts{"", "Airbus A321", "Boeing 787-9", "Embraer E175"}));
    // An aircraft chosen narrows the liveries, and leaves the aircraft as they are.
    model.setAircraft("Boeing 787-9");
    QCOMPARE(aircraftTold.size(), 1);
    QCOMPARE(liveryTold.size(), 2);
    QCOMPARE(model.liveryChoices(), (Texts{"", "Air China"}));
}

void MapPanelsTest::reloadedFlightsKeepTheirRows_data()
{
    QTest::addColumn<bool>("ownFlights"); // the picker's rows, else the search's
    QTest::newRow("the search's results") << false;
    QTest::newRow("the own flights' picker") << true;
}

// Regression: each snapshot made the rows anew, so the keyboard on one fell back to the list (heard again,
// its ring gone) every 30 seconds. The same flights further on change their rows in place; other flights make
// them anew.
void MapPanelsTest::reloadedFlightsKeepTheirRows()
{
    QFETCH(bool, ownFlights);
    auto at = [](const QString &id, const QString &callsign, double latitude) {
        LiveFlight f = flight(id, callsign);
        f.latitude = latitude;
        return f;
    };
    FlightSearchModel search;
    OwnFlightsModel picker;
    const auto show = [&](const QList<LiveFlight> &flights) {
        if (ownFlights)
            picker.setFlights({flights});
        else
            search.setFlights({flights});
    };
    const QAbstractItemModel *rows = ownFlights ? static_cast<QAbstractItemModel *>(picker.rows())
                                                : static_cast<QAbstractItemModel *>(search.results());
    show({at("a", "B-1001", 31), at("b", "B-1002", 40)});
    QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
    QSignalSpy changed(rows, &QAbstractItemModel::dataChanged);
    show({at("a", "B-1001", 32), at("b", "B-1002", 41)});
    QCOMPARE(reset.size(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 0);
    QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 1);
    // Another flight in their place: the rows are made anew.
    show({at("a", "B-1001", 33), at("c", "B-1003", 50)});
    QCOMPARE(reset.size(), 1);
    QCOMPARE(rows->rowCount(), 2);
}

void MapPanelsTest::ownFlightsTexts()
{
    LiveFlight bare = flight("abc");
    LiveFlight full = flight("lv-207", "B-207CA");
    full.server = QStringLiteral("Expert");
    full.departure = QStringLiteral("ZSPD");
    full.arrival = QStringLiteral("RJTT");
    full.flightPhase = phased({{"zh", "巡航"}, {"en", "Cruise"}}, QStringLiteral("#27AE60"), 0).flightPhase;

    // One own flight: its callsign, or "在线" without one, and the location symbol.
    QCOMPARE(MapBanner::ownFlightsText({full}), QStringLiteral("我的航班：B-207CA"));
    QCOMPARE(MapBanner::ownFlightsText({bare}), QStringLiteral("我的航班：在线"));
    QCOMPARE(MapBanner::ownFlightsSymbol({bare}), QStringLiteral("location.fill"));
    // Several: their number and the circled aircraft.
    QCOMPARE(MapBanner::ownFlightsText({full, bare}), QStringLiteral("我的航班（2）"));
    QCOMPARE(MapBanner::ownFlightsSymbol({full, bare}), QStringLiteral("airplane.circle"));
    MapBannerModel banner;
    banner.setOwnFlights({{full}});
    QCOMPARE(banner.onlyOwnFlight().id(), QStringLiteral("lv-207"));
    banner.setOwnFlights({{full, bare}});
    QVERIFY(!banner.onlyOwnFlight().valid()); // several open the picker instead
    QCOMPARE(banner.ownFlightsCountLabel(), QStringLiteral("我的航班（2）"));

    // The picker's rows, in the given order.
    OwnFlightsModel picker;
    picker.setFlights({{bare, full}});
    const OwnFlightRows *rows = picker.rows();
    auto value = [rows](int row, int role) { return rows->data(rows->index(row), role); };
    QCOMPARE(value(0, OwnFlightRows::IdRole).toString(), QStringLiteral("abc"));
    QCOMPARE(value(0, OwnFlightRows::CallsignRole).toString(), QStringLiteral("未知呼号"));
    QCOMPARE(value(0, OwnFlightRows::ServerRole).toString(), QStringLiteral("未提供"));
    QCOMPARE(value(0, OwnFlightRows::RouteRole).toString(), QStringLiteral("— → —"));
    QCOMPARE(value(0, OwnFlightRows::HasPhaseRole).toBool(), false);
    QCOMPARE(value(1, OwnFlightRows::CallsignRole).toString(), QStringLiteral("B-207CA"));
    QCOMPARE(value(1, OwnFlightRows::ServerRole).toString(), QStringLiteral("Expert"));
    QCOMPARE(value(1, OwnFlightRows::RouteRole).toString(), QStringLiteral("ZSPD → RJTT"));
    QCOMPARE(value(1, OwnFlightRows::HasPhaseRole).toBool(), true);
    QCOMPARE(value(1, OwnFlightRows::PhaseTitleRole).toString(), QStringLiteral("巡航"));
    QCOMPARE(value(1, OwnFlightRows::PhaseColorRole).value<QColor>(), QColor(0x27, 0xAE, 0x60));
    QCOMPARE(picker.flightAt(1).id(), QStringLiteral("lv-207"));
    QVERIFY(!picker.flightAt(2).valid());
}

void MapPanelsTest::panelsByWindowWidth_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("searching");
    QTest::addColumn<bool>("choosing");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("sideCard");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("sheet");

    using C = MapPanels::Content;
    QTest::newRow("wide, nothing") << 1400.0 << false << false << false << int(C::None) << false
                                   << int(C::None);
    QTest::newRow("wide, selected: the bar")
        << 1400.0 << false << false << true << int(C::None) << true << int(C::None);
    QTest::newRow("wide, search: the side card and no bar")
        << 1400.0 << true << false << true << int(C::Search) << false << int(C::None);
    QTest::newRow("wide, picker wins over the search")
        << 700.0 << true << true << false << int(C::OwnFlights) << false << int(C::None);
    QTest::newRow("narrow, selected: the card's sheet")
        << 699.0 << false << false << true << int(C::None) << false << int(C::Flight);
    QTest::newRow("narrow, search") << 699.0 << true << false << true << int(C::None) << false
                                    << int(C::Search);
    QTest::newRow("narrow, picker") << 480.0 << false << true << true << int(C::None) << false
                                    << int(C::OwnFlights);
    QTest::newRow("no width class: narrow")
        << 0.0 << false << false << true << int(C::None) << false << int(C::Flight);
    QTest::newRow("narrow, nothing: no sheet")
        << 480.0 << false << false << false << int(C::None) << false << int(C::None);
}

void MapPanelsTest::panelsByWindowWidth()
{
    QFETCH(double, width);
    QFETCH(bool, searching);
    QFETCH(bool, choosing);
    QFETCH(bool, selected);
    QFETCH(int, sideCard);
    QFETCH(bool, bar);
    QFETCH(int, sheet);
    // The one width-class rule of every page decides.
    const MapPanels::Layout layout =
        MapPanels::layout(ComponentRules::isRegular(width), searching, choosing, selected);
    QCOMPARE(int(layout.sideCard), sideCard);
    QCOMPARE(layout.bottomBar, bar);
    QCOMPARE(int(layout.sheet), sheet);
}

void MapPanelsTest::compactSheetHeight_data()
{
    QTest::addColumn<double>("measured");
    QTest::addColumn<double>("height");
    QTest::newRow("400.4: 381 is within a point of 380") << 400.4 << 380.0;
    QTest::newRow("402: 382") << 402.0 << 382.0;
    QTest::newRow("350: 330") << 350.0 << 330.0;
    QTest::newRow("401.5: rounded up to 382") << 401.5 << 382.0;
}

void MapPanelsTest::compactSheetHeight()
{
    QFETCH(double, measured);
    QFETCH(double, height);
    MapPanelsModel model;
    QCOMPARE(model.compactHeight(), 380.0);
    QSignalSpy changed(&model, &MapPanelsModel::compactHeightChanged);
    model.measured(measured);
    QCOMPARE(model.compactHeight(), height);
    QCOMPARE(changed.size(), height == 380.0 ? 0 : 1);
}

void MapPanelsTest::bannerLines_data()
{
    QTest::addColumn<MapBanner::Status>("status");
    QTest::addColumn<QList<MapBanner::Line>>("lines");
    using T = MapBanner::Tone;
    using Lines = QList<MapBanner::Line>;

    MapBanner::Status waiting;
    QTest::newRow("before the first snapshot") << waiting << Lines{};
    MapBanner::Status failedFirst;
    failedFirst.error = QStringLiteral("The Internet connection appears to be offline.");
    QTest::newRow("failed before any snapshot")
        << failedFirst
        << Lines{{QStringLiteral("The Internet connection appears to be offline."), T::Rejected}};

    MapBanner::Status saved = snapshotStatus(QStringLiteral("saved"));
    QTest::newRow("saved, not loading") << saved << Lines{};
    saved.loading = true;
    QTest::newRow("saved while loading") << saved << Lines{{savedLine, T::Muted}};
    MapBanner::Status savedCase = snapshotStatus(QStringLiteral("Saved"));
    savedCase.loading = true;
    QTest::newRow("\"Saved\" is no saved snapshot") << savedCase << Lines{};

    MapBanner::Status degraded = snapshotStatus(QStringLiteral("degraded"));
    QTest::newRow("degraded") << degraded << Lines{{degradedLine, T::Pending}};
    QTest::newRow("live") << snapshotStatus(QStringLiteral("live")) << Lines{};
    QTest::newRow("no status") << snapshotStatus(std::nullopt) << Lines{};

    MapBanner::Status pausedWithError = snapshotStatus(std::nullopt);
    pausedWithError.paused = true;
    pausedWithError.error = QStringLiteral("暂时取不到最新数据，地图显示的是之前的数据，可以点“刷新”重试。");
    QTest::newRow("paused with an older error, in that order")
        << pausedWithError << Lines{{pausedLine, T::Muted}, {*pausedWithError.error, T::Rejected}};

    MapBanner::Status empty = snapshotStatus(QStringLiteral("degraded"), 0);
    empty.loading = true;
    QTest::newRow("empty and degraded") << empty << Lines{{degradedLine, T::Pending}, {emptyLine, T::Muted}};

    MapBanner::Status everything = snapshotStatus(QStringLiteral("saved"), 0);
    everything.loading = true;
    everything.paused = true;
    everything.error = QStringLiteral("e");
    QTest::newRow("saved, paused, error, empty")
        << everything
        << Lines{{savedLine, T::Muted}, {pausedLine, T::Muted}, {"e", T::Rejected}, {emptyLine, T::Muted}};
}

void MapPanelsTest::bannerLines()
{
    QFETCH(MapBanner::Status, status);
    QFETCH(QList<MapBanner::Line>, lines);
    QCOMPARE(MapBanner::lines(status), lines);
    MapBannerModel model;
    model.setStatus(status);
    QCOMPARE(model.lines()->rowCount(), lines.size());
}

void MapPanelsTest::bannerHeader()
{
    MapBannerModel model;
    // Before the first snapshot, without an error: the indicator moves, no legend, nothing to search.
    QVERIFY(model.indicatorAnimates());
    QVERIFY(!model.showsLegend());
    QCOMPARE(model.countText(), QStringLiteral("0 架飞机"));
    QCOMPARE(model.updateText(), QString());
    QVERIFY(!model.hasFlights());
    // A failure stops it, a load moves it again.
    model.setError(QStringLiteral("x"));
    QVERIFY(!model.indicatorAnimates());
    model.setLoading(true);
    QVERIFY(model.indicatorAnimates());

    // Three live flights of ten.
    model.setStatus(snapshotStatus(QStringLiteral("live"), 10));
    model.setLiveCount(3);
    QVERIFY(!model.indicatorAnimates());
    QVERIFY(model.showsLegend());
    QCOMPARE(model.legendText(), QStringLiteral("LIVE 3"));
    QCOMPARE(model.countText(), QStringLiteral("10 架飞机"));
    QVERIFY(model.hasFlights());
    // An empty snapshot: search and demonstration have nothing to do.
    model.setFlightCount(0);
    QVERIFY(!model.hasFlights());

    // The style button names the style a click switches to.
    QCOMPARE(model.styleSymbol(), QStringLiteral("map"));
    QCOMPARE(model.styleLabel(), QStringLiteral("普通地图"));
    model.setSatellite(false);
    QCOMPARE(model.styleSymbol(), QStringLiteral("globe.americas.fill"));
    QCOMPARE(model.styleLabel(), QStringLiteral("卫星地图"));

    // Nothing selected: the count line and the bottom row; a selection swaps the bottom row for the
    // header's compact buttons.
    model.setOwnFlights({{flight("a", "B-1")}});
    QVERIFY(model.showsCountLine());
    QVERIFY(model.showsBottomRow());
    QVERIFY(!model.showsHeaderOwnFlights());
    QCOMPARE(model.demoText(), QStringLiteral("演示航班"));
    QCOMPARE(model.demoSymbol(), QStringLiteral("play.fill"));
    model.setDemonstrating(true);
    QCOMPARE(model.demoText(), QStringLiteral("停止演示"));
    QVERIFY(!model.showsHeaderStop());
    model.setFlightSelected(true);
    QVERIFY(!model.showsCountLine());
    QVERIFY(!model.showsBottomRow());
    QVERIFY(model.showsHeaderStop());
    QVERIFY(model.showsHeaderOwnFlights());
    model.setOwnFlights({});
    QVERIFY(!model.showsHeaderOwnFlights());
}

void MapPanelsTest::bannerUpdateTime_data()
{
    QTest::addColumn<QString>("updatedAt");
    QTest::addColumn<QString>("text"); // empty: none
    QTest::newRow("earlier today: the time alone") << "2024-05-01T08:30:15Z"
                                                   << "· 更新于 8:30:15 AM";
    QTest::newRow("fractional seconds and a zone") << "2024-05-01T16:30:15.250+08:00"
                                                   << "· 更新于 8:30:15 AM";
    QTest::newRow("yesterday: the date and the time") << "2024-04-30T23:59:59Z"
                                                      << "· 更新于 Apr 30, 2024 11:59:59 PM";
    QTest::newRow("unreadable") << "yesterday"
                                << "";
}

void MapPanelsTest::bannerUpdateTime()
{
    QFETCH(QString, updatedAt);
    QFETCH(QString, text);
    const QDateTime now(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());
    QCOMPARE(MapBanner::updateText(updatedAt, now, english, QTimeZone::utc()).value_or(QString()), text);
}

// The texts the map model offers of the banner's words: the count line, the selected flight's title, the
// notices' conditions and the error line's own messages.
void MapPanelsTest::bannerTexts()
{
    const QDateTime now(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());
    QCOMPARE(MapBanner::countLine(12, QStringLiteral("2024-05-01T08:30:15Z"), now, english, QTimeZone::utc()),
             QStringLiteral("12 架飞机 · 更新于 8:30:15 AM"));
    QCOMPARE(MapBanner::countLine(0, std::nullopt, now, english, QTimeZone::utc()),
             QStringLiteral("0 架飞机"));
    QCOMPARE(MapBanner::countLine(3, QStringLiteral("yesterday"), now, english, QTimeZone::utc()),
             QStringLiteral("3 架飞机"));

    LiveFlight selected = flight("a", "B-207CA");
    selected.aircraft = QStringLiteral("Airbus A330-300");
    QCOMPARE(MapBanner::flightTitle(selected), QStringLiteral("B-207CA · Airbus A330-300"));
    selected.callsign = QString();
    QCOMPARE(MapBanner::flightTitle(selected), QStringLiteral("Airbus A330-300"));
    QCOMPARE(MapBanner::flightTitle(flight("b")), QString());

    // The notices hold as their lines show.
    MapBanner::Status saved = snapshotStatus(QStringLiteral("saved"));
    QVERIFY(!MapBanner::showsSavedNotice(saved));
    saved.loading = true;
    QVERIFY(MapBanner::showsSavedNotice(saved));
    QCOMPARE(MapBanner::lines(saved).constFirst().text, savedLine);
    QVERIFY(!MapBanner::showsEmptyNotice(saved));
    QVERIFY(MapBanner::showsEmptyNotice(snapshotStatus(QStringLiteral("live"), 0)));
    QVERIFY(!MapBanner::showsEmptyNotice(MapBanner::Status{}));

    QCOMPARE(MapBanner::olderDataMessage(),
             QStringLiteral("暂时取不到最新数据，地图显示的是之前的数据，可以点“刷新”重试。"));
    QCOMPARE(MapBanner::ownFlightMissingMessage(),
             QStringLiteral("暂未找到你的在线航班；检测到航班后会自动显示。"));
}

void MapPanelsTest::liveIdentification()
{
    LiveResponse snapshot;
    for (int i = 0; i < 10; ++i) {
        LiveFlight f = flight(QString::number(i));
        if (i < 3)
            f.isLive = true;
        else if (i < 5)
            f.isLive = false;
        snapshot.flights.append(f);
    }
    QCOMPARE(LiveMapRules::liveCount(std::nullopt), 0);
    QCOMPARE(LiveMapRules::liveCount(snapshot), 0); // no identification
    snapshot.liveIdentification = QStringLiteral("Connected");
    QCOMPARE(LiveMapRules::liveCount(snapshot), 0);
    snapshot.liveIdentification = QStringLiteral("connected");
    QCOMPARE(LiveMapRules::liveCount(snapshot), 3);
    QVERIFY(LiveMapRules::liveIdentified(snapshot.flights.at(0), LiveMapRules::connected(snapshot)));
    QVERIFY(!LiveMapRules::liveIdentified(snapshot.flights.at(9),
                                          LiveMapRules::connected(snapshot))); // a missing flag is false
}

QTEST_MAIN(MapPanelsTest)
#include "tst_map_panels.moc"
