// The request road of the member client, against the sample member service over real HTTPS.
#include "ClientLog.h"
#include "ClientTestSupport.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"
#include "LiveScheduleRecords.h"
#include "ServiceHosts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSslKey>
#include <QSslServer>

using namespace TestSupport;
using Sample::Reply;
using Sample::Request;

namespace {

// Reads an answer that the service may send as null the way its callers do: true for no record.
using OptionalRead = std::function<bool(APIClient &, APIRequest)>;

template <typename T>
OptionalRead optionalRead()
{
    return [](APIClient &client, APIRequest request) {
        return !await(client.decodeOptional<T>(std::move(request))).has_value();
    };
}

// Every record the service may send as null, and the live map's reading on the thread pool.
const QList<std::pair<const char *, OptionalRead>> &optionalAnswers()
{
    static const QList<std::pair<const char *, OptionalRead>> reads{
        {"ProfileSummary", optionalRead<ProfileSummary>()},
        {"MultiplierOptions", optionalRead<MultiplierOptions>()},
        {"SiteInbox", optionalRead<SiteInbox>()},
        {"LeaderboardResponse", optionalRead<LeaderboardResponse>()},
        {"IFStatistics", optionalRead<IFStatistics>()},
        {"AircraftNames", optionalRead<AircraftNames>()},
        {"LiveResponse", optionalRead<LiveResponse>()},
        {"PlanResponse", optionalRead<PlanResponse>()},
        {"LiveBoard", optionalRead<LiveBoard>()},
        {"LiveFleetPositions", optionalRead<LiveFleetPositions>()},
        {"LiveRoutes", optionalRead<LiveRoutes>()},
        {"LiveResponse in the background",
         [](APIClient &client, APIRequest request) {
             return !await(client.decodeOptionalInBackground<LiveResponse>(std::move(request))).has_value();
         }},
    };
    return reads;
}

} // namespace

class APIClientTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pathsStayOnTheMemberSite_data();
    void pathsStayOnTheMemberSite();
    void sameOriginComparesSchemeHostPortAndUser_data();
    void sameOriginComparesSchemeHostPortAndUser();
    void valuesInPathsAndQueriesAreEncoded();
    void tablePathsHoldEachValueInItsPlace_data();
    void tablePathsHoldEachValueInItsPlace();
    void originHeaderOnlyOnPost();
    void eachVerbsHelperSendsItsBodyOrCancels();
    void refusalsCarryTheServiceMessageOrTheStatus();
    void unauthorizedForgetsTheSessionExceptAtLogin();
    void restrictedTellsTheAccountState();
    void answersAfterASessionChangeAreCancelled();
    void decodingIsStrict();
    void onlyJsonNullIsNoRecord_data();
    void onlyJsonNullIsNoRecord();
    void redirectsAreFollowedOnlyOnTheSite();
    void redirectsKeepOrChangeTheMethod_data();
    void redirectsKeepOrChangeTheMethod();
    void slowAndOversizeAnswers();
    void wholeExchangeTimeCountsEveryRedirect();
    void cutShortAnswerIsATransportFailure();
    void askingAgainDuringTeardownIsRefused();
    void compressedAnswersAreRead();
    void connectionFailuresInTheMembersWords();
    void signInRemembersOnlyWhenAsked();
    void signInRefusals();
    void requestsAreLoggedWithoutSecrets();
    void signOutNeedsConfirmation();
    void gateOutcomes_data();
    void gateOutcomes();
    void picturesNeedAnImageType();
    void liveCallbackChecksAndReplays_data();
    void liveCallbackChecksAndReplays();
    void liveCallbackNeedsA303();
    void withoutExtraRootsTheSystemStoreIsTrusted();

private:
    std::unique_ptr<Site> m_site;
    Sample::Service &service() { return *m_site->service; }
};

void APIClientTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void APIClientTest::cleanup() { m_site.reset(); }

void APIClientTest::pathsStayOnTheMemberSite_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("api path") << "/api/me" << true;
    QTest::newRow("with query") << "/api/pireps/multiplier-options?departure=ZBAA&arrival=ZSPD" << true;
    QTest::newRow("no leading slash") << "api/me" << false;
    QTest::newRow("two slashes") << "//evil.example/api/me" << false;
    QTest::newRow("full address") << "https://evil.example/api/me" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dots inside a segment") << "/api/pireps/p.1../evidence" << true;
    QTest::newRow("three dots") << "/api/pireps/.../evidence" << true;
    // Regression: a report id "." or ".." was resolved away and the request reached another endpoint.
    QTest::newRow("dot segment") << "/api/admin/pireps/./review" << false;
    QTest::newRow("dot-dot segment") << "/api/pireps/../evidence" << false;
    QTest::newRow("encoded dot-dot segment") << "/api/pireps/%2E%2e/evidence" << false;
    QTest::newRow("half-encoded dot-dot") << "/api/pireps/.%2E/evidence" << false;
    QTest::newRow("dot segment at the end") << "/api/pireps/." << false;
}

void APIClientTest::pathsStayOnTheMemberSite()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    const auto client = m_site->client();
    const auto error = thrown<APIError>([&] { client->makeRequest(path, "GET"); });
    if (accepted) {
        QVERIFY(!error);
        const QUrl url = client->makeRequest(path, "GET").request.url();
        QCOMPARE(url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery), service().origin());
        QCOMPARE(url.path(), path.section('?', 0, 0));
        return;
    }
    QVERIFY(error);
    QCOMPARE(*error, APIError(400, "无效的接口地址。"));
}

void APIClientTest::sameOriginComparesSchemeHostPortAndUser_data()
{
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<QString>("origin");
    QTest::addColumn<bool>("same");
    QTest::newRow("same") << "https://vornalia.org/api/me"
                          << "https://vornalia.org" << true;
    QTest::newRow("explicit default port") << "https://vornalia.org:443/api"
                                           << "https://vornalia.org" << false;
    QTest::newRow("other port") << "https://vornalia.org:8443/"
                                << "https://vornalia.org:443" << false;
    QTest::newRow("other scheme") << "http://vornalia.org/"
                                  << "https://vornalia.org" << false;
    QTest::newRow("other host") << "https://www.vornalia.org/"
                                << "https://vornalia.org" << false;
    QTest::newRow("user name") << "https://someone@vornalia.org/"
                               << "https://vornalia.org" << false;
    QTest::newRow("password") << "https://:secret@vornalia.org/"
                              << "https://vornalia.org" << false;
}

