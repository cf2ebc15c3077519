#include <QtTest>

#include "Json.h"
#include "LiveFleetItem.h"
#include "LiveTexts.h"

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(LiveFleetItem::Activity)
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(std::optional<double>)

using Activity = LiveFleetItem::Activity;

namespace {

template <typename T>
T decode(const QByteArray &json)
{
    return T::fromJson(Json::parse(json));
}

LiveAircraft aircraft(const QByteArray &extra = {})
{
    return decode<LiveAircraft>(R"({"id":"a1","registration":"B-1234")" + extra + "}");
}

LiveSchedule schedule(const QByteArray &id, const QByteArray &extra = {})
{
    return decode<LiveSchedule>(R"({"id":")" + id
                                + R"(","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS")"
                                + extra + "}");
}

LiveFleetPosition position(const QByteArray &json) { return decode<LiveFleetPosition>(json); }

LiveRouteItem route(const QByteArray &json) { return decode<LiveRouteItem>(json); }

} // namespace

class LiveFleetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void activityAndStatus_data();
    void activityAndStatus();
    void nextScheduleSkipsCancelledAndArrived();
    void idleRoute_data();
    void idleRoute();
    void typeText_data();
    void typeText();
    void liveFigures_data();
    void liveFigures();
    void joinFollowsTheBoard();
    void extrasReplaceOrKeep();
    void applicationTint_data();
    void applicationTint();
    void pilotAgo_data();
    void pilotAgo();
};

