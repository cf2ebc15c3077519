#include "LatestFlightModel.h"
#include "LogbookModel.h"
#include "PirepText.h"

#include <QtTest>

#include <cmath>

// The latest-flight card without a window: the route-progress estimate, when its placeholder loads, and
// what the card shows of a live or a recent flight; and the row texts of a report.
class LatestFlightTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progress_data();
    void progress();
    void placeholderLoading_data();
    void placeholderLoading();
    void recentFlight_data();
    void recentFlight();
    void liveEndpoints_data();
    void liveEndpoints();
    void liveCard();
    void progressText_data();
    void progressText();
    void rowTexts_data();
    void rowTexts();
};

namespace {

using Route = QList<FlightPoint>;

LiveFlight at(double latitude, double longitude, std::optional<double> groundSpeed = 400)
{
    LiveFlight flight;
    flight.latitude = latitude;
    flight.longitude = longitude;
    flight.groundSpeed = groundSpeed;
    return flight;
}

FlightPoint point(double latitude, double longitude, std::optional<QString> name = std::nullopt)
{
    return {latitude, longitude, std::move(name)};
}

const QDateTime now = QDateTime(QDate(2026, 5, 1), QTime(12, 0), Qt::UTC);

RecentFlight recent(qint64 secondsAgo, std::optional<qint64> landings, std::optional<QString> destination)
{
    RecentFlight flight;
    flight.id = QStringLiteral("3c9e1f52");
    flight.created = now.addSecs(-secondsAgo).toString(Qt::ISODate);
    flight.origin = QStringLiteral("ZGGG");
    flight.destination = std::move(destination);
    flight.aircraft = QStringLiteral("Airbus A320");
    flight.livery = QStringLiteral("Sichuan Airlines");
    flight.callsign = QStringLiteral("B-207CA");
    flight.server = QStringLiteral("Expert");
    flight.landings = landings;
    return flight;
}

} // namespace

void LatestFlightTest::progress_data()
{
    QTest::addColumn<LiveFlight>("flight");
    QTest::addColumn<Route>("route");
    QTest::addColumn<double>("expected"); // NaN: no estimate

    const double none = std::nan("");
    const Route meridian{point(0, 0), point(2, 0)};
    // 50 m north of the last point: 0.00045 degrees of latitude.
    const double fiftyMetres = 0.05 / 111.195;
    QTest::newRow("no points") << at(0, 0) << Route{} << none;
    QTest::newRow("one point") << at(0, 0) << Route{point(0, 0)} << none;
    QTest::newRow("coincident points") << at(0, 0) << Route{point(5, 5), point(5, 5)} << none;
    QTest::newRow("on the first point") << at(0, 0) << meridian << 0.0;
    QTest::newRow("halfway along a meridian") << at(1, 0) << meridian << 0.5;
    QTest::newRow("past the end") << at(3, 0) << meridian << 0.99;
    QTest::newRow("on the last point at 30 knots") << at(2, 0, 30) << meridian << 0.99;
    QTest::newRow("on the last point without a speed") << at(2, 0, std::nullopt) << meridian << 0.99;
    QTest::newRow("50 m from the last point at 12 knots") << at(2 + fiftyMetres, 0, 12) << meridian << 1.0;
    QTest::newRow("circuit, slow at the start")
        << at(0, 0, 5) << Route{point(0, 0), point(1, 0), point(0, 0)} << 1.0;
    // The segment across the antimeridian is 2 degrees long, not 358.
    QTest::newRow("179 to -179, on the meridian")
        << at(0, 180) << Route{point(0, 179), point(0, -179)} << 0.5;
    QTest::newRow("179 to -179, three quarters")
        << at(0, -179.5) << Route{point(0, 179), point(0, -179)} << 0.75;
    // Three sides of a square around the aircraft, each as near: the first one decides.
    QTest::newRow("equal distance, earlier segment")
        << at(0, 0) << Route{point(1, -1), point(1, 1), point(-1, 1), point(-1, -1)} << 1.0 / 6;
}