void APIClientTest::sameOriginComparesSchemeHostPortAndUser()
{
    QFETCH(QString, candidate);
    QFETCH(QString, origin);
    QFETCH(bool, same);
    QCOMPARE(APIClient::sameOrigin(QUrl(candidate), QUrl(origin)), same);
}

void APIClientTest::valuesInPathsAndQueriesAreEncoded()
{
    // Plain ids the service gave stay as they are.
    QCOMPARE(APIPath::encoded("p-1024_a.b~c"), QString("p-1024_a.b~c"));
    // Nothing can add or cut a parameter, or leave its path segment.
    QCOMPARE(APIPath::encoded("Z B&x=1+2#f?g/h"), QString("Z%20B%26x%3D1%2B2%23f%3Fg%2Fh"));

    service().route("GET", "/api/pireps/multiplier-options", [](Sample::Service &, const Request &request) {
        return Reply::json(
            QJsonObject{{"departure", request.query.queryItemValue("departure", QUrl::FullyDecoded)},
                        {"items", int(request.query.queryItems().size())}});
    });
    const auto client = m_site->client();
    const QString path = "/api/pireps/multiplier-options?departure=" + APIPath::encoded("ZB AA&arrival=X")
                         + "&arrival=" + APIPath::encoded("ZSPD");
    const HTTPAnswer answer = await(client->perform(client->makeRequest(path, "GET")));
    const QJsonObject echoed = QJsonDocument::fromJson(answer.body).object();
    QCOMPARE(echoed.value("departure").toString(), QString("ZB AA&arrival=X"));
    QCOMPARE(echoed.value("items").toInt(), 2);
}

void APIClientTest::tablePathsHoldEachValueInItsPlace_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("report id as given")
        << APIPath::evidence("p-1024_a.b~c") << "/api/pireps/p-1024_a.b~c/evidence";
    QTest::newRow("report id with a slash and a query")
        << APIPath::evidence("p/1?x=2") << "/api/pireps/p%2F1%3Fx%3D2/evidence";
    QTest::newRow("history") << APIPath::reviewHistory("p 7") << "/api/admin/pireps/p%207/history";
    QTest::newRow("action") << APIPath::reviewAction("p#7", "hold") << "/api/admin/pireps/p%237/hold";
    QTest::newRow("route codes") << APIPath::multiplierOptions(
        "ZB AA&arrival=X",
        "ZSPD") << "/api/pireps/multiplier-options?departure=ZB%20AA%26arrival%3DX&arrival=ZSPD";
    QTest::newRow("arrival code")
        << APIPath::multiplierOptions("ZSPD", "ZB AA&departure=X#")
        << "/api/pireps/multiplier-options?departure=ZSPD&arrival=ZB%20AA%26departure%3DX%23";
    QTest::newRow("event id") << APIPath::staffEventResponses("ev-1&eventId=ev-2")
                              << "/api/admin/event-responses?eventId=ev-1%26eventId%3Dev-2";
    QTest::newRow("plan ids") << APIPath::livePlan("0b7c-AF", "1&x=2")
                              << "/api/live-map/plan?sessionId=0b7c-AF&flightId=1%26x%3D2";
    QTest::newRow("applications page")
        << APIPath::liveApplications(12) << "/api/live-schedules/applications?page=12";
    QTest::newRow("decision") << APIPath::liveDecision("application-approve")
                              << "/api/live-schedules/application-approve";
}

void APIClientTest::tablePathsHoldEachValueInItsPlace()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(path, expected);
    // The client sends each as it stands.
    const auto client = m_site->client();
    QCOMPARE(client->makeRequest(path, "GET").request.url().toString(QUrl::FullyEncoded),
             service().origin().toString() + expected);
}

void APIClientTest::originHeaderOnlyOnPost()
{
    const auto client = m_site->client();
    const QByteArray origin = service().origin().toString().toUtf8();
    for (const QByteArray method : {"GET", "HEAD"}) {
        const APIRequest request = client->makeRequest("/api/me", method);
        QCOMPARE(request.request.rawHeader("Accept"), QByteArray("application/json"));
        QVERIFY(!request.request.hasRawHeader("Origin"));
    }
    const APIRequest lower = client->makeRequest("/api/me", "post");
    QCOMPARE(lower.method, QByteArray("post"));
    QVERIFY(!lower.request.hasRawHeader("Origin"));

    APIRequest post = client->makeRequest("/api/logout", "POST");
    post.setJsonBody(QJsonObject());
    QCOMPARE(post.request.rawHeader("Origin"), origin);
    await(client->perform(post));
    const Request sent = service().requestsTo("/api/logout").constLast();
    QCOMPARE(sent.header("Origin"), origin);
    QCOMPARE(sent.header("Accept"), QByteArray("application/json"));
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/json"));
    QCOMPARE(sent.body, QByteArray("{}"));

    await(client->perform(client->makeRequest("/login", "GET")));
    QVERIFY(service().requestsTo("/login").constLast().header("Origin").isEmpty());
}

void APIClientTest::eachVerbsHelperSendsItsBodyOrCancels()
{
    // A screen whose client has gone asks nothing: it ends cancelled, whatever the verb.
    QVERIFY(thrown<CancellationError>([] { await(APIClient::get<UserResponse>(nullptr, "/api/me")); }));
    QVERIFY(thrown<CancellationError>(
        [] { await(APIClient::post<Acknowledgement>(nullptr, "/api/logout", QJsonObject())); }));
    QVERIFY(thrown<CancellationError>(
        [] { await(APIClient::postForm<Acknowledgement>(nullptr, "/api/pireps", {}, {}, "files")); }));
    QVERIFY(service().requestsTo("/api/me").isEmpty());

    for (const QString path : {"/api/json-write", "/api/form-write"}) {
        service().route("POST", path, [](Sample::Service &, const Request &) {
            return Reply::json(QJsonObject{{"ok", true}});
        });
    }
    const auto client = m_site->client();
    const Acknowledgement written =
        await(APIClient::post<Acknowledgement>(client.get(), "/api/json-write", QJsonObject{{"hold", true}}));
    QCOMPARE(written.ok, std::optional<bool>(true));
    const Request json = service().requestsTo("/api/json-write").value(0);
    QCOMPARE(json.body, QByteArray(R"({"hold":true})"));
    QCOMPARE(json.header("Content-Type"), QByteArray("application/json"));
    QCOMPARE(json.header("Origin"), service().origin().toString().toUtf8());

    await(APIClient::postForm<Acknowledgement>(client.get(), "/api/form-write", {{"note", "held"}}, {},
                                               "files"));
    const Request form = service().requestsTo("/api/form-write").value(0);
    QVERIFY(form.header("Content-Type").startsWith("multipart/form-data; boundary=VORNA-"));
    QVERIFY(form.body.contains("Content-Disposition: form-data; name=\"note\"\r\n\r\nheld\r\n"));
    QCOMPARE(form.header("Origin"), service().origin().toString().toUtf8());
}

