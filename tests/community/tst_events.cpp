// The events: the started rule, the report window, the card's texts and route frame, the attendance
// answers with their rollback, the staff's groups of answers and the event page, against the sample service.
#include "AppState.h"
#include "AttendanceButtonsModel.h"
#include "EventDetailModel.h"
#include "EventResponsesModel.h"
#include "EventSummaryModel.h"
#include "Installed.h"
#include "MemberTestSupport.h"

#include <QJsonArray>
#include <QJsonObject>

using namespace TestSupport;

namespace {

const QString answersPath = QStringLiteral("/api/member/event-responses");

QDateTime utc(const QString &text) { return QDateTime::fromString(text, Qt::ISODate); }

FlightEvent eventAt(const QString &start, qint64 hours = 1, qint64 minutes = 30)
{
    FlightEvent event;
    event.id = QStringLiteral("ev-9");
    event.departureCode = QStringLiteral("ZBAA");
    event.arrivalCode = QStringLiteral("ZSPD");
    event.estimatedHours = hours;
    event.estimatedMinutes = minutes;
    event.aircraft = QStringLiteral("Airbus A330-300");
    event.livery = QStringLiteral("Air China");
    event.eventAtUtc = start;
    return event;
}

// The rows of the staff list: "heading | names".
QStringList groupsOf(EventResponsesModel &model)
{
    QStringList rows;
    for (const ResponseGroup &group : model.groups()->records())
        rows.append(group.heading + QStringLiteral(" | ") + group.names);
    return rows;
}

} // namespace

class EventsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startedRule_data();
    void startedRule();
    void reportWindow_data();
    void reportWindow();
    void summaryTexts();
    void routeFrame();
    void answerIsSavedAndSent();
    void refusalPutsThePreviousAnswerBack();
    void overlappingSaves_data();
    void overlappingSaves();
    void sameAnswerAndUnknownText();
    void staffGroups();
    void staffGroupsOfOddAnswers();
    void staffListFailures();
    void staffQueryValueIsStrictlyEncoded();
    void eventPageAgainstTheService();

private:
    FlightEvent listed(const QString &id) const;
    // The answers written, not the loads of the member's answers on the same path.
    qsizetype posts() const;

    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
};

void EventsTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_app = signedInApp(*m_site, "lichen");
    m_data = std::make_unique<MemberData>(m_app->api());
}

void EventsTest::cleanup()
{
    m_data.reset();
    m_app.reset();
    m_site.reset();
}

FlightEvent EventsTest::listed(const QString &id) const
{
    for (const FlightEvent &event : m_data->events()) {
        if (event.id == id)
            return event;
    }
    return {};
}

qsizetype EventsTest::posts() const
{
    qsizetype count = 0;
    for (const Sample::Request &request : m_site->service->requestsTo(answersPath))
        count += request.method == "POST";
    return count;
}

void EventsTest::startedRule_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("started");
    QTest::newRow("a second before") << "2026-05-01T10:00:00Z"
                                     << "2026-05-01T09:59:59Z" << false;
    QTest::newRow("exactly at the start") << "2026-05-01T10:00:00Z"
                                          << "2026-05-01T10:00:00Z" << true;
    QTest::newRow("after") << "2026-05-01T10:00:00Z"
                           << "2026-05-01T12:00:00Z" << true;
    QTest::newRow("no zone is UTC") << "2026-05-01T10:00:00"
                                    << "2026-05-01T09:59:59Z" << false;
    QTest::newRow("offset") << "2026-05-01T18:00:00+08:00"
                            << "2026-05-01T10:00:00Z" << true;
    QTest::newRow("unreadable") << "tomorrow"
                                << "2026-05-01T10:00:00Z" << true;
    QTest::newRow("empty") << ""
                           << "2000-01-01T00:00:00Z" << true;
}

void EventsTest::startedRule()
{
    QFETCH(QString, start);
    QFETCH(QString, now);
    QFETCH(bool, started);
    QCOMPARE(eventAt(start).hasStarted(utc(now)), started);

    // The buttons are locked and the card's chip follows the same rule.
    AttendanceButtonsModel buttons;
    buttons.setEvent({eventAt(start)});
    buttons.setClock([now] { return utc(now); });
    QCOMPARE(buttons.locked(), started);
    EventSummaryModel card;
    card.setEvent({eventAt(start)});
    card.setClock([now] { return utc(now); });
    QCOMPARE(card.chipText(), started ? QStringLiteral("活动进行 / 报告窗口") : QStringLiteral("即将起飞"));
    QCOMPARE(card.chipSymbol(), started ? QStringLiteral("dot.radiowaves.left.and.right")
                                        : QStringLiteral("airplane.departure"));
}

