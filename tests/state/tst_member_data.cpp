// The member's data store against the sample member service: the keyed-load protocol, what each load
// publishes, the live-map cache and the two writes.
#include "ClientTestSupport.h"
#include "DashboardAnswers.h"
#include "MemberData.h"

#include <QJsonArray>
#include <QQmlComponent>
#include <QQmlEngine>

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)

using namespace TestSupport;
using MemberLoad::Kind;
using Sample::Reply;
using Sample::Request;

namespace {

QJsonObject liveFlight(const QString &id, const QJsonValue &sessionId, const QJsonValue &flightId)
{
    QJsonObject flight{{"id", id}, {"latitude", 31.2}, {"longitude", 121.5}};
    if (!sessionId.isNull())
        flight.insert("sessionId", sessionId);
    if (!flightId.isNull())
        flight.insert("flightId", flightId);
    return flight;
}

const QString sessionUuid = "7E5A3C1F-0B2D-4E6F-8A9B-1C2D3E4F5A6B";
const QString flightUuid = "0f1e2d3c-4b5a-6978-8695-a4b3c2d1e0f9";

Reply json(const QJsonValue &value) { return Reply::json(value); }

const QList<Kind> everyLoad{MemberLoad::Inbox,       MemberLoad::Pireps, MemberLoad::Events,
                            MemberLoad::Leaderboard, MemberLoad::Routes, MemberLoad::Latest};

// The loads that hold a failure now.
QList<Kind> failing(const MemberData &data)
{
    QList<Kind> found;
    for (const Kind load : everyLoad) {
        if (data.state(load).failure)
            found.append(load);
    }
    return found;
}

} // namespace

class MemberDataTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void aRunningKeyIsNotStartedTwice();
    void reloadStartsEveryLoad_data();
    void reloadStartsEveryLoad();
    void qmlFollowsTheLoads();
    void dashboardLoadsRunTogether();
    void failuresKeepTheData();
    void cancelledLoadsLeaveNoTrace();
    void nullAnswersClear();
    void eventsAndTheMembersAnswers();
    void latestFlight_data();
    void latestFlight();
    void latestFlightFailsOnlyOnRecentFlights();
    void liveMapExpiresAfterAnHour();
    void savedMapOnlyWhileNoneIsCached();
    void markingNoticesRead();
    void answeringAnEvent();

private:
    // Serves a fixed answer for a path (GET).
    void serve(const QString &path, const QJsonValue &answer)
    {
        service().route("GET", path, [answer](Sample::Service &, const Request &) { return json(answer); });
    }
    Sample::Service &service() { return *m_site->service; }
    std::unique_ptr<MemberData> store() const { return std::make_unique<MemberData>(m_client.get()); }

    std::unique_ptr<Site> m_site;
    std::unique_ptr<APIClient> m_client;
};

void MemberDataTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_client = m_site->signedInClient();
    serve("/api/notifications", QJsonObject{{"notifications", QJsonArray()}, {"unreadCount", 0}});
    serve("/api/pireps", QJsonObject{{"pireps", QJsonArray{TestSupport::plainPirep("p-1", "approved")}},
                                     {"summary", QJsonObject{{"approvedCount", 1}}}});
    serve("/api/events/upcoming", QJsonObject{{"events", QJsonArray{TestSupport::groupFlight("e-1"),
                                                                    TestSupport::groupFlight("e-2")}}});
    serve("/api/member/event-responses", QJsonObject{{"responses", QJsonArray()}});
    serve("/api/member/pirep-leaderboard", QJsonObject{{"members", QJsonArray()}});
    serve("/api/member/routes",
          QJsonObject{{"routes",
                       QJsonArray{QJsonObject{{"departure", "ZBAA"}, {"arrival", "ZSPD"}, {"flights", 3}}}}});
    serve("/api/infinite-flight/live", QJsonValue::Null);
    serve("/api/infinite-flight/me/flights",
          QJsonObject{{"flights", QJsonArray{QJsonObject{{"id", "r-1"}}, QJsonObject{{"id", "r-2"}}}}});
}

void MemberDataTest::cleanup()
{
    m_client.reset();
    m_site.reset();
}

void MemberDataTest::aRunningKeyIsNotStartedTwice()
{
    const auto data = store();
    auto first = data->loadPireps();
    QVERIFY(data->state(MemberLoad::Pireps).loading);
    auto second = data->loadPireps();
    QVERIFY(second.isReady()); // returned at once, without waiting for the first
    await(std::move(first));
    QCOMPARE(service().requestsTo("/api/pireps").size(), 1);
    QCOMPARE(data->pireps().size(), 1);
    QCOMPARE(data->state(MemberLoad::Pireps), (LoadState{.loading = false, .loaded = true}));
}