void APIClientTest::refusalsCarryTheServiceMessageOrTheStatus()
{
    const auto client = m_site->client();
    auto failure = [&](const QString &path) {
        return thrown<APIError>([&] { await(client->perform(client->makeRequest(path, "GET"))); });
    };
    QCOMPARE(failure("/api/nothing"), APIError(404, "未找到该资源。"));

    service().setFault("/api/x",
                       {.status = 500, .html = QByteArray("<html><body>Server Error</body></html>")});
    QCOMPARE(failure("/api/x"), APIError(500, "请求未完成（500），请稍后重试。"));

    service().route("GET", "/api/null-message", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"message", QJsonValue::Null}, {"error", "x"}}, 409);
    });
    QCOMPARE(failure("/api/null-message"), APIError(409, "请求未完成（409），请稍后重试。"));
    service().route("GET", "/api/empty-message", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"message", ""}}, 422);
    });
    QCOMPARE(failure("/api/empty-message"), APIError(422, ""));

    qputenv("LANGUAGE", "en_US");
    QCOMPARE(failure("/api/x")->message(), L("请求未完成（%@），请稍后重试。", 500));
    QVERIFY(failure("/api/x")->message().contains("500"));
    QVERIFY(!failure("/api/x")->message().contains("请求"));
}

void APIClientTest::unauthorizedForgetsTheSessionExceptAtLogin()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const auto client = m_site->client(store);
    QStringList events;
    client->onUnauthorized = [&] {
        events << "unauthorized";
        QVERIFY(!store->data()); // forgotten before we are told
    };

    // A refused password is the service's answer to the sign-in, not an expired session.
    const auto refused = thrown<APIError>([&] { await(client->login("lichen", "wrong", false)); });
    QCOMPARE(refused, APIError(401, "用户名或密码错误。"));
    QVERIFY(events.isEmpty());

    await(client->login("lichen", "fly-vornalia", true));
    QVERIFY(store->data());
    const quint64 generation = client->generation();
    service().expireSessions();
    const auto expired = thrown<APIError>([&] {
        try {
            await(client->decode<UserResponse>(client->makeRequest("/api/me", "GET")));
        } catch (const APIError &) {
            events << "error";
            throw;
        }
    });
    QCOMPARE(expired, APIError(401, "请先登录。"));
    QCOMPARE(events, (QStringList{"unauthorized", "error"}));
    QVERIFY(client->generation() > generation);
    QVERIFY(!client->remembersSession());
    QVERIFY(!store->data());
    QVERIFY(client->accountSessionData() == "[]");
}

void APIClientTest::restrictedTellsTheAccountState()
{
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    int restricted = 0;
    client->onRestricted = [&] { ++restricted; };
    service().setFault("/api/me", {.status = 403, .times = 1});
    const auto error =
        thrown<APIError>([&] { await(client->perform(client->makeRequest("/api/me", "GET"))); });
    QVERIFY(error && error->status() == 403);
    QCOMPARE(restricted, 1);
    // The session is kept: 403 is about the role, not the session.
    QVERIFY(await(client->decode<UserResponse>(client->makeRequest("/api/me", "GET"))).user.id == "u-1001");
}

void APIClientTest::answersAfterASessionChangeAreCancelled()
{
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));

    auto slowMe = [&](auto interrupt) {
        service().setFault("/api/me", {.bodyDelayMs = 400, .times = 1});
        QTimer::singleShot(100, client.get(), interrupt);
        return thrown<CancellationError>(
            [&] { await(client->perform(client->makeRequest("/api/me", "GET"))); });
    };
    QVERIFY(slowMe([&] { await(client->forgetSession()); }));
    await(client->login("lichen", "fly-vornalia", false));
    QVERIFY(slowMe([&] { client->retire(); }));
    // A retired client sends nothing more.
    const int sent = service().requests().size();
    QVERIFY(
        thrown<CancellationError>([&] { await(client->perform(client->makeRequest("/api/me", "GET"))); }));
    QCOMPARE(service().requests().size(), sent);

    // A client that goes away with a request in flight ends it as cancelled, without touching itself.
    auto doomed = m_site->client();
    service().setFault("/api/login", {.bodyDelayMs = 400, .times = 1});
    QTimer::singleShot(100, [&] { doomed.reset(); });
    QVERIFY(thrown<CancellationError>([&] { await(doomed->login("lichen", "fly-vornalia", false)); }));
}

void APIClientTest::decodingIsStrict()
{
    const auto client = m_site->client();
    service().route("GET", "/api/null",
                    [](Sample::Service &, const Request &) { return Reply::json(QJsonValue::Null); });
    service().route("GET", "/api/empty",
                    [](Sample::Service &, const Request &) { return Reply::bytes({}, "application/json"); });
    service().route("GET", "/api/user-snake", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"user", QJsonObject{{"id", "u-9"},
                                                            {"user_name", "x"},
                                                            {"username", "snake"},
                                                            {"role", "member"},
                                                            {"unknown_key", 1}}}});
    });
    service().route("GET", "/api/user-wrong-type", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"user", QJsonObject{{"id", "u-9"}, {"username", "x"}, {"role", 5}}}});
    });
    auto request = [&](const char *path) { return client->makeRequest(path, "GET"); };
    const APIError unreadable(502, "服务器数据格式暂时无法识别，请刷新后重试。");

    QVERIFY(!await(client->decodeOptional<ProfileSummary>(request("/api/null"))));
    QCOMPARE(thrown<APIError>([&] { await(client->decode<UserResponse>(request("/api/null"))); }),
             unreadable);
    QCOMPARE(thrown<APIError>([&] { await(client->decodeOptional<ProfileSummary>(request("/api/empty"))); }),
             unreadable);
    QCOMPARE(thrown<APIError>([&] { await(client->decode<UserResponse>(request("/api/user-wrong-type"))); }),
             unreadable);
    QCOMPARE(await(client->decode<UserResponse>(request("/api/user-snake"))).user.username, QString("snake"));
}