void EventsTest::reportWindow_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("start");
    QTest::addColumn<qint64>("hours");
    QTest::addColumn<qint64>("minutes");
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("open");
    const QString ten = QStringLiteral("2026-05-01T10:00:00Z");
    QTest::newRow("before the start") << "attending" << ten << 1ll << 30ll << "2026-05-01T09:59:59Z" << false;
    QTest::newRow("at the start") << "attending" << ten << 1ll << 30ll << "2026-05-01T10:00:00Z" << true;
    QTest::newRow("at the end") << "attending" << ten << 1ll << 30ll << "2026-05-01T12:30:00Z" << true;
    QTest::newRow("after the end") << "attending" << ten << 1ll << 30ll << "2026-05-01T12:30:01Z" << false;
    QTest::newRow("no estimate, an hour")
        << "attending" << ten << 0ll << 0ll << "2026-05-01T11:00:00Z" << true;
    QTest::newRow("no estimate, past the hour")
        << "attending" << ten << 0ll << 0ll << "2026-05-01T11:00:01Z" << false;
    QTest::newRow("interested") << "interested" << ten << 1ll << 30ll << "2026-05-01T10:30:00Z" << false;
    QTest::newRow("declined") << "declined" << ten << 1ll << 30ll << "2026-05-01T10:30:00Z" << false;
    QTest::newRow("no answer") << "" << ten << 1ll << 30ll << "2026-05-01T10:30:00Z" << false;
    QTest::newRow("other letter case")
        << "Attending" << ten << 1ll << 30ll << "2026-05-01T10:30:00Z" << false;
    QTest::newRow("unreadable start") << "attending"
                                      << "soon" << 1ll << 30ll << "2026-05-01T10:30:00Z" << false;
    // Regression: an estimate beyond the integers wrapped round into a window.
    QTest::newRow("huge estimate") << "attending" << ten << std::numeric_limits<qint64>::max() << 30ll
                                   << "2026-05-01T10:30:00Z" << false;
}

void EventsTest::reportWindow()
{
    QFETCH(QString, answer);
    QFETCH(QString, start);
    QFETCH(qint64, hours);
    QFETCH(qint64, minutes);
    QFETCH(QString, now);
    QFETCH(bool, open);
    const FlightEvent event = eventAt(start, hours, minutes);
    if (!answer.isEmpty())
        m_data->setAttendance(event.id, answer);
    EventDetailModel page;
    page.setMemberData(m_data.get());
    page.setEvent({event});
    page.setClock([now] { return utc(now); });
    QCOMPARE(page.inPirepWindow(), open);

    // The report button opens the form only while the window is open.
    MemberNavigation navigation;
    page.setNavigation(&navigation);
    page.openSubmission();
    QCOMPARE(navigation.depth(NavigationStack::FlightStack), open ? 1 : 0);
}

void EventsTest::summaryTexts()
{
    EventSummaryModel card;
    card.setEvent({eventAt(QStringLiteral("2026-05-01T10:00:00Z"), 1, 30)});
    QCOMPARE(card.durationText(), QStringLiteral("1 小时 30 分"));
    QCOMPARE(card.aircraftLine(), QStringLiteral("Airbus A330-300 · Air China"));
    QVERIFY(!card.startText().isEmpty());
    // An unreadable start shows no time, and the event counts as started.
    card.setEvent({eventAt(QStringLiteral("later"), 0, 45)});
    QCOMPARE(card.startText(), QString());
    QVERIFY(card.started());
    QCOMPARE(card.durationText(), QStringLiteral("0 小时 45 分"));
}

