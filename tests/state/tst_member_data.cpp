// The member's data store against the sample member service: the keyed-load protocol, what each load
// publishes, the live-map cache and the two writes.
#include "ClientTestSupport.h"
#include "MemberData.h"

#include <QElapsedTimer>
#include <QJsonArray>

using namespace TestSupport;
using Sample::Reply;
using Sample::Request;

namespace {

QJsonObject pirep(const QString &id, const QString &status)
{
    return {{"id", id},       {"departureCode", "ZBAA"}, {"arrivalCode", "ZSPD"}, {"aircraft", "Airbus A320"},
            {"livery", "Air China"}, {"durationMinutes", 125}, {"status", status}};
}

QJsonObject eventJson(const QString &id)
{
    return {{"id", id},
            {"departureCode", "ZGGG"},
            {"arrivalCode", "VHHH"},
            {"departureCity", "广州"},
            {"arrivalCity", "香港"},
            {"estimatedHours", 1},
            {"estimatedMinutes", 5},
            {"aircraft", "Airbus A330-300"},
            {"livery", "China Southern"},
            {"eventAtUtc", "2026-12-24T12:00:00Z"}};
}

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

} // namespace

class MemberDataTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void aRunningKeyIsNotStartedTwice();
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
    m_client = m_site->client();
    await(m_client->login("lichen", "fly-vornalia", false));
    service().clearRequests();
    serve("/api/notifications", QJsonObject{{"notifications", QJsonArray()}, {"unreadCount", 0}});
    serve("/api/pireps", QJsonObject{{"pireps", QJsonArray{pirep("p-1", "approved")}}, {"summary", QJsonObject{{"approvedCount", 1}}}});
    serve("/api/events/upcoming", QJsonObject{{"events", QJsonArray{eventJson("e-1"), eventJson("e-2")}}});
    serve("/api/member/event-responses", QJsonObject{{"responses", QJsonArray()}});
    serve("/api/member/pirep-leaderboard", QJsonObject{{"members", QJsonArray()}});
    serve("/api/member/routes", QJsonObject{{"routes", QJsonArray{QJsonObject{{"departure", "ZBAA"}, {"arrival", "ZSPD"}, {"flights", 3}}}}});
    serve("/api/infinite-flight/live", QJsonValue::Null);
    serve("/api/infinite-flight/me/flights", QJsonObject{{"flights", QJsonArray{QJsonObject{{"id", "r-1"}}, QJsonObject{{"id", "r-2"}}}}});
}

void MemberDataTest::cleanup()
{
    m_client.reset();
    m_site.reset();
}

void MemberDataTest::aRunningKeyIsNotStartedTwice()
{
    const auto data = store();
    service().setFault("/api/pireps", {.bodyDelayMs = 300, .times = 1});
    auto first = data->loadPireps();
    QVERIFY(data->isLoading("pireps"));
    auto second = data->loadPireps();
    QVERIFY(second.isReady()); // returned at once, without waiting for the first
    await(std::move(first));
    QCOMPARE(service().requestsTo("/api/pireps").size(), 1);
    QCOMPARE(data->pireps().size(), 1);
    QVERIFY(data->isLoaded("pireps") && !data->isLoading("pireps"));
}

void MemberDataTest::dashboardLoadsRunTogether()
{
    QElapsedTimer clock;
    clock.start();
    QHash<QString, qint64> arrived;
    const QStringList paths{"/api/notifications", "/api/pireps", "/api/events/upcoming", "/api/member/pirep-leaderboard",
                            "/api/member/routes", "/api/infinite-flight/live"};
    for (const QString &path : paths) {
        service().route("GET", path, [&arrived, &clock, path](Sample::Service &, const Request &request) {
            arrived.insert(path + (request.query.isEmpty() ? "" : "?saved"), clock.elapsed());
            if (path == "/api/notifications")
                return json(QJsonObject{{"notifications", QJsonArray()}, {"unreadCount", 0}});
            if (path == "/api/pireps")
                return json(QJsonObject{{"pireps", QJsonArray()}});
            if (path == "/api/events/upcoming")
                return json(QJsonObject{{"events", QJsonArray()}});
            if (path == "/api/member/routes")
                return json(QJsonObject{{"routes", QJsonArray()}});
            return json(QJsonValue::Null);
        });
        service().setFault(path, {.bodyDelayMs = 1000});
    }
    const auto data = store();
    auto dashboard = data->loadDashboard();
    // Every keyed load started at once, none waiting for another.
    QCOMPARE(data->loadingKeys(), (QStringList{"events", "inbox", "latest", "leaderboard", "pireps", "routes"}));
    await(std::move(dashboard));
    // They went out together: all but the one over Qt's six connections per host arrived before the
    // first answer came back.
    QCOMPARE(arrived.size(), 7);
    QList<qint64> times = arrived.values();
    std::sort(times.begin(), times.end());
    QVERIFY2(times.at(5) - times.at(0) < 900, qPrintable(QString::number(times.at(5) - times.at(0))));
    for (const char *key : {"inbox", "pireps", "events", "leaderboard", "routes", "latest"})
        QVERIFY2(data->isLoaded(key), key);
    QVERIFY(data->loadingKeys().isEmpty());
}