void APIClientTest::onlyJsonNullIsNoRecord_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("noRecord");
    QTest::newRow("null") << QByteArray("null") << true;
    QTest::newRow("JSON white space around") << QByteArray(" \t\r\nnull\r\n\t ") << true;
    // Regression: these were trimmed as white space, so a body that is no JSON read as no record.
    QTest::newRow("form feed after") << QByteArray("null\f") << false;
    QTest::newRow("vertical tab before") << QByteArray("\vnull") << false;
    QTest::newRow("no-break space after") << QByteArray("null\xc2\xa0") << false;
    QTest::newRow("null in a list") << QByteArray("[null]") << false;
}

void APIClientTest::onlyJsonNullIsNoRecord()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, noRecord);
    service().route("GET", "/api/answer", [body](Sample::Service &, const Request &) {
        return Reply::bytes(body, "application/json");
    });
    const auto client = m_site->client();
    for (const auto &[record, readsNone] : optionalAnswers()) {
        bool none = false;
        const auto error =
            thrown<APIError>([&] { none = readsNone(*client, client->makeRequest("/api/answer", "GET")); });
        if (noRecord)
            QVERIFY2(!error && none, record);
        else
            QVERIFY2(error == APIError(502, "服务器数据格式暂时无法识别，请刷新后重试。"), record);
    }
}

void APIClientTest::redirectsAreFollowedOnlyOnTheSite()
{
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    service().route("GET", "/api/moved",
                    [](Sample::Service &, const Request &) { return Reply::redirect("/api/me"); });
    const UserResponse me = await(client->decode<UserResponse>(client->makeRequest("/api/moved", "GET")));
    QCOMPARE(me.user.username, QString("lichen"));
    // The session cookie went along to the new place.
    QVERIFY(service().requestsTo("/api/me").constLast().cookies.contains(Sample::Service::sessionCookie));

    const QString elsewhere = "https://elsewhere.example/api/me";
    service().setFault("/api/me", {.redirect = QUrl(elsewhere)});
    const auto away =
        thrown<APIError>([&] { await(client->perform(client->makeRequest("/api/me", "GET"))); });
    QVERIFY(away);
    QCOMPARE(away->status(), 302);

    // The same host with a user name in the address is another origin too.
    QUrl withUser = service().origin();
    withUser.setUserName("intruder");
    withUser.setPath("/api/me");
    service().setFault("/api/me", {.redirect = withUser});
    QCOMPARE(
        thrown<APIError>([&] { await(client->perform(client->makeRequest("/api/me", "GET"))); })->status(),
        302);
    service().clearFaults();

    // A write sent on by a 303 arrives as a plain read, without its body.
    service().route("POST", "/api/moved",
                    [](Sample::Service &, const Request &) { return Reply::redirect("/api/me", 303); });
    APIRequest post = client->makeRequest("/api/moved", "POST");
    post.setJsonBody(QJsonObject{{"x", 1}});
    await(client->perform(post));
    const Request followed = service().requestsTo("/api/me").constLast();
    QCOMPARE(followed.method, QByteArray("GET"));
    QVERIFY(followed.body.isEmpty());
    QVERIFY(followed.header("Content-Type").isEmpty());

    // Sixteen redirects are followed; the seventeenth is a failure of the transport.
    service().route("GET", "/api/loop",
                    [](Sample::Service &, const Request &) { return Reply::redirect("/api/loop"); });
    const auto loop =
        thrown<TransportError>([&] { await(client->perform(client->makeRequest("/api/loop", "GET"))); });
    QVERIFY(loop);
    QCOMPARE(loop->code(), QNetworkReply::TooManyRedirectsError);
    QCOMPARE(loop->description(), QString("重定向次数过多。"));
    QCOMPARE(service().requestsTo("/api/loop").size(), 17);
}

void APIClientTest::redirectsKeepOrChangeTheMethod_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("followedWith");
    // 301 and 302 turn a write into a read, as browsers do; 307 and 308 repeat it with its body.
    QTest::newRow("301 after a write") << 301 << QByteArray("POST") << QByteArray("GET");
    QTest::newRow("302 after a write") << 302 << QByteArray("POST") << QByteArray("GET");
    QTest::newRow("307 after a write") << 307 << QByteArray("POST") << QByteArray("POST");
    QTest::newRow("308 after a write") << 308 << QByteArray("POST") << QByteArray("POST");
    QTest::newRow("301 after a read") << 301 << QByteArray("GET") << QByteArray("GET");
    QTest::newRow("307 after a read") << 307 << QByteArray("GET") << QByteArray("GET");
}

void APIClientTest::redirectsKeepOrChangeTheMethod()
{
    QFETCH(int, status);
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, followedWith);
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    service().route(method, "/api/moved", [status](Sample::Service &, const Request &) {
        return Reply::redirect("/api/target", status);
    });
    for (const QByteArray &verb : {QByteArray("GET"), QByteArray("POST")}) {
        service().route(verb, "/api/target", [](Sample::Service &, const Request &) {
            return Reply::json(QJsonObject{{"ok", true}});
        });
    }
    APIRequest request = client->makeRequest("/api/moved", method);
    if (method == "POST")
        request.setJsonBody(QJsonObject{{"ids", QJsonArray{"n-1"}}});
    await(client->perform(request));

    const Request followed = service().requestsTo("/api/target").constLast();
    QCOMPARE(followed.method, followedWith);
    if (followedWith == "POST") {
        QCOMPARE(followed.json().toObject(), (QJsonObject{{"ids", QJsonArray{"n-1"}}}));
        QCOMPARE(followed.header("Content-Type"), QByteArray("application/json"));
    } else {
        QVERIFY(followed.body.isEmpty());
    }
    // The session went along either way.
    QVERIFY(followed.cookies.contains(Sample::Service::sessionCookie));
}