void EventsTest::routeFrame()
{
    // One airport twice: nothing between the points, 400,000 map points around them.
    const QRectF same = EventRouteMapModel::frameOf(QGeoCoordinate(0, 0), QGeoCoordinate(0, 0));
    QCOMPARE(same.size(), QSizeF(800000, 800000));
    QCOMPARE(same.center(), QPointF(134217728, 134217728));

    // The margin is 0.6 of the longer side plus 400,000 on every side.
    const QRectF wide = EventRouteMapModel::frameOf(QGeoCoordinate(0, -90), QGeoCoordinate(0, 0));
    QCOMPARE(wide.width(), 67108864 + 2 * (0.6 * 67108864 + 400000));
    QCOMPARE(wide.height(), 2 * (0.6 * 67108864 + 400000));

    // Regression: a route across 180° was framed the long way, over the whole world.
    const QRectF pacific =
        EventRouteMapModel::frameOf(QGeoCoordinate(35.55, 139.78), QGeoCoordinate(21.32, -157.92));
    const double between = (360 - 139.78 - 157.92) / 360 * 268435456;
    QVERIFY(pacific.width() > between + 800000);
    QVERIFY2(pacific.width() < 268435456 / 2, "framed the long way round");

    EventRouteMapModel map;
    map.setFrom(QStringLiteral("ZBAA"));
    map.setTo(QStringLiteral("ZSPD"));
    QVERIFY(map.found());
    QCOMPARE(map.accessibleName(), QStringLiteral("活动航线 ZBAA 至 ZSPD"));
    map.setTo(QStringLiteral("zspd")); // the table is upper case only
    QVERIFY(!map.found());
    QCOMPARE(map.accessibleName(), QString());
    QVERIFY(map.frame().isNull());
}

void EventsTest::answerIsSavedAndSent()
{
    await(m_data->loadEvents(true));
    const FlightEvent event = listed("ev-303");
    QCOMPARE(m_data->attendance().value("ev-303"), "interested");
    AttendanceButtonsModel buttons;
    buttons.setMemberData(m_data.get());
    buttons.setEvent({event});
    QCOMPARE(buttons.selected(), 1);
    QCOMPARE(buttons.titles(), (QStringList{"参加", "感兴趣", "不参加"}));

    m_site->service->clearRequests();
    buttons.choose(2);
    QCOMPARE(buttons.selected(), 2); // at once, before the service answers
    QTRY_COMPARE(posts(), 1);
    const QJsonObject sent = m_site->service->requestsTo(answersPath).first().json().toObject();
    QCOMPARE(sent, (QJsonObject{{"eventId", "ev-303"}, {"response", "declined"}}));
    QTest::qWait(200);
    QCOMPARE(m_data->attendance().value("ev-303"), "declined");
    QCOMPARE(buttons.error(), QString());

    // A started event takes no taps.
    buttons.setEvent({listed("ev-302")});
    QVERIFY(buttons.locked());
    m_site->service->clearRequests();
    buttons.choose(1);
    QTest::qWait(100);
    QCOMPARE(posts(), 0);
}

void EventsTest::refusalPutsThePreviousAnswerBack()
{
    await(m_data->loadEvents(true));
    QVERIFY(!m_data->attendance().contains("ev-304"));
    AttendanceButtonsModel buttons;
    buttons.setMemberData(m_data.get());
    buttons.setEvent({listed("ev-304")});
    m_site->service->setFault(answersPath, Sample::Fault{.status = 500});
    buttons.choose(0);
    QCOMPARE(m_data->attendance().value("ev-304"), "attending");
    QTRY_COMPARE(buttons.error(), QStringLiteral("没有保存成功：样例服务按要求返回 500。"));
    QVERIFY(!m_data->attendance().contains("ev-304")); // no answer before, none after
    QCOMPARE(buttons.selected(), -1);

    // A refusal over an earlier answer restores that answer.
    buttons.setEvent({listed("ev-305")});
    QCOMPARE(buttons.selected(), 2);
    buttons.choose(1);
    QTRY_COMPARE(m_data->attendance().value("ev-305"), "declined");
    QCOMPARE(buttons.selected(), 2);
}

void EventsTest::overlappingSaves_data()
{
    QTest::addColumn<bool>("firstFails");
    QTest::addColumn<QString>("kept");
    // "参加" then "不参加" before the first answer; the answers arrive in the order tapped.
    QTest::newRow("first refused, second taken") << true << "declined";
    QTest::newRow("first taken, second refused") << false << "attending";
}