void LatestFlightTest::progress()
{
    QFETCH(LiveFlight, flight);
    QFETCH(Route, route);
    QFETCH(double, expected);
    const std::optional<double> estimate = LatestFlightModel::progress(flight, route);
    if (std::isnan(expected)) {
        QVERIFY(!estimate);
        return;
    }
    QVERIFY(estimate);
    // Exact where the rule gives an exact value, else within a thousandth of a sphere's geometry.
    if (expected == 1.0 || expected == 0.99 || expected == 0.0)
        QCOMPARE(*estimate, expected);
    else
        QVERIFY2(std::abs(*estimate - expected) < 0.002, qPrintable(QString::number(*estimate)));
}

void LatestFlightTest::placeholderLoading_data()
{
    QTest::addColumn<bool>("loading");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<bool>("expected");

    QTest::newRow("not started") << false << false << false << true;
    QTest::newRow("loading") << true << false << false << true;
    QTest::newRow("reloading after a success") << true << true << false << true;
    QTest::newRow("loaded") << false << true << false << false;
    QTest::newRow("failed") << false << false << true << false;
}

void LatestFlightTest::placeholderLoading()
{
    QFETCH(bool, loading);
    QFETCH(bool, loaded);
    QFETCH(bool, failed);
    QFETCH(bool, expected);
    LoadState state;
    state.loading = loading;
    state.loaded = loaded;
    if (failed)
        state.failure = QStringLiteral("服务器暂时不可用");
    QCOMPARE(LatestFlightModel::placeholderLoading(state), expected);
}

void LatestFlightTest::recentFlight_data()
{
    QTest::addColumn<RecentFlight>("flight");
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("progressText");
    QTest::addColumn<bool>("unmatchedNote");

    QTest::newRow("2 hours ago, no landings")
        << recent(7200, std::nullopt, QStringLiteral("ZUUU")) << QStringLiteral("实时数据中未找到此航班")
        << QStringLiteral("暂无可计算的航路进度") << true;
    QTest::newRow("landed at its destination")
        << recent(7200, 1, QStringLiteral("ZUUU")) << QStringLiteral("飞行已结束")
        << QStringLiteral("已到达 · 100%") << false;
    QTest::newRow("16 hours ago, no landings")
        << recent(57600, 0, QStringLiteral("ZUUU")) << QStringLiteral("飞行已结束")
        << QStringLiteral("暂无可计算的航路进度") << false;
    QTest::newRow("in the future, 0 landings")
        << recent(-600, 0, QStringLiteral("ZUUU")) << QStringLiteral("实时数据中未找到此航班")
        << QStringLiteral("暂无可计算的航路进度") << true;
    QTest::newRow("2 landings, no destination")
        << recent(7200, 2, std::nullopt) << QStringLiteral("飞行已结束")
        << QStringLiteral("暂无可计算的航路进度") << false;
    RecentFlight unreadable = recent(7200, std::nullopt, QStringLiteral("ZUUU"));
    unreadable.created = QStringLiteral("yesterday");
    QTest::newRow("creation time that does not parse")
        << unreadable << QStringLiteral("飞行已结束") << QStringLiteral("暂无可计算的航路进度") << false;
}

void LatestFlightTest::recentFlight()
{
    QFETCH(RecentFlight, flight);
    QFETCH(QString, phase);
    QFETCH(QString, progressText);
    QFETCH(bool, unmatchedNote);
    const LatestFlightFacts facts = LatestFlightFacts::of(flight, now);
    QCOMPARE(facts.phaseTitle, phase);
    QVERIFY(!facts.phaseColor);
    QCOMPARE(facts.progressText, progressText);
    QCOMPARE(facts.action, QStringLiteral("核对并提交 PIREP"));
    QVERIFY(facts.note);
    const QString server = QStringLiteral(" · 此航班暂未出现在实时地图；记录服务器：Expert");
    QCOMPARE(facts.note->endsWith(server), unmatchedNote);
    // The note starts with the creation time, and is empty (yet present) without one.
    QCOMPARE(facts.note->isEmpty(), !flight.createdAt() && !unmatchedNote);
}