void MemberDataTest::failuresKeepTheData()
{
    const auto data = store();
    await(data->loadPireps());
    service().setFault("/api/pireps", {.status = 500, .times = 1});
    await(data->loadPireps());
    QCOMPARE(data->pireps().size(), 1);
    QVERIFY(data->isLoaded("pireps"));
    QCOMPARE(data->failure("pireps"), std::optional<QString>("样例服务按要求返回 500。"));

    // A new start removes the message before its answer comes.
    service().setFault("/api/pireps", {.bodyDelayMs = 300, .times = 1});
    auto again = data->loadPireps();
    QVERIFY(!data->failure("pireps"));
    QVERIFY(data->failureMessages().isEmpty());
    await(std::move(again));
    QVERIFY(!data->failure("pireps"));

    // Without network: the transport's own description.
    QUrl closed = service().origin();
    closed.setPort(1);
    APIClient offline(closed, std::make_shared<MemorySessionStore>());
    MemberData unreachable(&offline);
    await(unreachable.loadRoutes());
    QVERIFY(unreachable.failure("routes"));
    QVERIFY(!unreachable.isLoaded("routes"));
}

void MemberDataTest::cancelledLoadsLeaveNoTrace()
{
    const auto data = store();
    service().setFault("/api/member/routes", {.bodyDelayMs = 400, .times = 1});
    auto loading = data->loadRoutes();
    QTimer::singleShot(100, m_client.get(), [&] { m_client->retire(); });
    await(std::move(loading));
    QVERIFY(!data->failure("routes"));
    QVERIFY(!data->isLoaded("routes"));
    QVERIFY(!data->isLoading("routes"));

    // A store dropped with a load in flight is not written any more.
    auto other = m_site->client();
    await(other->login("lichen", "fly-vornalia", false));
    auto dropped = std::make_unique<MemberData>(other.get());
    service().setFault("/api/pireps", {.bodyDelayMs = 300, .times = 1});
    auto pending = dropped->loadPireps();
    dropped.reset();
    await(std::move(pending));
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
    QVERIFY(data->isLoaded("inbox") && data->isLoaded("leaderboard"));

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
    serve("/api/events/upcoming", QJsonObject{{"events", QJsonArray{eventJson("e-9")}}});
    service().setFault("/api/member/event-responses", {.status = 503, .times = 1});
    await(data->loadEvents(true));
    QCOMPARE(data->events().constFirst().id, QString("e-9"));
    QVERIFY(data->failure("events"));
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
        << QJsonValue(QJsonObject{{"flights", QJsonArray{own}}, {"ownFlight", own}}) << "live+plan" << true << false;
    QTest::newRow("session id not a UUID")
        << QJsonValue(QJsonObject{{"flights", QJsonArray()}, {"ownFlight", liveFlight("f", "abc", flightUuid)}})
        << "live" << false << false;
    QTest::newRow("flight id missing")
        << QJsonValue(QJsonObject{{"flights", QJsonArray()}, {"ownFlight", liveFlight("f", sessionUuid, QJsonValue::Null)}})
        << "live" << false << false;
    QTest::newRow("braced UUID is not the plain form")
        << QJsonValue(QJsonObject{{"flights", QJsonArray()}, {"ownFlight", liveFlight("f", "{" + sessionUuid + "}", flightUuid)}})
        << "live" << false << false;
    QTest::newRow("no own flight") << QJsonValue(QJsonObject{{"flights", QJsonArray{own}}}) << "recent" << false << true;
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
    QVERIFY(data->isLoaded("latest"));
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
    QVERIFY(data->isLoaded("latest"));
    QVERIFY(!data->failure("latest"));

    service().setFault("/api/infinite-flight/live", {.status = 502, .times = 1});
    service().setFault("/api/infinite-flight/me/flights", {.status = 500, .times = 1});
    await(data->loadLatestFlight());
    QCOMPARE(data->failure("latest"), std::optional<QString>("样例服务按要求返回 500。"));
    QCOMPARE(data->failureMessages().size(), 1);
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
    QCOMPARE(service().requestsTo("/api/infinite-flight/live").constLast().query.toString(), QString("saved=1"));
    QCOMPARE(data->liveMap()->status, std::optional<QString>("saved"));
    service().clearRequests();
    await(data->loadSavedMap());
    QVERIFY(service().requests().isEmpty()); // a fresh snapshot is cached

    // A failure is silent.
    data->setLiveMap(std::nullopt);
    service().setFault("/api/infinite-flight/live", {.status = 500, .times = 1});
    await(data->loadSavedMap());
    QVERIFY(!data->liveMap());
    QVERIFY(data->failureMessages().isEmpty());
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
    QVERIFY(data->isLoaded("inbox"));

    // Regression: an explicit refusal used to count as done.
    ok = false;
    QVERIFY(!await(data->markInboxRead({"n-4"}, false)));
    QVERIFY(data->failure("inbox"));
    QCOMPARE(service().requestsTo("/api/notifications").size(), 2);

    // A store whose client was retired reports nothing.
    ok = true;
    service().setFault("/api/notifications/read", {.bodyDelayMs = 300, .times = 1});
    auto marking = data->markInboxRead({"n-5"}, false);
    QTimer::singleShot(50, m_client.get(), [&] { m_client->retire(); });
    QVERIFY(!await(std::move(marking)));
    QCOMPARE(data->failure("inbox"), data->failure("inbox")); // unchanged from before
    QVERIFY(data->failure("inbox")->contains("确认"));
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
    const FlightEvent e = FlightEvent::fromJson(eventJson("e-1"));
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
    QVERIFY(data->failureMessages().isEmpty()); // a write records no failure
}

QTEST_GUILESS_MAIN(MemberDataTest)
#include "tst_member_data.moc"