void EventsTest::overlappingSaves()
{
    QFETCH(bool, firstFails);
    QFETCH(QString, kept);
    await(m_data->loadEvents(true));
    AttendanceButtonsModel buttons;
    buttons.setMemberData(m_data.get());
    buttons.setEvent({listed("ev-304")});

    // Each answer's body comes late, the second's later, so they arrive in the order sent.
    Sample::Fault first{.bodyDelayMs = 300, .times = 1};
    Sample::Fault second{.bodyDelayMs = 900, .times = 1};
    (firstFails ? first : second).status = 409;
    m_site->service->setFault(answersPath, first);
    buttons.choose(0);
    QTRY_COMPARE(posts(), 1);
    m_site->service->setFault(answersPath, second);
    buttons.choose(2);
    QCOMPARE(m_data->attendance().value("ev-304"), "declined");
    QTRY_COMPARE(posts(), 2);

    QTRY_COMPARE(buttons.error(), QStringLiteral("没有保存成功：样例服务按要求返回 409。"));
    // The refusal took back nothing that was not its own, also while the other save was still out.
    QCOMPARE(m_data->attendance().value("ev-304"), kept);
    QTest::qWait(1200); // both have ended
    QCOMPARE(m_data->attendance().value("ev-304"), kept);
    // A later success does not clear the earlier failure's message.
    QCOMPARE(buttons.error(), QStringLiteral("没有保存成功：样例服务按要求返回 409。"));
}

void EventsTest::sameAnswerAndUnknownText()
{
    await(m_data->loadEvents(true));
    AttendanceButtonsModel buttons;
    buttons.setMemberData(m_data.get());
    buttons.setEvent({listed("ev-304")});
    m_site->service->setFault(answersPath, Sample::Fault{.status = 500, .times = 1});
    buttons.choose(1);
    QTRY_VERIFY(!buttons.error().isEmpty());
    buttons.choose(1);
    QTRY_COMPARE(posts(), 2);
    QTest::qWait(200);
    QCOMPARE(m_data->attendance().value("ev-304"), "interested");
    m_site->service->clearRequests();

    // The answer already selected sends nothing and keeps the message.
    const QString message = buttons.error();
    buttons.choose(1);
    QTest::qWait(100);
    QCOMPARE(posts(), 0);
    QCOMPARE(buttons.error(), message);

    // A text that is no answer selects nothing; a tap writes its own answer.
    m_data->setAttendance("ev-304", QStringLiteral("maybe"));
    QCOMPARE(buttons.selected(), -1);
    buttons.choose(0);
    QTRY_COMPARE(posts(), 1);
    QCOMPARE(buttons.selected(), 0);
    QCOMPARE(buttons.error(), QString()); // the new save cleared it
}

void EventsTest::staffGroups()
{
    const auto staff = signedInApp(*m_site, "wangfang");
    EventResponsesModel model;
    model.setAppState(staff.get());
    model.setEventId("ev-302");
    model.appear();
    QTRY_VERIFY(model.hasList());
    QCOMPARE(groupsOf(model), (QStringList{"参加 · 3 人 | chenjie, lichen, zhangwei",
                                           "感兴趣 · 1 人 | hejing", "不参加 · 1 人 | liuyang"}));
    QCOMPARE(model.groups()->records().at(1).answer, "interested");

    // Another event loads again.
    model.setEventId("ev-304");
    QTRY_COMPARE(groupsOf(model),
                 (QStringList{"参加 · 1 人 | hejing", "感兴趣 · 0 人 | —", "不参加 · 0 人 | —"}));
}

void EventsTest::staffGroupsOfOddAnswers()
{
    const auto staff = signedInApp(*m_site, "zhaolei");
    const QJsonArray answers{QJsonObject{{"username", "a"}, {"response", "attending"}},
                             QJsonObject{{"username", "b"}, {"response", "maybe"}},
                             QJsonObject{{"username", "c"}, {"response", "Attending"}},
                             QJsonObject{{"username", "d"}, {"response", "declined"}},
                             QJsonObject{{"username", "a"}, {"response", "attending"}}};
    m_site->service->setFault("/api/admin/event-responses",
                              Sample::Fault{.json = QJsonObject{{"responses", answers}}});
    EventResponsesModel model;
    model.setAppState(staff.get());
    model.setEventId("ev-301");
    model.appear();
    QTRY_VERIFY(model.hasList());
    QCOMPARE(groupsOf(model), (QStringList{"参加 · 2 人 | a, a", "感兴趣 · 0 人 | —", "不参加 · 1 人 | d"}));
}