void LatestFlightTest::liveEndpoints_data()
{
    QTest::addColumn<std::optional<QString>>("departure");
    QTest::addColumn<QString>("firstPoint");
    QTest::addColumn<QString>("expected");

    QTest::newRow("own field wins") << std::optional<QString>(QStringLiteral("zspd"))
                                    << QStringLiteral("RJTT") << QStringLiteral("zspd");
    QTest::newRow("four capitals") << std::optional<QString>() << QStringLiteral("ZSPD")
                                   << QStringLiteral("ZSPD");
    QTest::newRow("lower case") << std::optional<QString>() << QStringLiteral("zspd") << QStringLiteral("—");
    QTest::newRow("five letters") << std::optional<QString>() << QStringLiteral("NIXAL")
                                  << QStringLiteral("—");
    QTest::newRow("digits") << std::optional<QString>() << QStringLiteral("ZS1D") << QStringLiteral("—");
}

void LatestFlightTest::liveEndpoints()
{
    QFETCH(std::optional<QString>, departure);
    QFETCH(QString, firstPoint);
    QFETCH(QString, expected);
    LiveFlight flight = at(31, 122);
    flight.departure = departure;
    const PlanResponse plan{Route{point(31.1, 121.8, firstPoint), point(35.5, 139.8, QStringLiteral("RJTT"))},
                            std::nullopt};
    const LatestFlightFacts facts = LatestFlightFacts::of(LiveLatestFlight{flight, plan}, now);
    QCOMPARE(facts.departure, expected);
    QCOMPARE(facts.arrival, QStringLiteral("RJTT"));
}

void LatestFlightTest::liveCard()
{
    LiveFlight flight = at(33, 130);
    flight.aircraft = QStringLiteral("Airbus A320");
    // No phase, no livery, no callsign, and a plan of a single point.
    const PlanResponse plan{Route{point(31.1, 121.8, QStringLiteral("ZSPD"))}, std::nullopt};
    const LatestFlightFacts facts = LatestFlightFacts::of(LiveLatestFlight{flight, plan}, now);
    QCOMPARE(facts.phaseTitle, QStringLiteral("飞行中"));
    QVERIFY(!facts.phaseColor);
    QVERIFY(!facts.note);
    QCOMPARE(facts.callsign, QStringLiteral("未提供"));
    QCOMPARE(facts.aircraftLine, QStringLiteral("Airbus A320 · 未提供"));
    QVERIFY(!facts.showsPhoto);
    QVERIFY(!facts.progress);
    QCOMPARE(facts.progressText, QStringLiteral("暂无可计算的航路进度"));
    QCOMPARE(facts.action, QStringLiteral("提交 PIREP"));
    QCOMPARE(facts.departure, QStringLiteral("ZSPD"));
    QCOMPARE(facts.arrival, QStringLiteral("ZSPD"));

    // With a phase: its own title and colour.
    FlightPhaseDescription phase;
    phase.code = QStringLiteral("cruise");
    phase.labels = {{QStringLiteral("zh"), QStringLiteral("巡航")},
                    {QStringLiteral("en"), QStringLiteral("Cruise")}};
    phase.color = QStringLiteral("34C759");
    flight.flightPhase = phase;
    const LatestFlightFacts phased = LatestFlightFacts::of(LiveLatestFlight{flight, std::nullopt}, now);
    QVERIFY(phased.phaseColor);
    QCOMPARE(*phased.phaseColor, QColor(0x34, 0xC7, 0x59));
    QCOMPARE(phased.departure, QStringLiteral("—"));

    // Guards the chip that read "#FFF" as white: a colour that is not six digits is the phase's neutral
    // one (FlightPhase), never the muted colour of a flight without a phase.
    phase.color = QStringLiteral("#FFF");
    flight.flightPhase = phase;
    const LatestFlightFacts shortColour = LatestFlightFacts::of(LiveLatestFlight{flight, std::nullopt}, now);
    QVERIFY(shortColour.phaseColor);
    QCOMPARE(*shortColour.phaseColor, QColor(111, 100, 88));
}