void LiveFleetTest::initTestCase()
{
    qputenv("LANGUAGE", "zh_CN");
    // A locale whose grouping differs from the plain digits of the speed.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void LiveFleetTest::activityAndStatus_data()
{
    QTest::addColumn<QByteArray>("aircraft");
    QTest::addColumn<QByteArray>("position");
    QTest::addColumn<Activity>("activity");
    QTest::addColumn<QString>("status");

    QTest::newRow("cruising with more words")
        << QByteArray(R"(,"flying":{"phase":"巡航中"})") << QByteArray() << Activity::Airborne << "飞行中";
    QTest::newRow("approach") << QByteArray(R"(,"flying":{"phase":"最后进近"})") << QByteArray()
                              << Activity::Airborne << "飞行中";
    QTest::newRow("taxiing exactly") << QByteArray(R"(,"flying":{"phase":"滑行"})") << QByteArray()
                                     << Activity::Ground << "在地面";
    QTest::newRow("parked") << QByteArray(R"(,"flying":{"phase":"已停靠"})") << QByteArray()
                            << Activity::Ground << "在地面";
    QTest::newRow("taxiing with more words")
        << QByteArray(R"(,"flying":{"phase":"滑行中"})") << QByteArray() << Activity::Ground << "状态待确认";
    QTest::newRow("flying without a phase")
        << QByteArray(R"(,"flying":{})") << QByteArray() << Activity::Ground << "状态待确认";
    // A flight outranks a position that says otherwise.
    QTest::newRow("flying beats the position")
        << QByteArray(R"(,"flying":{"phase":"爬升"})")
        << QByteArray(R"({"aircraftId":"a1","state":1,"available":true})") << Activity::Airborne << "飞行中";
    QTest::newRow("usable position in the air")
        << QByteArray() << QByteArray(R"({"aircraftId":"a1","state":2,"available":true})")
        << Activity::Airborne << "飞行中";
    QTest::newRow("unavailable position")
        << QByteArray() << QByteArray(R"({"aircraftId":"a1","state":2,"available":false})") << Activity::Idle
        << "—";
    QTest::newRow("position of unknown use")
        << QByteArray(R"(,"hangared":true)") << QByteArray(R"({"aircraftId":"a1","state":2})")
        << Activity::Idle << "机库中";
    QTest::newRow("available position without a state")
        << QByteArray(R"(,"recordStatus":1)") << QByteArray(R"({"aircraftId":"a1","available":true})")
        << Activity::Idle << "已删除";
    QTest::newRow("cancelled position")
        << QByteArray() << QByteArray(R"({"aircraftId":"a1","state":3,"available":true})") << Activity::Idle
        << "已取消";
    QTest::newRow("unknown position state")
        << QByteArray() << QByteArray(R"({"aircraftId":"a1","state":9,"available":true})") << Activity::Idle
        << "未知";
    QTest::newRow("position beats storage")
        << QByteArray(R"(,"storage":true)") << QByteArray(R"({"aircraftId":"a1","state":1,"available":true})")
        << Activity::Ground << "在地面";
    QTest::newRow("storage before the hangar")
        << QByteArray(R"(,"storage":true,"hangared":true,"recordStatus":1)") << QByteArray() << Activity::Idle
        << "储存";
    QTest::newRow("flags false") << QByteArray(R"(,"storage":false,"hangared":false,"recordStatus":2)")
                                 << QByteArray() << Activity::Idle << "—";
}

void LiveFleetTest::activityAndStatus()
{
    QFETCH(QByteArray, aircraft);
    QFETCH(QByteArray, position);
    QFETCH(Activity, activity);
    QFETCH(QString, status);

    LiveFleetItem item;
    item.aircraft = ::aircraft(aircraft);
    if (!position.isEmpty())
        item.position = ::position(position);
    QCOMPARE(item.activity(), activity);
    QCOMPARE(item.statusText(), status);
}

void LiveFleetTest::nextScheduleSkipsCancelledAndArrived()
{
    LiveFleetItem item;
    item.schedules = {schedule("s1", R"(,"status":9)"), schedule("s2", R"(,"status":11)"),
                      schedule("s3", R"(,"status":1)")};
    QCOMPARE(item.nextSchedule().value_or(LiveSchedule()).id, "s3");

    item.schedules = {schedule("s1", R"(,"status":11)"), schedule("s2")};
    QCOMPARE(item.nextSchedule().value_or(LiveSchedule()).id, "s2");

    item.schedules = {schedule("s1", R"(,"status":9)"), schedule("s2", R"(,"status":11)")};
    QVERIFY(!item.nextSchedule());
    item.schedules.clear();
    QVERIFY(!item.nextSchedule());
}

void LiveFleetTest::idleRoute_data()
{
    QTest::addColumn<QByteArray>("schedule");
    QTest::addColumn<QByteArray>("position");
    QTest::addColumn<QByteArray>("route");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");

    const QByteArray airborne = R"({"aircraftId":"a1","state":2,"available":true})";
    const QByteArray ground = R"({"aircraftId":"a1","state":1,"available":true})";
    const QByteArray finished = R"({"status":1,"departure":"ZSPD","arrival":"ZGGG"})";
    const QByteArray unfinished = R"({"status":2,"departure":"ZSPD","arrival":"ZGGG"})";

    QTest::newRow("next schedule while airborne")
        << QByteArray(R"(,"status":1)") << airborne << finished << "ZBAA → ZSSS"
        << "下一班";
    QTest::newRow("finished last route") << QByteArray() << QByteArray() << finished << "ZGGG"
                                         << "最近停在";
    QTest::newRow("finished route without arrival")
        << QByteArray() << QByteArray() << QByteArray(R"({"status":1,"departure":"ZSPD"})") << "ZSPD"
        << "最近停在";
    QTest::newRow("unfinished route of an idle aircraft")
        << QByteArray() << QByteArray() << unfinished << "ZSPD 出发"
        << "最近一次";
    QTest::newRow("unfinished route of an airborne aircraft")
        << QByteArray() << airborne << unfinished << "ZSPD 出发"
        << "最近一次";
    QTest::newRow("unfinished route on the ground") << QByteArray() << ground << unfinished << "ZGGG"
                                                    << "最近停在";
    QTest::newRow("no last route") << QByteArray() << ground << QByteArray() << QString() << QString();
    QTest::newRow("finished route without airports")
        << QByteArray() << QByteArray() << QByteArray(R"({"status":1})") << QString() << QString();
    QTest::newRow("unfinished route without departure")
        << QByteArray() << QByteArray() << QByteArray(R"({"arrival":"ZGGG"})") << QString() << QString();
}

void LiveFleetTest::idleRoute()
{
    QFETCH(QByteArray, schedule);
    QFETCH(QByteArray, position);
    QFETCH(QByteArray, route);
    QFETCH(QString, text);
    QFETCH(QString, label);

    LiveFleetItem item;
    item.aircraft = aircraft();
    if (!schedule.isEmpty())
        item.schedules = {::schedule("s1", schedule)};
    if (!position.isEmpty())
        item.position = ::position(position);
    if (!route.isEmpty())
        item.lastRoute = ::route(route);
    const auto line = item.idleRoute();
    QCOMPARE(line.has_value(), !text.isNull());
    if (line)
        QCOMPARE(*line, (LiveFleetItem::RouteLine{text, label}));
}

void LiveFleetTest::typeText_data()
{
    QTest::addColumn<QByteArray>("aircraft");
    QTest::addColumn<QString>("text");
    QTest::newRow("type and livery") << QByteArray(R"(,"aircraft":"A320","livery":"Vornalia")")
                                     << "A320 · Vornalia";
    QTest::newRow("type alone") << QByteArray(R"(,"aircraft":"A320","livery":null)") << "A320";
    QTest::newRow("livery alone") << QByteArray(R"(,"livery":"Vornalia")") << "机型暂未识别 · Vornalia";
    QTest::newRow("empty livery") << QByteArray(R"(,"aircraft":"A320","livery":"")") << "A320 · ";
    QTest::newRow("neither") << QByteArray() << "机型暂未识别";
}

void LiveFleetTest::typeText()
{
    QFETCH(QByteArray, aircraft);
    QFETCH(QString, text);
    LiveFleetItem item;
    item.aircraft = ::aircraft(aircraft);
    QCOMPARE(item.typeText(), text);
}

void LiveFleetTest::liveFigures_data()
{
    QTest::addColumn<std::optional<QString>>("callsign");
    QTest::addColumn<std::optional<double>>("altitude");
    QTest::addColumn<std::optional<double>>("speed");
    QTest::addColumn<QString>("text");

    const std::optional<QString> none;
    const std::optional<double> nothing;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("all three") << std::optional<QString>("CES123") << std::optional(35000.9)
                               << std::optional(451.7) << "CES123 · 35.000 ft · 451 kt";
    QTest::newRow("speed alone") << none << nothing << std::optional(12.3) << "12 kt";
    QTest::newRow("altitude not a number")
        << std::optional<QString>("CES123") << std::optional(nan) << nothing << "CES123";
    QTest::newRow("altitude beyond 64 bits") << none << std::optional(1e19) << std::optional(2.0) << "2 kt";
    QTest::newRow("infinite speed") << none << std::optional(-3000.5)
                                    << std::optional(std::numeric_limits<double>::infinity()) << "-3.000 ft";
    QTest::newRow("empty callsign") << std::optional<QString>("") << nothing << std::optional(1200.0)
                                    << " · 1200 kt";
    QTest::newRow("nothing known") << none << nothing << nothing << "";
}

void LiveFleetTest::liveFigures()
{
    QFETCH(std::optional<QString>, callsign);
    QFETCH(std::optional<double>, altitude);
    QFETCH(std::optional<double>, speed);
    QFETCH(QString, text);

    LiveFlying flight;
    flight.callsign = callsign;
    flight.altitude = altitude;
    flight.groundSpeed = speed;
    QCOMPARE(::liveFigures(flight), text);
}

void LiveFleetTest::joinFollowsTheBoard()
{
    const auto board = decode<LiveBoard>(R"({"organizations":[
        {"id":"org1","name":"Vornalia","aircraft":[
            {"id":"a1","registration":"B-1234"},
            {"id":"a2","registration":"B-5678","flying":{"phase":"巡航"}}],
         "schedules":[
            {"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS","sequence":2},
            {"id":"s2","aircraftId":"a2","originIcao":"ZSPD","destinationIcao":"ZGGG"},
            {"id":"s3","aircraftId":"a1","originIcao":"ZSSS","destinationIcao":"ZBAA"},
            {"id":"s4","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZUUU","sequence":-1},
            {"id":"s5","aircraftId":"a1","originIcao":"ZUUU","destinationIcao":"ZBAA","sequence":0}]},
        {"id":"org2","name":"Empty","aircraft":[],"schedules":[]},
        {"id":"org3","name":"Partner","aircraft":[{"id":"a1","registration":"B-1234"}],"schedules":[]}]})");
    LiveFleetExtras extras;
    extras.take(decode<LiveFleetPositions>(R"({
        "aircraftPositions":[{"aircraftId":"a1","state":1,"available":true},
                             {"aircraftId":"a2","state":2,"available":true}],
        "recentPilots":[{"aircraftId":"a1","pilot":"li"},{"aircraftId":"a2","pilot":"wang"}]})"));
    extras.take(decode<LiveRoutes>(R"({"aircraftRoutes":[
        {"aircraftId":"a2","available":true,"items":[{"status":1,"arrival":"ZGGG"},{"status":1}]}]})"));

    const QList<LiveFleetItem> fleet = liveFleet(board, extras);
    QStringList ids;
    for (const LiveFleetItem &item : fleet)
        ids.append(item.id());
    QCOMPARE(ids, QStringList({"org1/a1", "org1/a2", "org3/a1"}));

    // Sequences 2, none, -1 and 0 stand -1, none, 0, 2: equal keys keep the service's order.
    QStringList order;
    for (const LiveSchedule &s : fleet.at(0).schedules)
        order.append(s.id);
    QCOMPARE(order, QStringList({"s4", "s3", "s5", "s1"}));
    QCOMPARE(fleet.at(0).position.value_or(LiveFleetPosition()).state.value_or(-1), qint64(1));
    QCOMPARE(fleet.at(0).lastPilot.value_or(LiveRecentPilot()).pilot, "li");
    QVERIFY(!fleet.at(0).lastRoute);

    // A flying aircraft has no position and no last pilot, but keeps its last route.
    const LiveFleetItem &flying = fleet.at(1);
    QCOMPARE(flying.schedules.size(), 1);
    QVERIFY(!flying.position);
    QVERIFY(!flying.lastPilot);
    QCOMPARE(flying.lastRoute.value_or(LiveRouteItem()).arrival.value_or(QString()), "ZGGG");

    QCOMPARE(fleet.at(2).organization.name, "Partner");
    QVERIFY(fleet.at(2).schedules.isEmpty());
    QCOMPARE(fleet.at(2).lastPilot.value_or(LiveRecentPilot()).pilot, "li");

    QVERIFY(liveFleet(std::nullopt, extras).isEmpty());
}