void MemberDataTest::reloadStartsEveryLoad_data()
{
    QTest::addColumn<Kind>("load");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("inbox") << MemberLoad::Inbox << QStringList{"/api/notifications"};
    QTest::newRow("pireps") << MemberLoad::Pireps << QStringList{"/api/pireps"};
    // A retry asks for the member's own answers too.
    QTest::newRow("events") << MemberLoad::Events
                            << QStringList{"/api/events/upcoming", "/api/member/event-responses"};
    QTest::newRow("leaderboard") << MemberLoad::Leaderboard << QStringList{"/api/member/pirep-leaderboard"};
    QTest::newRow("routes") << MemberLoad::Routes << QStringList{"/api/member/routes"};
    QTest::newRow("latest") << MemberLoad::Latest
                            << QStringList{"/api/infinite-flight/live", "/api/infinite-flight/me/flights"};
}

void MemberDataTest::reloadStartsEveryLoad()
{
    QFETCH(Kind, load);
    QFETCH(QStringList, paths);
    const auto data = store();
    QSignalSpy changes(data.get(), &MemberData::loadStateChanged);
    data->reload(load);
    QVERIFY(data->state(load).loading);
    QTRY_VERIFY(!data->state(load).loading);
    QStringList sent;
    for (const Request &request : service().requests())
        sent << request.path;
    QCOMPARE(sent, paths);
    QVERIFY(data->state(load).loaded);
    QCOMPARE(changes.size(), 2);
}

void MemberDataTest::qmlFollowsTheLoads()
{
    QQmlEngine engine;
    engine.addImportPath("qrc:/qt/qml");
    QQmlComponent component(&engine);
    component.setData("import QtQml\nimport Vorna.State\n"
                      "QtObject {\n"
                      "    required property MemberData data\n"
                      "    readonly property string failure: data.loads.state(MemberLoad.Routes).failure\n"
                      "    readonly property bool loading: data.loads.state(MemberLoad.Routes).loading\n"
                      "    function retry() { data.reload(MemberLoad.Routes) }\n"
                      "}",
                      QUrl());
    const auto data = store();
    std::unique_ptr<QObject> view(
        component.createWithInitialProperties({{"data", QVariant::fromValue(data.get())}}));
    QVERIFY2(view, qPrintable(component.errorString()));

    service().setFault("/api/member/routes", {.status = 500, .times = 1});
    QMetaObject::invokeMethod(view.get(), "retry");
    QVERIFY(view->property("loading").toBool());
    QTRY_COMPARE(view->property("failure").toString(), QString("样例服务按要求返回 500。"));
    QVERIFY(!view->property("loading").toBool());

    QMetaObject::invokeMethod(view.get(), "retry");
    QCOMPARE(view->property("failure").toString(), QString());
    QTRY_VERIFY(data->state(MemberLoad::Routes).loaded);
    QCOMPARE(data->routes().size(), 1);
}

void MemberDataTest::dashboardLoadsRunTogether()
{
    const QStringList paths{"/api/notifications",   "/api/pireps",
                            "/api/events/upcoming", "/api/member/pirep-leaderboard",
                            "/api/member/routes",   "/api/infinite-flight/live"};
    for (const QString &path : paths)
        service().setFault(path, {.held = true, .times = 1});
    const auto data = store();
    auto dashboard = data->loadDashboard();
    // Every load started at once, none waiting for another.
    for (const Kind load : everyLoad)
        QVERIFY(data->state(load).loading);
    // They went out together: with no answer given yet, the service has one request of each, all but the
    // saved snapshot's, which waits for one of Qt's six connections to the host.
    QTRY_COMPARE(service().requests().size(), 6);
    QStringList arrived;
    for (const Request &request : service().requests())
        arrived << request.path;
    arrived.sort();
    QStringList expected = paths;
    expected.sort();
    QCOMPARE(arrived, expected);
    service().release();
    await(std::move(dashboard));
    QCOMPARE(service().requestsTo("/api/infinite-flight/live").size(), 2);
    for (const Kind load : everyLoad)
        QCOMPARE(data->state(load), (LoadState{.loading = false, .loaded = true}));
}