void LatestFlightTest::progressText_data()
{
    QTest::addColumn<double>("progress");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a half rounds away from zero") << 0.125 << QStringLiteral("估算航路进度 · 13%");
    QTest::newRow("capped") << 0.99 << QStringLiteral("估算航路进度 · 99%");
    QTest::newRow("start") << 0.0 << QStringLiteral("估算航路进度 · 0%");
    QTest::newRow("arrived") << 1.0 << QStringLiteral("已到达 · 100%");
}

void LatestFlightTest::progressText()
{
    QFETCH(double, progress);
    QFETCH(QString, expected);
    QCOMPARE(LatestFlightModel::progressText(progress), expected);
}

void LatestFlightTest::rowTexts_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<std::optional<double>>("percent");
    QTest::addColumn<std::optional<double>>("submittedAt");
    QTest::addColumn<std::optional<QString>>("reason");
    QTest::addColumn<QString>("chip");
    QTest::addColumn<bool>("day");
    QTest::addColumn<QString>("shownReason");

    using Number = std::optional<double>;
    using Text = std::optional<QString>;
    QTest::newRow("no multiplier, no date")
        << "pending" << Number() << Number() << Text() << "" << false << "";
    QTest::newRow("100 percent, date 0")
        << "approved" << Number(100) << Number(0) << Text() << "" << false << "";
    QTest::newRow("100.5 percent, negative date")
        << "approved" << Number(100.5) << Number(-5) << Text() << "×1.005" << false << "";
    QTest::newRow("187.5 percent") << "approved" << Number(187.5) << Number(1714560000) << Text() << "×1.875"
                                   << true << "";
    QTest::newRow("rejected with reason")
        << "rejected" << Number(150) << Number(1714560000000.0) << Text(QStringLiteral(" 呼号不一致 "))
        << "×1.5" << true << " 呼号不一致 ";
    QTest::newRow("rejected, empty reason")
        << "rejected" << Number() << Number() << Text(QString()) << "" << false << "";
    QTest::newRow("approved with a reason")
        << "approved" << Number() << Number() << Text(QStringLiteral("备注")) << "" << false << "";
}

void LatestFlightTest::rowTexts()
{
    QFETCH(QString, status);
    QFETCH(std::optional<double>, percent);
    QFETCH(std::optional<double>, submittedAt);
    QFETCH(std::optional<QString>, reason);
    QFETCH(QString, chip);
    QFETCH(bool, day);
    QFETCH(QString, shownReason);
    Pirep report;
    report.status = status;
    report.multiplierPercent = percent;
    report.submittedAt = submittedAt;
    report.rejectionReason = reason;
    QCOMPARE(PirepText::multiplierChip(report).value_or(QString()), chip);
    QCOMPARE(PirepText::submittedDay(report).has_value(), day);
    QCOMPARE(PirepText::rowReason(report).value_or(QString()), shownReason);

    // Seconds and the same instant in milliseconds are the same day.
    Pirep seconds, milliseconds;
    seconds.submittedAt = 1714560000;
    milliseconds.submittedAt = 1714560000000.0;
    QCOMPARE(PirepText::submittedDay(seconds), PirepText::submittedDay(milliseconds));
}

QTEST_GUILESS_MAIN(LatestFlightTest)
#include "tst_latest_flight.moc"