void EventsTest::staffListFailures()
{
    // A member is refused by the service; the section shows its message.
    EventResponsesModel refused;
    refused.setAppState(m_app.get());
    refused.setEventId("ev-302");
    refused.appear();
    QTRY_COMPARE(refused.error(), QStringLiteral("只有管理员可以查看活动报名情况。"));
    QVERIFY(!refused.hasList());

    const auto staff = signedInApp(*m_site, "wangfang");
    EventResponsesModel model;
    model.setAppState(staff.get());
    model.setEventId("ev-303");
    m_site->service->setFault("/api/admin/event-responses", Sample::Fault{.status = 502, .times = 1});
    model.appear();
    QTRY_COMPARE(model.error(), QStringLiteral("样例服务按要求返回 502。"));
    QVERIFY(!model.hasList());
    model.retry();
    QTRY_VERIFY(model.hasList());
    QCOMPARE(model.error(), QString());
    // A failure after a list keeps the list.
    m_site->service->setFault("/api/admin/event-responses", Sample::Fault{.status = 500, .times = 1});
    model.retry();
    QTRY_VERIFY(!model.error().isEmpty());
    QVERIFY(model.hasList());
    QCOMPARE(model.groups()->rowCount(), 3);
}

void EventsTest::staffQueryValueIsStrictlyEncoded()
{
    // Regression: "&", "=" and "?" in an id went out as they are and cut or added query parameters.
    QCOMPARE(APIPath::staffEventResponses("ev 1#&x=2?/é"),
             "/api/admin/event-responses?eventId=ev%201%23%26x%3D2%3F%2F%C3%A9");

    const auto staff = signedInApp(*m_site, "wangfang");
    EventResponsesModel model;
    model.setAppState(staff.get());
    model.setEventId("ev-298&eventId=ev-302");
    model.appear();
    QTRY_VERIFY(!model.error().isEmpty());
    const QList<Sample::Request> asked = m_site->service->requestsTo("/api/admin/event-responses");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().query.allQueryItemValues("eventId", QUrl::FullyDecoded),
             QStringList{"ev-298&eventId=ev-302"});
}

void EventsTest::eventPageAgainstTheService()
{
    MemberNavigation navigation;
    EventDetailModel page;
    page.setAppState(m_app.get());
    page.setMemberData(m_data.get());
    page.setNavigation(&navigation);
    page.appear();
    QTRY_VERIFY(m_data->state(MemberLoad::Events).loaded);
    QVERIFY(page.showsAnswers());
    QVERIFY(!page.showsResponses());

    // Inside the report window with "attending": the button opens the report form for the event.
    navigation.openEvent(listed("ev-302"));
    page.openRoute(navigation.routeAt(NavigationStack::HomeStack, 0));
    QCOMPARE(page.event().id(), "ev-302");
    QVERIFY(page.inPirepWindow());
    QCOMPARE(page.note(), QStringLiteral("活动已经开始，不能再更改参加意向。"));
    QCOMPARE(page.options()->rowCount(), 3);
    page.openSubmission();
    QCOMPARE(navigation.selected(), MemberTab::Flights);
    QCOMPARE(navigation.flightPath(), (QList<Destination>{EventSubmissionRoute{listed("ev-302")}}));

    // Past its window, and a future event answered "interested".
    page.openEventId("ev-303");
    QVERIFY(!page.inPirepWindow());
    QCOMPARE(page.note(),
             QStringLiteral("计划参加活动时请提前选择“参加”。活动倍数还需在报告提交时满足航线和时间要求。"));
    // Without options the event's own aircraft is the one; an empty list sent is none.
    QCOMPARE(page.options()->records(), (QList<AircraftOption>{{"Airbus A350", "Cathay Pacific"}}));
    FlightEvent bare = listed("ev-303");
    bare.aircraftOptions = QList<AircraftOption>{};
    page.setEvent({bare});
    QCOMPARE(page.options()->rowCount(), 0);

    // A second visit sends no request.
    m_site->service->clearRequests();
    EventDetailModel again;
    again.setAppState(m_app.get());
    again.setMemberData(m_data.get());
    again.appear();
    QTest::qWait(100);
    QCOMPARE(m_site->service->requests().size(), 0);

    // Staff see the answers instead; without a user, neither.
    const auto admin = signedInApp(*m_site, "wangfang");
    page.setAppState(admin.get());
    QVERIFY(!page.showsAnswers());
    QVERIFY(page.showsResponses());
    page.setAppState(nullptr); // nobody signed in
    QVERIFY(!page.showsAnswers());
    QVERIFY(!page.showsResponses());
}

QTEST_GUILESS_MAIN(EventsTest)
#include "tst_events.moc"