void MemberDataTest::failuresKeepTheData()
{
    const auto data = store();
    await(data->loadPireps());
    service().setFault("/api/pireps", {.status = 500, .times = 1});
    await(data->loadPireps());
    QCOMPARE(data->pireps().size(), 1);
    QCOMPARE(data->state(MemberLoad::Pireps),
             (LoadState{.loading = false, .loaded = true, .failure = "样例服务按要求返回 500。"}));

    // A new start removes the message before its answer comes.
    auto again = data->loadPireps();
    QCOMPARE(data->state(MemberLoad::Pireps), (LoadState{.loading = true, .loaded = true}));
    await(std::move(again));
    QVERIFY(failing(*data).isEmpty());

    // Without network: the transport's own description.
    QUrl closed = service().origin();
    closed.setPort(1);
    APIClient offline(closed, std::make_shared<MemorySessionStore>());
    MemberData unreachable(&offline);
    await(unreachable.loadRoutes());
    QVERIFY(!unreachable.state(MemberLoad::Routes).failureText().isEmpty());
    QVERIFY(!unreachable.state(MemberLoad::Routes).loaded);
}

void MemberDataTest::cancelledLoadsLeaveNoTrace()
{
    const auto data = store();
    service().setFault("/api/member/routes", {.held = true, .times = 1});
    auto loading = data->loadRoutes();
    QTRY_COMPARE(service().requestsTo("/api/member/routes").size(), 1);
    m_client->retire();
    await(std::move(loading));
    QCOMPARE(data->state(MemberLoad::Routes), LoadState{});

    // A store dropped with a load in flight is not written any more (a sanitizer run sees the difference).
    auto other = m_site->client();
    await(other->login("lichen", "fly-vornalia", false));
    auto dropped = std::make_unique<MemberData>(other.get());
    auto pending = dropped->loadPireps();
    dropped.reset();
    await(std::move(pending));

    // Regression: the latest-flight load took the cancelled live snapshot for a missing one and asked the
    // client that was going away for the recent flights.
    service().clearRequests();
    service().setFault("/api/infinite-flight/live", {.held = true, .times = 1});
    MemberData kept(other.get());
    auto latest = kept.loadLatestFlight();
    QTRY_COMPARE(service().requestsTo("/api/infinite-flight/live").size(), 1);
    other.reset();
    await(std::move(latest));
    service().release();
    QTest::qWait(100);
    QCOMPARE(service().requestsTo("/api/infinite-flight/me/flights").size(), 0);
    QCOMPARE(kept.state(MemberLoad::Latest), LoadState{});
}

void MemberDataTest::nullAnswersClear()
{
    const auto data = store();
    await(data->loadInbox());
    QVERIFY(data->inbox());
    serve("/api/notifications", QJsonValue::Null);
    serve("/api/member/pirep-leaderboard", QJsonValue::Null);
    await(data->loadInbox());
    await(data->loadLeaderboard());
    QVERIFY(!data->inbox());
    QVERIFY(!data->leaderboard());
    QVERIFY(data->state(MemberLoad::Inbox).loaded && data->state(MemberLoad::Leaderboard).loaded);

    serve("/api/pireps", QJsonObject{{"pireps", QJsonArray()}});
    await(data->loadPireps());
    QVERIFY(!data->summary()); // an answer without one clears it
}

void MemberDataTest::eventsAndTheMembersAnswers()
{
    const auto data = store();
    serve("/api/member/event-responses",
          QJsonObject{{"responses", QJsonArray{QJsonObject{{"eventId", "e-1"}, {"response", "interested"}},
                                               QJsonObject{{"eventId", "e-1"}, {"response", "attending"}},
                                               QJsonObject{{"eventId", "e-2"}, {"response", "declined"}}}}});
    await(data->loadEvents(true));
    QCOMPARE(data->events().size(), 2);
    QCOMPARE(data->attendance().value("e-1"), QString("attending")); // the later answer wins
    QCOMPARE(data->attendance().size(), 2);

    serve("/api/member/event-responses",
          QJsonObject{{"responses", QJsonArray{QJsonObject{{"eventId", "e-1"}, {"response", "declined"}}}}});
    await(data->loadEvents(true));
    QVERIFY(!data->attendance().contains("e-2")); // replaced as a whole

    // Not a member: one request, the answers left alone.
    service().clearRequests();
    await(data->loadEvents(false));
    QCOMPARE(service().requests().size(), 1);
    QCOMPARE(data->attendance().value("e-1"), QString("declined"));

    // The second request fails: the new events stay.
    serve("/api/events/upcoming", QJsonObject{{"events", QJsonArray{TestSupport::groupFlight("e-9")}}});
    service().setFault("/api/member/event-responses", {.status = 503, .times = 1});
    await(data->loadEvents(true));
    QCOMPARE(data->events().constFirst().id, QString("e-9"));
    QCOMPARE(failing(*data), QList{MemberLoad::Events});
    QCOMPARE(data->attendance().value("e-1"), QString("declined"));
}