void APIClientTest::slowAndOversizeAnswers()
{
    const auto client = m_site->client();
    // Waits without data and whole exchanges are limited from the start.
    QCOMPARE(client->idleTimeout(), std::chrono::milliseconds(30'000));
    QCOMPARE(client->totalTimeout(), std::chrono::milliseconds(60'000));

    // The limits below leave room for a loaded machine or a sanitizer build: a wait without data of 600 ms
    // against pieces 120 ms apart, a whole exchange of 30 s against about one second.
    client->setTimeouts(std::chrono::milliseconds(600), std::chrono::milliseconds(30'000));
    // A stalled answer is a time-out the user sees, not a silent cancellation.
    service().setFault("/api/profile", {.bodyDelayMs = 2000, .times = 1});
    const auto stalled =
        thrown<TransportError>([&] { await(client->perform(client->makeRequest("/api/profile", "GET"))); });
    QVERIFY(stalled);
    QCOMPARE(stalled->code(), QNetworkReply::TimeoutError);
    QVERIFY(!stalled->description().isEmpty());

    // An answer that keeps coming, a piece every 120 ms for about a second, is slow but never idle: the
    // wait without data does not end it.
    service().route("GET", "/api/slow", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"text", QString(400, QLatin1Char('x'))}});
    });
    service().setFault("/api/slow", {.trickleMs = 120, .times = 1});
    const HTTPAnswer whole = await(client->perform(client->makeRequest("/api/slow", "GET")));
    QCOMPARE(whole.status, 200);
    QCOMPARE(QJsonDocument::fromJson(whole.body)["text"].toString().size(), 400);

    client->setTimeouts(std::chrono::milliseconds(5000), std::chrono::milliseconds(300));
    service().setFault("/api/profile", {.bodyDelayMs = 2000, .times = 1});
    QCOMPARE(thrown<TransportError>([&] {
                 await(client->perform(client->makeRequest("/api/profile", "GET")));
             })->code(),
             QNetworkReply::TimeoutError);

    client->setTimeouts(std::chrono::milliseconds(30'000), std::chrono::milliseconds(60'000));
    constexpr qint64 limit = 32 * 1024 * 1024;
    const APIError unusable(502, "服务器响应无效。");
    service().setFault("/api/profile", {.oversize = limit + 1, .times = 1});
    QCOMPARE(thrown<APIError>([&] { await(client->perform(client->makeRequest("/api/profile", "GET"))); }),
             unusable);
    service().setFault("/api/profile", {.oversize = limit + 64 * 1024, .undeclaredLength = true, .times = 1});
    QCOMPARE(thrown<APIError>([&] { await(client->perform(client->makeRequest("/api/profile", "GET"))); }),
             unusable);

    // Exactly the limit is still read.
    service().setFault("/api/profile", {.oversize = limit, .times = 1});
    QCOMPARE(thrown<APIError>([&] {
                 await(client->perform(client->makeRequest("/api/profile", "GET")));
             })->status(),
             401);
}

// The time of a whole exchange runs from the first request to the last answer, across the redirects between:
// six hops of 400 ms each, every one well inside 1.5 s, are more than 1.5 s together.
void APIClientTest::wholeExchangeTimeCountsEveryRedirect()
{
    const auto client = m_site->client();
    client->setTimeouts(std::chrono::milliseconds(5000), std::chrono::milliseconds(1500));
    constexpr int hops = 6;
    for (int hop = 1; hop <= hops; ++hop) {
        const QString path = QStringLiteral("/api/hop/%1").arg(hop);
        service().route("GET", path, [hop](Sample::Service &, const Request &) {
            return hop < hops ? Reply::redirect(QStringLiteral("/api/hop/%1").arg(hop + 1))
                              : Reply::json(QJsonObject{{"ok", true}});
        });
        service().setFault(path, {.bodyDelayMs = 400});
    }
    const auto late =
        thrown<TransportError>([&] { await(client->perform(client->makeRequest("/api/hop/1", "GET"))); });
    QVERIFY(late);
    QCOMPARE(late->code(), QNetworkReply::TimeoutError);
    QVERIFY(service().requestsTo(QStringLiteral("/api/hop/%1").arg(hops)).isEmpty());
}

// Regression: an answer whose connection closed before its declared length came back as a complete 200.
void APIClientTest::cutShortAnswerIsATransportFailure()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const auto client = m_site->client(store);
    await(client->login("lichen", "fly-vornalia", false));
    service().setFault("/api/me", {.oversize = 400, .cutAfter = 8, .times = 1});
    const auto cut =
        thrown<TransportError>([&] { await(client->perform(client->makeRequest("/api/me", "GET"))); });
    QVERIFY(cut);
    QCOMPARE(cut->code(), QNetworkReply::RemoteHostClosedError);
    QCOMPARE(cut->description(), QString("连接在回答收完之前中断，请检查网络连接后重试。"));
    // The session is untouched: the next call is answered as usual.
    QCOMPARE(await(client->decode<UserResponse>(client->makeRequest("/api/me", "GET"))).user.username,
             QString("lichen"));
}

// Regression: a compressed answer cut short was unpacked as far as it went and taken as whole.
void APIClientTest::compressedAnswersAreRead()
{
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    await(client->perform(client->makeRequest("/api/me", "GET")));
    QCOMPARE(service().requestsTo("/api/me").constLast().header("Accept-Encoding"), QByteArray("identity"));

    // A service that compresses all the same gives an answer we cannot use, whole or cut short, and never
    // half an answer read as a whole one.
    const QByteArray json = QJsonDocument(QJsonObject{{"user", QJsonObject{{"id", "u-1001"},
                                                                           {"username", "lichen"},
                                                                           {"name", QString(400, u'李')},
                                                                           {"role", "member"}}}})
                                .toJson(QJsonDocument::Compact);
    const QByteArray deflated = qCompress(json).mid(4); // the zlib stream without Qt's length prefix
    service().setFault("/api/me",
                       {.rawJson = deflated, .headers = {{"Content-Encoding", "deflate"}}, .times = 1});
    const auto whole =
        thrown<APIError>([&] { await(client->decode<UserResponse>(client->makeRequest("/api/me", "GET"))); });
    QVERIFY(whole);
    QCOMPARE(whole->status(), 502);
    service().setFault("/api/me", {.cutAfter = deflated.size() / 2,
                                   .rawJson = deflated,
                                   .headers = {{"Content-Encoding", "deflate"}},
                                   .times = 1});
    const auto cut =
        thrown<TransportError>([&] { await(client->perform(client->makeRequest("/api/me", "GET"))); });
    QVERIFY(cut);
    QCOMPARE(cut->code(), QNetworkReply::RemoteHostClosedError);
}

// Regression: a refused connection or a failed TLS handshake showed Qt's English text in every language.
void APIClientTest::connectionFailuresInTheMembersWords()
{
    // A port nothing listens on: the sample service's, once it has gone.
    const QUrl gone = service().origin();
    m_site.reset();
    APIClient refused(gone, std::make_shared<MemorySessionStore>(), {Sample::Service::certificate()});
    const auto noServer =
        thrown<TransportError>([&] { await(refused.perform(refused.makeRequest("/api/me", "GET"))); });
    QVERIFY(noServer);
    QCOMPARE(noServer->code(), QNetworkReply::ConnectionRefusedError);
    QCOMPARE(noServer->description(), QString("无法连接到服务器，请检查网络连接后重试。"));

    // A service whose certificate the client does not trust.
    m_site = std::make_unique<Site>();
    APIClient untrusting(service().origin(), std::make_shared<MemorySessionStore>());
    const auto tls =
        thrown<TransportError>([&] { await(untrusting.perform(untrusting.makeRequest("/api/me", "GET"))); });
    QVERIFY(tls);
    QCOMPARE(tls->code(), QNetworkReply::SslHandshakeFailedError);
    QCOMPARE(tls->description(), QString("无法建立安全连接，请检查系统时间和网络环境后重试。"));

    // The texts are the member's language's.
    qputenv("LANGUAGE", "en");
    QCOMPARE(TransportError::messageFor(QNetworkReply::ConnectionRefusedError),
             QString("Cannot reach the server. Check your network connection and try again."));
    QCOMPARE(TransportError::messageFor(QNetworkReply::ProxyNotFoundError),
             QString("The connection through the proxy failed. Check the proxy settings and try again."));
}

void APIClientTest::signInRemembersOnlyWhenAsked()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const auto client = m_site->client(store);
    QList<QByteArray> saved;
    client->onSessionSaved = [&](const QByteArray &bytes) { saved << bytes; };

    const User user = await(client->login("lichen", "fly-vornalia", false));
    QCOMPARE(user.id, QString("u-1001"));
    QCOMPARE(user.name, std::optional<QString>("李辰"));
    QVERIFY(!client->remembersSession());
    QVERIFY(!store->data());
    QVERIFY(saved.isEmpty());
    QCOMPARE(service().requestsTo("/api/login").constLast().json()["rememberMe"], QJsonValue(false));
    // Later answers do not write either.
    await(client->perform(client->makeRequest("/api/me", "GET")));
    QVERIFY(!store->data());

    await(client->login("wangfang", "fly-vornalia", true));
    QVERIFY(client->remembersSession());
    QVERIFY(store->data());
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.constFirst(), *store->data());
    QCOMPARE(service().requestsTo("/api/login").constLast().json()["rememberMe"], QJsonValue(true));
    const QJsonArray cookies = QJsonDocument::fromJson(*store->data()).array();
    QCOMPARE(cookies.size(), 1);
    QCOMPARE(cookies.at(0)["name"].toString(), QString(Sample::Service::sessionCookie));
    QCOMPARE(cookies.at(0)["secure"].toBool(), true);
}