void LiveFleetTest::extrasReplaceOrKeep()
{
    LiveFleetExtras extras;
    extras.take(decode<LiveFleetPositions>(R"({"aircraftPositions":[
        {"aircraftId":"a1","state":1,"available":true},{"aircraft_id":"a1","state":2,"available":true}],
        "recentPilots":[{"aircraftId":"a1","pilot":"li"}]})"));
    QCOMPARE(extras.positions.value("a1").state.value_or(-1), qint64(2)); // the later entry wins

    extras.take(std::optional<LiveFleetPositions>());
    QCOMPARE(extras.positions.size(), 1);
    QCOMPARE(extras.recentPilots.size(), 1);

    // An answer without positions empties them; its pilots replace the old ones.
    extras.take(decode<LiveFleetPositions>(R"({"recentPilots":[{"aircraftId":"a2","pilot":"wang"}]})"));
    QVERIFY(extras.positions.isEmpty());
    QCOMPARE(extras.recentPilots.keys(), QStringList({"a2"}));

    extras.take(decode<LiveRoutes>(R"({"aircraftRoutes":[
        {"aircraftId":"a1","available":true,"items":[{"departure":"ZBAA"}]},
        {"aircraftId":"a2","available":false,"items":[{"departure":"ZSSS"}]},
        {"aircraftId":"a3","items":[{"departure":"ZSPD"}]},
        {"aircraftId":"a4","available":true,"items":[]},
        {"aircraftId":"a5","available":true},
        {"aircraftId":"a1","available":true,"items":[{"departure":"ZUUU"}]}]})"));
    QCOMPARE(extras.routes.keys(), QStringList({"a1"}));
    QCOMPARE(extras.routes.value("a1").departure.value_or(QString()), "ZUUU");

    extras.take(std::optional<LiveRoutes>());
    QCOMPARE(extras.routes.size(), 1);
    extras.take(decode<LiveRoutes>("{}"));
    QVERIFY(extras.routes.isEmpty());
}