void MemberDataTest::latestFlight_data()
{
    QTest::addColumn<QJsonValue>("snapshot");
    QTest::addColumn<QString>("expected"); // "live+plan", "live", "recent" or "none"
    QTest::addColumn<bool>("planAsked");
    QTest::addColumn<bool>("recentAsked");
    const QJsonObject own = liveFlight("f-own", sessionUuid, flightUuid);
    QTest::newRow("own flight with UUIDs")
        << QJsonValue(QJsonObject{{"flights", QJsonArray{own}}, {"ownFlight", own}}) << "live+plan" << true
        << false;
    QTest::newRow("session id not a UUID") << QJsonValue(
        QJsonObject{{"flights", QJsonArray()}, {"ownFlight", liveFlight("f", "abc", flightUuid)}})
                                           << "live" << false << false;
    QTest::newRow("flight id missing") << QJsonValue(
        QJsonObject{{"flights", QJsonArray()}, {"ownFlight", liveFlight("f", sessionUuid, QJsonValue::Null)}})
                                       << "live" << false << false;
    // Guards "$" matching before a final line feed: the id would reach the plan query.
    QTest::newRow("flight id with a trailing line feed") << QJsonValue(QJsonObject{
        {"flights", QJsonArray()}, {"ownFlight", liveFlight("f", sessionUuid, flightUuid + "\n")}})
                                                         << "live" << false << false;
    QTest::newRow("braced UUID is not the plain form") << QJsonValue(QJsonObject{
        {"flights", QJsonArray()}, {"ownFlight", liveFlight("f", "{" + sessionUuid + "}", flightUuid)}})
                                                       << "live" << false << false;
    QTest::newRow("no own flight") << QJsonValue(QJsonObject{{"flights", QJsonArray{own}}}) << "recent"
                                   << false << true;
    QTest::newRow("no snapshot") << QJsonValue(QJsonValue::Null) << "recent" << false << true;
}

void MemberDataTest::latestFlight()
{
    QFETCH(QJsonValue, snapshot);
    QFETCH(QString, expected);
    QFETCH(bool, planAsked);
    QFETCH(bool, recentAsked);
    serve("/api/infinite-flight/live", snapshot);
    QString planQuery;
    service().route("GET", "/api/live-map/plan", [&planQuery](Sample::Service &, const Request &request) {
        planQuery = request.query.toString();
        return json(QJsonObject{{"points", QJsonArray{QJsonObject{{"latitude", 1}, {"longitude", 2}}}}});
    });
    const auto data = store();
    await(data->loadLatestFlight());
    QVERIFY(data->state(MemberLoad::Latest).loaded);
    QCOMPARE(!service().requestsTo("/api/live-map/plan").isEmpty(), planAsked);
    QCOMPARE(!service().requestsTo("/api/infinite-flight/me/flights").isEmpty(), recentAsked);
    QCOMPARE(bool(data->liveMap()), !snapshot.isNull());
    QVERIFY(data->latestFlight());
    const LatestFlight &latest = *data->latestFlight();
    if (expected == "recent") {
        QCOMPARE(std::get<RecentFlight>(latest).id, QString("r-1"));
        return;
    }
    const auto &live = std::get<LiveLatestFlight>(latest);
    QCOMPARE(bool(live.plan), expected == "live+plan");
    if (planAsked)
        QCOMPARE(planQuery, "sessionId=" + sessionUuid + "&flightId=" + flightUuid); // as they stand
}

void MemberDataTest::latestFlightFailsOnlyOnRecentFlights()
{
    const auto data = store();
    service().setFault("/api/infinite-flight/live", {.status = 502, .times = 1});
    serve("/api/infinite-flight/me/flights", QJsonObject{{"flights", QJsonArray()}});
    await(data->loadLatestFlight());
    QVERIFY(!data->latestFlight());
    QCOMPARE(data->state(MemberLoad::Latest), (LoadState{.loading = false, .loaded = true}));

    service().setFault("/api/infinite-flight/live", {.status = 502, .times = 1});
    service().setFault("/api/infinite-flight/me/flights", {.status = 500, .times = 1});
    await(data->loadLatestFlight());
    QCOMPARE(data->state(MemberLoad::Latest).failure, std::optional<QString>("样例服务按要求返回 500。"));
    QCOMPARE(failing(*data), QList{MemberLoad::Latest});
}