void APIClientTest::signInRefusals()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const auto client = m_site->client(store);
    const auto refused = thrown<APIError>([&] { await(client->login("sunyue", "fly-vornalia", true)); });
    QCOMPARE(refused, APIError(403, "此账号当前不可使用成员中心。"));
    QVERIFY(!store->data());
    QCOMPARE(client->accountSessionData(), QByteArray("[]"));

    // An answer without "redirect" is not a sign-in, even with the right password.
    service().route("POST", "/api/login", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"ok", true}});
    });
    QCOMPARE(thrown<APIError>([&] { await(client->login("lichen", "fly-vornalia", true)); }),
             APIError(502, "服务器数据格式暂时无法识别，请刷新后重试。"));
}

namespace {

// What the client's category wrote while it was switched on.
QStringList logged;

void keepClientLines(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QByteArrayView(context.category) == "vorna.client")
        logged.append(message);
}

} // namespace

void APIClientTest::requestsAreLoggedWithoutSecrets()
{
    // Silent unless switched on for a fault in the field.
    QVERIFY(!lcClient().isDebugEnabled());
    QVERIFY(!lcClient().isInfoEnabled());

    logged.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("vorna.client=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepClientLines);
    const auto stop = [previous] {
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
    };
    auto stopOnFailure = qScopeGuard(stop);
    const auto client = m_site->client(std::make_shared<MemorySessionStore>());
    QVERIFY(thrown<APIError>([&] { await(client->login("lichen", "not-this-one-7", false)); }));
    await(client->login("lichen", "fly-vornalia", true));
    await(client->decode<UserResponse>(client->makeRequest("/api/me?include=roles", "GET")));
    stopOnFailure.dismiss();
    stop();

    const QString all = logged.join('\n');
    // Method, path, status and time of each exchange; the refusal as the error it became.
    static const QRegularExpression refused(R"(^POST /api/login 401 in \d+ ms$)");
    static const QRegularExpression accepted(R"(^POST /api/login 200 in \d+ ms$)");
    static const QRegularExpression me(R"(^GET /api/me 200 in \d+ ms$)");
    for (const QRegularExpression *line : {&refused, &accepted, &me})
        QVERIFY2(logged.indexOf(*line) >= 0, qPrintable(line->pattern() + " is not in:\n" + all));
    QVERIFY2(logged.contains("/api/login is refused (401)"), qPrintable(all));

    // No password, cookie, session, body or query.
    QByteArray session;
    for (const Request &request : service().requests())
        session = request.cookies.value(Sample::Service::sessionCookie, session);
    QVERIFY(!session.isEmpty());
    for (const QString &secret :
         {QStringLiteral("fly-vornalia"), QStringLiteral("not-this-one-7"), QString::fromLatin1(session),
          QStringLiteral("vornalia_session"), QStringLiteral("rememberMe"),
          QStringLiteral("用户名或密码错误"), QStringLiteral("include=roles")})
        QVERIFY2(!all.contains(secret), qPrintable(secret + " is in:\n" + all));
}

void APIClientTest::signOutNeedsConfirmation()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const auto client = m_site->client(store);
    await(client->login("lichen", "fly-vornalia", true));

    for (const QJsonObject &answer : {QJsonObject{{"ok", false}}, QJsonObject{}}) {
        service().route("POST", "/api/logout",
                        [answer](Sample::Service &, const Request &) { return Reply::json(answer); });
        QCOMPARE(thrown<APIError>([&] { await(client->logout()); }),
                 APIError(400, "退出登录未完成，请重试。"));
        QVERIFY(store->data());
        QVERIFY(client->remembersSession());
    }
    service().route("POST", "/api/logout", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"ok", true}});
    });
    await(client->logout());
    QVERIFY(!store->data());
    QVERIFY(!client->remembersSession());
    QCOMPARE(client->accountSessionData(), QByteArray("[]"));
}