void LiveFleetTest::applicationTint_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("role");
    QTest::newRow("approved") << "approved" << int(Theme::Approved);
    QTest::newRow("rejected") << "rejected" << int(Theme::Rejected);
    QTest::newRow("needs review") << "needs_review" << int(Theme::Accent);
    QTest::newRow("pending") << "pending" << int(Theme::Pending);
    QTest::newRow("processing") << "processing" << int(Theme::Pending);
    QTest::newRow("capital A") << "Approved" << int(Theme::Pending);
    QTest::newRow("unknown") << "withdrawn" << int(Theme::Pending);
}

void LiveFleetTest::applicationTint()
{
    QFETCH(QString, status);
    QFETCH(int, role);
    QCOMPARE(int(LiveApplicationTint::tint(status)), role);
}

void LiveFleetTest::pilotAgo_data()
{
    QTest::addColumn<std::optional<QString>>("seenAt");
    QTest::addColumn<std::optional<QString>>("text");

    using Text = std::optional<QString>;
    // Now is 2026-12-07T08:00:00Z.
    QTest::newRow("59 seconds") << Text("2026-12-07T07:59:01Z") << Text(" · 刚刚");
    QTest::newRow("60 seconds") << Text("2026-12-07T07:59:00Z") << Text(" · 1 分钟前");
    QTest::newRow("3599 seconds") << Text("2026-12-07T07:00:01Z") << Text(" · 59 分钟前");
    QTest::newRow("no zone is UTC") << Text("2026-12-07T07:00:00") << Text(" · 60 分钟前");
    QTest::newRow("other zone") << Text("2026-12-07T15:50:00+08:00") << Text(" · 10 分钟前");
    QTest::newRow("two days, no grouping") << Text("2026-12-05T08:00:00Z") << Text(" · 2880 分钟前");
    QTest::newRow("ten minutes ahead") << Text("2026-12-07T08:10:00Z") << Text(" · 刚刚");
    QTest::newRow("empty") << Text("") << Text();
    QTest::newRow("unreadable") << Text("yesterday") << Text();
    QTest::newRow("none") << Text() << Text();
}

void LiveFleetTest::pilotAgo()
{
    QFETCH(std::optional<QString>, seenAt);
    QFETCH(std::optional<QString>, text);
    const QDateTime now(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC);
    QCOMPARE(LivePilotTag::ago(seenAt, now), text);
}

QTEST_GUILESS_MAIN(LiveFleetTest)
#include "tst_live_fleet.moc"