void MemberDataTest::liveMapExpiresAfterAnHour()
{
    const auto data = store();
    QDateTime now = QDateTime::currentDateTimeUtc();
    data->setClock([&now] { return now; });
    data->setLiveMap(LiveResponse{});
    QCOMPARE(data->liveMapAt(), std::optional(now));
    const QDateTime stamped = now;

    now = stamped.addSecs(3600);
    data->dropExpiredLiveMap();
    QVERIFY(data->liveMap());
    now = stamped.addSecs(3601);
    data->dropExpiredLiveMap();
    QVERIFY(!data->liveMap());
    QVERIFY(!data->liveMapAt());
}

void MemberDataTest::savedMapOnlyWhileNoneIsCached()
{
    const auto data = store();
    serve("/api/infinite-flight/live", QJsonObject{{"flights", QJsonArray()}, {"status", "saved"}});
    await(data->loadSavedMap());
    QCOMPARE(service().requestsTo("/api/infinite-flight/live").constLast().query.toString(),
             QString("saved=1"));
    QCOMPARE(data->liveMap()->status, std::optional<QString>("saved"));
    service().clearRequests();
    await(data->loadSavedMap());
    QVERIFY(service().requests().isEmpty()); // a fresh snapshot is cached

    // A failure is silent.
    data->setLiveMap(std::nullopt);
    service().setFault("/api/infinite-flight/live", {.status = 500, .times = 1});
    await(data->loadSavedMap());
    QVERIFY(!data->liveMap());
    QVERIFY(failing(*data).isEmpty());
}

void MemberDataTest::markingNoticesRead()
{
    QList<QJsonValue> bodies;
    bool ok = true;
    service().route("POST", "/api/notifications/read", [&](Sample::Service &, const Request &request) {
        bodies.append(request.json());
        return json(QJsonObject{{"ok", ok}});
    });
    const auto data = store();
    QVERIFY(await(data->markInboxRead({"n-1", "n-2"}, false)));
    QVERIFY(await(data->markInboxRead({"n-3"}, true)));
    QCOMPARE(bodies.at(0), QJsonValue(QJsonObject{{"ids", QJsonArray{"n-1", "n-2"}}}));
    QCOMPARE(bodies.at(1), QJsonValue(QJsonObject{{"all", true}}));
    QCOMPARE(service().requestsTo("/api/notifications").size(), 2); // reloaded after each
    QVERIFY(data->state(MemberLoad::Inbox).loaded);

    // Regression: an explicit refusal used to count as done.
    ok = false;
    QVERIFY(!await(data->markInboxRead({"n-4"}, false)));
    const std::optional<QString> refusal = data->state(MemberLoad::Inbox).failure;
    QCOMPARE(refusal, std::optional<QString>("服务器未确认此次操作，请重试。"));
    QCOMPARE(service().requestsTo("/api/notifications").size(), 2);

    // A store whose client was retired while the write was on its way reports nothing.
    ok = true;
    service().setFault("/api/notifications/read", {.held = true, .times = 1});
    auto marking = data->markInboxRead({"n-5"}, false);
    QTRY_COMPARE(bodies.size(), 4);
    m_client->retire();
    QVERIFY(!await(std::move(marking)));
    QCOMPARE(data->state(MemberLoad::Inbox).failure, refusal);
    QCOMPARE(service().requestsTo("/api/notifications").size(), 2);
}

void MemberDataTest::answeringAnEvent()
{
    QJsonObject answer{{"ok", true}};
    QJsonValue sent;
    service().route("POST", "/api/member/event-responses", [&](Sample::Service &, const Request &request) {
        sent = request.json();
        return json(answer);
    });
    const auto data = store();
    const FlightEvent e = FlightEvent::fromJson(TestSupport::groupFlight("e-1"));
    await(data->respond(e, AttendanceChoice::Interested));
    QCOMPARE(sent, QJsonValue(QJsonObject{{"eventId", "e-1"}, {"response", "interested"}}));
    QCOMPARE(data->attendance().value("e-1"), QString("interested"));

    // Regression: a refusal in the answer must reach the buttons so they roll back.
    answer = QJsonObject{{"ok", false}};
    QVERIFY(thrown<APIError>([&] { await(data->respond(e, AttendanceChoice::Declined)); }));
    QCOMPARE(data->attendance().value("e-1"), QString("interested"));
    service().setFault("/api/member/event-responses", {.status = 500, .times = 1});
    QCOMPARE(thrown<APIError>([&] { await(data->respond(e, AttendanceChoice::Attending)); })->status(), 500);
    QCOMPARE(data->attendance().value("e-1"), QString("interested"));
    QVERIFY(failing(*data).isEmpty()); // a write records no failure
}

QTEST_GUILESS_MAIN(MemberDataTest)
#include "tst_member_data.moc"