void APIClientTest::gateOutcomes_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("profileRedirect"); // replaces the set-up redirect when given
    QTest::addColumn<int>("gate");                // -1: an error
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("pageFault"); // the gate page fails with this status; negative: "/login" does
    QTest::newRow("member") << "lichen"
                            << "fly-vornalia"
                            << "" << int(AccountGate::Ready) << 0 << 0;
    QTest::newRow("admin asks the staff page") << "wangfang"
                                               << "fly-vornalia"
                                               << "" << int(AccountGate::Ready) << 0 << 0;
    QTest::newRow("temporary password") << "zhouning"
                                        << "temporary-123"
                                        << "" << int(AccountGate::Password) << 0 << 0;
    QTest::newRow("profile set-up") << "xuhang"
                                    << "fly-vornalia"
                                    << "" << int(AccountGate::Profile) << 0 << 0;
    QTest::newRow("setup=1 after another setup")
        << "xuhang"
        << "fly-vornalia"
        << "/profile?setup=0&setup=1" << int(AccountGate::Profile) << 0 << 0;
    QTest::newRow("setup with another value") << "xuhang"
                                              << "fly-vornalia"
                                              << "/profile?setup=2" << int(AccountGate::Ready) << 0 << 0;
    QTest::newRow("profile without query") << "xuhang"
                                           << "fly-vornalia"
                                           << "/profile" << int(AccountGate::Ready) << 0 << 0;
    QTest::newRow("signed out") << ""
                                << ""
                                << "" << -1 << 401 << 0;
    // Sent on to "/login", which fails itself: still a session gone, whatever the sign-in page answers.
    QTest::newRow("signed out, the sign-in page failing") << ""
                                                          << ""
                                                          << "" << -1 << 401 << -500;
    QTest::newRow("signed out, the sign-in page missing") << ""
                                                          << ""
                                                          << "" << -1 << 401 << -404;
    QTest::newRow("the gate page failing") << "lichen"
                                           << "fly-vornalia"
                                           << "" << -1 << 500 << 500;
}

void APIClientTest::gateOutcomes()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(QString, profileRedirect);
    QFETCH(int, gate);
    QFETCH(int, status);
    QFETCH(int, pageFault);
    const auto client = m_site->client();
    User user{"u-0", "nobody", std::nullopt, "member"};
    if (!username.isEmpty())
        user = await(client->login(username, password, false));
    if (!profileRedirect.isEmpty()) {
        service().route("GET", "/member", [profileRedirect](Sample::Service &, const Request &) {
            return Reply::redirect(profileRedirect);
        });
    }
    if (pageFault > 0)
        service().setFault(user.role == "member" ? "/member" : "/admin", {.status = pageFault});
    else if (pageFault < 0)
        service().setFault("/login", {.status = -pageFault});
    if (gate >= 0) {
        QCOMPARE(int(await(client->accountGate(user))), gate);
        const QString page = user.role == "member" ? "/member" : "/admin";
        QCOMPARE(service().requestsTo(page).constLast().method, QByteArray("HEAD"));
        return;
    }
    QCOMPARE(thrown<APIError>([&] { await(client->accountGate(user)); }),
             APIError(status, status == 401 ? "会话已过期，请重新登录。" : "账号状态暂时不可用，请重试。"));
    if (pageFault < 0)
        QCOMPARE(service().requestsTo("/login").size(), 1);
}

void APIClientTest::picturesNeedAnImageType()
{
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    const QByteArray avatar = await(client->image("/api/profile/avatar"));
    QCOMPARE(avatar, Sample::Service::avatarPicture("u-1001"));
    QVERIFY(avatar.startsWith("\x89PNG"));

    QCOMPARE(thrown<APIError>([&] { await(client->image("/api/profile")); }),
             APIError(502, "图片格式无效。"));
    QCOMPARE(thrown<APIError>([&] { await(client->image("https://elsewhere.example/a.png")); }),
             APIError(400, "无效的接口地址。"));

    await(client->login("zhaolei", "fly-vornalia", false));
    QCOMPARE(thrown<APIError>([&] { await(client->image("/api/profile/avatar")); }),
             APIError(404, "尚未上传头像。"));
}

void APIClientTest::liveCallbackChecksAndReplays_data()
{
    QTest::addColumn<QString>("callback");
    QTest::addColumn<QString>("replayed"); // empty: refused before sending
    const QString host = ServiceHosts::secondHost;
    const QString path = "/api/live-schedules/authorization-callback";
    QTest::newRow("with query") << "https://" + host + path + "?code=a%2Bb&state=s1"
                                << path + "?code=a%2Bb&state=s1";
    QTest::newRow("member site host")
        << QString("https://") + ServiceHosts::memberHost + path + "?code=a&state=b"
        << "";
    QTest::newRow("http") << "http://" + host + path + "?code=a&state=b"
                          << "";
    QTest::newRow("explicit port") << "https://" + host + ":443" + path + "?code=a&state=b"
                                   << "";
    QTest::newRow("user name") << "https://me@" + host + path + "?code=a&state=b"
                               << "";
    QTest::newRow("further segment") << "https://" + host + path + "/more?code=a&state=b"
                                     << "";
}

void APIClientTest::liveCallbackChecksAndReplays()
{
    QFETCH(QString, callback);
    QFETCH(QString, replayed);
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    service().clearRequests();
    if (replayed.isEmpty()) {
        QCOMPARE(thrown<APIError>([&] { await(client->completeLiveAuthorization(QUrl(callback))); }),
                 APIError(400, "无效的授权回调。"));
        QVERIFY(service().requests().isEmpty());
        return;
    }
    await(client->completeLiveAuthorization(QUrl(callback)));
    const Request sent = service().requests().constLast();
    QCOMPARE(sent.path + '?' + sent.query.toString(QUrl::FullyEncoded), replayed);
    QVERIFY(sent.cookies.contains(Sample::Service::sessionCookie));
}

void APIClientTest::liveCallbackNeedsA303()
{
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    const QUrl callback(QString("https://") + ServiceHosts::secondHost
                        + "/api/live-schedules/authorization-callback");
    const APIError unfinished(400, "授权未完成，请重新连接。");
    // Without query: replayed without "?", and the service refuses it.
    QCOMPARE(thrown<APIError>([&] { await(client->completeLiveAuthorization(callback)); }), unfinished);
    QCOMPARE(service().requests().constLast().query.toString(), QString());

    // A 303 back onto the member site is followed, and the page at its end is no confirmation.
    service().route("GET", "/api/live-schedules/authorization-callback",
                    [](Sample::Service &, const Request &) { return Reply::redirect("/member", 303); });
    QUrl withQuery = callback;
    withQuery.setQuery("code=c&state=s");
    QCOMPARE(thrown<APIError>([&] { await(client->completeLiveAuthorization(withQuery)); }), unfinished);
    QCOMPARE(service().requests().constLast().path, QString("/member"));
}

// Regression: on a bare system (no CA store) the member site could not be verified; the client keeps the
// store.
void APIClientTest::withoutExtraRootsTheSystemStoreIsTrusted()
{
    const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    const auto root = std::find_if(system.begin(), system.end(), [](const QSslCertificate &c) {
        return c.publicKey().algorithm() == QSsl::Rsa;
    });
    QVERIFY2(root != system.end(), "the system has no CA store: Debian's ca-certificates is missing");

    // A loopback server shows a certificate naming that system root as its issuer, signed by a key of ours
    // instead. A client that trusts the store objects only to the signature; one that does not also finds
    // the root untrusted.
    QTemporaryDir dir;
    const auto path = [&](const char *name) { return dir.filePath(QLatin1String(name)); };
    QFile rootFile(path("root.pem"));
    QVERIFY(rootFile.open(QIODevice::WriteOnly) && rootFile.write(root->toPem()) > 0);
    rootFile.close();
    const auto openssl = [](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral("openssl"), arguments);
        return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit
               && process.exitCode() == 0;
    };
    QVERIFY(openssl({"genpkey", "-algorithm", "RSA", "-out", path("forger.key")}));
    QVERIFY(openssl(
        {"x509", "-in", path("root.pem"), "-signkey", path("forger.key"), "-out", path("forged.pem")}));
    QVERIFY(openssl({"req",
                     "-x509",
                     "-new",
                     "-newkey",
                     "ec",
                     "-pkeyopt",
                     "ec_paramgen_curve:P-256",
                     "-nodes",
                     "-subj",
                     "/CN=127.0.0.1",
                     "-days",
                     "2",
                     "-CA",
                     path("forged.pem"),
                     "-CAkey",
                     path("forger.key"),
                     "-keyout",
                     path("leaf.key"),
                     "-out",
                     path("leaf.pem")}));

    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate::fromPath(path("leaf.pem")).value(0));
    QFile key(path("leaf.key"));
    QVERIFY(key.open(QIODevice::ReadOnly));
    tls.setPrivateKey(QSslKey(&key, QSsl::Ec));
    QVERIFY(!tls.localCertificate().isNull() && !tls.privateKey().isNull());
    QSslServer server;
    server.setSslConfiguration(tls);
    QVERIFY(server.listen(QHostAddress::LocalHost));

    APIClient client(QUrl(QStringLiteral("https://127.0.0.1:%1").arg(server.serverPort())),
                     std::make_shared<MemorySessionStore>());
    auto *manager = client.findChild<QNetworkAccessManager *>();
    QVERIFY(manager);
    QList<QSslError::SslError> seen;
    connect(manager, &QNetworkAccessManager::sslErrors, this,
            [&](QNetworkReply *, const QList<QSslError> &errors) {
                for (const QSslError &error : errors)
                    seen.append(error.error());
            });
    const auto refused =
        thrown<TransportError>([&] { await(client.perform(client.makeRequest("/api/me", "GET"))); });
    QVERIFY(refused);
    QCOMPARE(refused->code(), QNetworkReply::SslHandshakeFailedError);
    // The forged signature is always found; the dates of the throw-away chain are not this test's business.
    QVERIFY(seen.contains(QSslError::CertificateSignatureFailed));
    for (const QSslError::SslError untrusted :
         {QSslError::UnableToGetIssuerCertificate, QSslError::UnableToGetLocalIssuerCertificate,
          QSslError::SelfSignedCertificateInChain, QSslError::CertificateUntrusted,
          QSslError::CertificateRejected})
        QVERIFY2(!seen.contains(untrusted), "the system's root was not trusted");
}

// Regression: a screen whose request was aborted by the client's teardown went on to its next request, on a
// client whose members were already destroyed (a use after free the sanitizer run caught on the Live page).
void APIClientTest::askingAgainDuringTeardownIsRefused()
{
    auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    service().setFault("/api/me", {.held = true});
    QPointer<APIClient> api = client.get();
    bool firstCancelled = false;
    bool secondRefused = false;
    // Named, so its captures outlive the coroutine's suspension.
    const auto follow = [&]() -> QCoro::Task<> {
        try {
            co_await api->perform(api->makeRequest("/api/me", "GET"));
        } catch (const CancellationError &) {
            firstCancelled = true;
        }
        // The owner of this coroutine is still there: it asks for the next thing, as a page's load does.
        try {
            co_await api->perform(api->makeRequest("/api/profile", "GET"));
        } catch (const CancellationError &) {
            secondRefused = true;
        }
    };
    auto following = follow();
    QTRY_COMPARE(service().requestsTo("/api/me").size(), 2); // the login's and the held one
    client.reset();
    QVERIFY(firstCancelled);
    QVERIFY(secondRefused);
    QVERIFY(service().requestsTo("/api/profile").isEmpty());
    service().release();
}

QTEST_GUILESS_MAIN(APIClientTest)
#include "tst_api_client.moc"
