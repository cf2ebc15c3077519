// What the app's client does with the member endpoints of the sample service: every answer decodes into
// the app's records, the session goes along with every call, a report form and its screenshots arrive as
// built, the service's refusals reach the member unchanged, and no answer is served from a cache.
#include "ClientTestSupport.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"
#include "LiveScheduleRecords.h"

#include <QJsonArray>
#include <QSet>
#include <QUuid>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace TestSupport;

namespace {

QString passwordOf(const QString &username)
{
    return username == QLatin1String("zhouning") ? QStringLiteral("temporary-123")
                                                 : QStringLiteral("fly-vornalia");
}

template <typename T>
T get(APIClient &client, const QString &path)
{
    return await(client.decode<T>(client.makeRequest(path, "GET")));
}

// Whether the answer of a GET decodes as the record the app reads it as (absent counts where the record
// allows it).
template <typename T>
bool decodes(APIClient &client, const QString &path)
{
    try {
        if constexpr (T::optionalAnswer)
            await(client.decodeOptional<T>(client.makeRequest(path, "GET")));
        else
            await(client.decode<T>(client.makeRequest(path, "GET")));
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

Acknowledgement postForm(APIClient &client, const QString &path, const QMap<QString, QString> &fields,
                         const QList<Upload> &files)
{
    APIRequest request = client.makeRequest(path, "POST");
    request.setMultipartBody(MultipartBody::make(fields, files, QStringLiteral("files")));
    return await(client.decode<Acknowledgement>(std::move(request)));
}

Upload screenshot(const QString &seed)
{
    return {QUuid::createUuid(), Sample::Service::avatarPicture(seed), seed + QStringLiteral(".png"),
            QStringLiteral("image/png")};
}

// The report form's eleven fields for one of lichen's Infinite Flight flights (VHHH → ZGGG, 48 minutes).
QMap<QString, QString> reportFields()
{
    return {{"departureCode", "VHHH"},
            {"arrivalCode", "ZGGG"},
            {"aircraft", "Airbus A321"},
            {"livery", "China Southern"},
            {"flightCallsign", "B-207CA"},
            {"hours", "0"},
            {"minutes", "48"},
            {"landings", "1"},
            {"submitNote", ""},
            {"sourceFlightId", "a81f0d6e-52c3-4b97-8e0a-6f3d2c9b1e47"},
            {"multiplier", "1"}};
}

} // namespace

class MemberEndpointsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void answersDecodeForEveryAccount_data();
    void answersDecodeForEveryAccount();
    void everyCallCarriesTheSession();
    void reportFormAndScreenshotsArriveAsBuilt();
    void refusalsReachTheMemberUnchanged_data();
    void refusalsReachTheMemberUnchanged();
    void answersAreNeverCached();
    void liveDataFollowsTheLink();
    void routesOfTheRouteMapStates();
    void liveMapOfTheWorld();

private:
    // A client signed in as the given account. The other-role account cannot pass the app's sign-in, so
    // it signs in at the service directly.
    std::unique_ptr<APIClient> signedIn(const QString &username, User *user = nullptr)
    {
        auto client = m_site->client();
        if (username == QLatin1String("sunyue")) {
            APIRequest request = client->makeRequest("/api/login", "POST");
            request.setJsonBody({{"username", username}, {"password", passwordOf(username)}});
            await(client->decode<LoginResponse>(std::move(request)));
        } else {
            const User signedInUser = await(client->login(username, passwordOf(username), false));
            if (user)
                *user = signedInUser;
        }
        return client;
    }

    std::unique_ptr<Site> m_site;
};

void MemberEndpointsTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void MemberEndpointsTest::cleanup() { m_site.reset(); }

void MemberEndpointsTest::answersDecodeForEveryAccount_data()
{
    QTest::addColumn<QString>("username");
    QTest::newRow("member") << "lichen";
    QTest::newRow("admin") << "wangfang";
    QTest::newRow("developer") << "zhaolei";
    QTest::newRow("other role") << "sunyue";
    QTest::newRow("must change password") << "zhouning";
    QTest::newRow("profile to set up") << "xuhang";
}

void MemberEndpointsTest::answersDecodeForEveryAccount()
{
    QFETCH(QString, username);
    const auto client = signedIn(username);
    const QList<QPair<QString, std::function<bool(APIClient &, const QString &)>>> reads{
        {"/api/me", decodes<UserResponse>},
        {"/api/profile", decodes<ProfileResponse>},
        {"/api/profile/summary", decodes<ProfileSummary>},
        {"/api/notifications", decodes<SiteInbox>},
        {"/api/pireps", decodes<PirepResponse>},
        {"/api/pireps/multiplier-options?departure=ZBAA&arrival=ZSPD", decodes<MultiplierOptions>},
        {"/api/events/upcoming?window=claim", decodes<UpcomingResponse>},
        {"/api/member/event-responses", decodes<AttendanceResponse>},
        {"/api/member/pirep-leaderboard", decodes<LeaderboardResponse>},
        {"/api/member/pirep-leaderboard?period=recent", decodes<LeaderboardResponse>},
        {"/api/member/routes", decodes<RouteResponse>},
        {"/api/infinite-flight/live", decodes<LiveResponse>},
        {"/api/infinite-flight/live?saved=1", decodes<LiveResponse>},
        {"/api/infinite-flight/me/flights", decodes<RecentFlightsResponse>},
        {"/api/infinite-flight/me", decodes<IFStatistics>},
        {"/api/infinite-flight/aircraft", decodes<AircraftNames>},
        {"/api/live-schedules/authorization", decodes<LiveAuthorization>},
        {"/api/live-schedules", decodes<LiveBoard>},
        {"/api/live-schedules/applications?page=1", decodes<LiveApplications>},
        {"/api/live-schedules/flights", decodes<LiveFleetPositions>},
        {"/api/live-schedules/routes", decodes<LiveRoutes>},
    };
    for (const auto &[path, read] : reads)
        QVERIFY2(read(*client, path), qPrintable(path));
    for (const Pirep &report : get<PirepResponse>(*client, "/api/pireps").pireps) {
        const QString path = "/api/pireps/" + APIPath::encoded(report.id) + "/evidence";
        QVERIFY2(decodes<EvidenceResponse>(*client, path), qPrintable(path));
    }
}

void MemberEndpointsTest::everyCallCarriesTheSession()
{
    const QList<QPair<QByteArray, QString>> calls{
        {"GET", "/api/notifications"},
        {"POST", "/api/notifications/read"},
        {"GET", "/api/pireps"},
        {"POST", "/api/pireps"},
        {"GET", "/api/pireps/p-24421/evidence"},
        {"POST", "/api/pireps/p-24421/evidence"},
        {"GET", "/api/pireps/p-24421/evidence/img-3"},
        {"GET", "/api/pireps/multiplier-options?departure=ZBAA&arrival=ZSPD"},
        {"GET", "/api/events/upcoming?window=claim"},
        {"GET", "/api/member/event-responses"},
        {"POST", "/api/member/event-responses"},
        {"GET", "/api/admin/event-responses?eventId=ev-302"},
        {"GET", "/api/admin/pireps"},
        {"GET", "/api/admin/pireps/p-24421/history"},
        {"POST", "/api/admin/pireps/p-24421/multiplier"},
        {"GET", "/api/member/pirep-leaderboard"},
        {"GET", "/api/member/routes"},
        {"GET", "/api/infinite-flight/live"},
        {"GET", "/api/live-map/plan?sessionId=a&flightId=b"},
        {"GET", "/api/infinite-flight/me/flights"},
        {"GET", "/api/infinite-flight/me"},
        {"GET", "/api/infinite-flight/aircraft"},
        {"GET", "/api/profile/summary"},
        {"POST", "/api/account/password"},
        {"POST", "/api/profile"},
    };
    Sample::Service &service = *m_site->service;
    const auto sendAll = [&](APIClient &client) {
        QList<std::optional<APIError>> errors;
        for (const auto &[method, path] : calls) {
            APIRequest request = client.makeRequest(path, method);
            if (method == "POST")
                request.setJsonBody({});
            errors.append(thrown<APIError>([&] { await(client.perform(std::move(request))); }));
        }
        return errors;
    };

    // Signed out: no session goes along, and each refusal reaches the member with the service's words.
    const auto signedOut = m_site->client();
    service.clearRequests();
    const QList<std::optional<APIError>> refused = sendAll(*signedOut);
    for (qsizetype i = 0; i < calls.size(); ++i) {
        QVERIFY2(refused.at(i), qPrintable(calls.at(i).second));
        QCOMPARE(*refused.at(i), APIError(401, "请先登录。"));
        QVERIFY(service.requests().at(i).cookies.isEmpty());
    }

    // Signed in: the session cookie of the sign-in goes along with every call, on every path and query.
    const auto lichen = signedIn("lichen");
    service.clearRequests();
    for (const std::optional<APIError> &error : sendAll(*lichen))
        QVERIFY(!error || error->status() != 401);
    QCOMPARE(service.requests().size(), calls.size());
    for (const Sample::Request &sent : service.requests()) {
        const Sample::Account *account = service.signedIn(sent);
        QVERIFY2(account, qPrintable(sent.path));
        QCOMPARE(account->username, QString("lichen"));
        QCOMPARE(sent.header("Accept"), QByteArray("application/json"));
    }
}

void MemberEndpointsTest::reportFormAndScreenshotsArriveAsBuilt()
{
    const auto client = signedIn("lichen");
    QMap<QString, QString> fields = reportFields();
    fields["multiplier"] = "1.25,1.5";
    const QList<Upload> files{screenshot("a"), screenshot("b")};
    const Acknowledgement ack = postForm(*client, "/api/pireps", fields, files);
    QCOMPARE(ack.ok, std::optional<bool>(true));
    QVERIFY(ack.id && !ack.id->isEmpty());

    // The service read every field and both files of the body the client built.
    const Pirep filed = get<PirepResponse>(*client, "/api/pireps").pireps.first();
    QCOMPARE(filed.id, *ack.id);
    QCOMPARE(filed.departureCode, QString("VHHH"));
    QCOMPARE(filed.arrivalCode, QString("ZGGG"));
    QCOMPARE(filed.aircraft, QString("Airbus A321"));
    QCOMPARE(filed.durationMinutes, 48.0);
    QCOMPARE(filed.multiplierPercent, std::optional<double>(187.5));
    QCOMPARE(filed.evidenceCount, std::optional<qint64>(2));

    // The screenshots come back byte for byte through the session's picture download, added ones too.
    const QString evidencePath = "/api/pireps/" + APIPath::encoded(filed.id) + "/evidence";
    const QList<Upload> added{screenshot("landing")};
    QCOMPARE(postForm(*client, evidencePath, {}, added).ok, std::optional<bool>(true));
    const QList<Evidence> evidence = get<EvidenceResponse>(*client, evidencePath).files;
    QCOMPARE(evidence.size(), 3);
    QCOMPARE(await(client->image(evidence.at(0).url)), files.at(0).data);
    QCOMPARE(await(client->image(evidence.at(1).url)), files.at(1).data);
    QCOMPARE(await(client->image(evidence.at(2).url)), added.at(0).data);
}

void MemberEndpointsTest::refusalsReachTheMemberUnchanged_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("form");        // a report form with one screenshot; body changes its fields
    QTest::addColumn<QJsonObject>("body"); // the JSON body of a write
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QString reports = "/api/pireps";
    QTest::newRow("form: three-letter code")
        << "lichen" << QByteArray("POST") << reports << true << QJsonObject{{"departureCode", "VHH"}} << 400
        << "请填写有效的四位 ICAO 机场代码。";
    QTest::newRow("form: staff files no report") << "wangfang" << QByteArray("POST") << reports << true
                                                 << QJsonObject() << 403 << "只有成员可以提交飞行报告。";
    QTest::newRow("form: screenshot to a decided report")
        << "lichen" << QByteArray("POST") << "/api/pireps/p-24398/evidence" << true << QJsonObject() << 409
        << "该报告已审核完成，不能再补充截图。";
    QTest::newRow("json: unknown attendance answer")
        << "lichen" << QByteArray("POST") << "/api/member/event-responses" << false
        << QJsonObject{{"eventId", "ev-304"}, {"response", "maybe"}} << 400
        << "参加意向无效，只能选择参加、感兴趣或不参加。";
    QTest::newRow("json: event started")
        << "lichen" << QByteArray("POST") << "/api/member/event-responses" << false
        << QJsonObject{{"eventId", "ev-302"}, {"response", "declined"}} << 409
        << "活动已经开始，不能再更改参加意向。";
    QTest::newRow("json: wrong current password")
        << "zhouning" << QByteArray("POST") << "/api/account/password" << false
        << QJsonObject{{"currentPassword", "temporary-124"},
                       {"newPassword", "cloud-base-900"},
                       {"confirmPassword", "cloud-base-900"}}
        << 400 << "当前密码不正确。";
    QTest::newRow("json: taken callsign") << "xuhang" << QByteArray("POST") << "/api/profile" << false
                                          << QJsonObject{{"wechatName", "徐航"},
                                                         {"discordUsername", ""},
                                                         {"contactEmail", "xuhang@example.com"},
                                                         {"callsign", "207"}}
                                          << 409 << "呼号 207 已被其他成员使用。";
    QTest::newRow("get: staff list for a member")
        << "lichen" << QByteArray("GET") << "/api/admin/event-responses?eventId=ev-302" << false
        << QJsonObject() << 403 << "只有管理员可以查看活动报名情况。";
    QTest::newRow("get: review queue for a member")
        << "lichen" << QByteArray("GET") << "/api/admin/pireps?checks=0" << false << QJsonObject() << 403
        << "只有管理员可以审核飞行报告。";
    QTest::newRow("json: a member's own decision")
        << "lichen" << QByteArray("POST") << "/api/admin/pireps/p-24433/review" << false
        << QJsonObject{{"decision", "approved"}, {"reason", ""}, {"amend", false}} << 403
        << "只有管理员可以审核飞行报告。";
    QTest::newRow("json: an admin's deletion")
        << "wangfang" << QByteArray("POST") << "/api/admin/pireps/p-24433/delete" << false << QJsonObject()
        << 403 << "只有开发者可以删除报告。";
    QTest::newRow("json: rejection without a reason")
        << "wangfang" << QByteArray("POST") << "/api/admin/pireps/p-24433/review" << false
        << QJsonObject{{"decision", "rejected"}, {"reason", "  "}, {"amend", false}} << 400
        << "请填写拒绝原因。";
    QTest::newRow("json: amend without the review seen")
        << "wangfang" << QByteArray("POST") << "/api/admin/pireps/p-24398/review" << false
        << QJsonObject{{"decision", "rejected"}, {"reason", "重复提交"}, {"amend", true}} << 409
        << "该报告已被其他管理员审核，请刷新后重试。";
    QTest::newRow("json: inquiry on a decided report")
        << "wangfang" << QByteArray("POST") << "/api/admin/pireps/p-24398/hold" << false
        << QJsonObject{{"hold", true}, {"note", "补充"}} << 409 << "只有待审核的报告可以问询。";
    QTest::newRow("get: plan without a flight")
        << "lichen" << QByteArray("GET") << "/api/live-map/plan?sessionId=x" << false << QJsonObject() << 400
        << "缺少航班参数。";
}

void MemberEndpointsTest::refusalsReachTheMemberUnchanged()
{
    QFETCH(QString, username);
    QFETCH(QByteArray, method);
    QFETCH(QString, path);
    QFETCH(bool, form);
    QFETCH(QJsonObject, body);
    QFETCH(int, status);
    QFETCH(QString, message);
    const auto client = signedIn(username);
    int restricted = 0;
    client->onRestricted = [&] { ++restricted; };
    const quint64 generation = client->generation();

    APIRequest request = client->makeRequest(path, method);
    if (form) {
        QMap<QString, QString> fields = reportFields();
        for (auto field = body.constBegin(); field != body.constEnd(); ++field)
            fields[field.key()] = field.value().toString();
        request.setMultipartBody(MultipartBody::make(fields, {screenshot("x")}, QStringLiteral("files")));
    } else if (method == "POST") {
        request.setJsonBody(body);
    }
    const auto error = thrown<APIError>([&] { await(client->perform(std::move(request))); });
    QVERIFY(error);
    QCOMPARE(*error, APIError(status, message));
    // Only a refused role is told to the account state; no refusal but 401 touches the session.
    QCOMPARE(restricted, status == 403 ? 1 : 0);
    QCOMPARE(client->generation(), generation);
    QCOMPARE(get<UserResponse>(*client, "/api/me").user.username, username);
}

void MemberEndpointsTest::answersAreNeverCached()
{
    // The same requests, asked again after a write, see the service's new state.
    User user;
    const auto client = signedIn("zhouning", &user);
    QCOMPARE(await(client->accountGate(user)), AccountGate::Password);
    const auto attendance = [&] {
        QList<QPair<QString, QString>> answers;
        for (const Attendance &a : get<AttendanceResponse>(*client, "/api/member/event-responses").responses)
            answers.append({a.eventId, a.response});
        return answers;
    };
    QVERIFY(!attendance().contains({"ev-304", "attending"}));

    APIRequest password = client->makeRequest("/api/account/password", "POST");
    password.setJsonBody({{"currentPassword", "temporary-123"},
                          {"newPassword", "cloud-base-900"},
                          {"confirmPassword", "cloud-base-900"}});
    QCOMPARE(await(client->decode<Acknowledgement>(std::move(password))).ok, std::optional<bool>(true));
    APIRequest attend = client->makeRequest("/api/member/event-responses", "POST");
    attend.setJsonBody({{"eventId", "ev-304"}, {"response", "attending"}});
    QCOMPARE(await(client->decode<Acknowledgement>(std::move(attend))).ok, std::optional<bool>(true));

    QCOMPARE(await(client->accountGate(user)), AccountGate::Ready);
    QVERIFY(attendance().contains({"ev-304", "attending"}));
}

// The routes map's states: many routes, one across the 180° meridian, each once with its flights counted,
// the most flown first; and none for a member without approved reports.
void MemberEndpointsTest::routesOfTheRouteMapStates()
{
    const auto lichen = signedIn("lichen");
    const QList<FlownRoute> routes = get<RouteResponse>(*lichen, "/api/member/routes").routes;
    QStringList identities;
    for (const FlownRoute &route : routes)
        identities.append(route.identity());
    QCOMPARE(identities, (QStringList{"ZBAA-ZSPD", "ZSPD-ZBAA", "ZUUU-ZBAA", "RCTP-RJTT", "VHHH-RCTP",
                                      "ZGGG-VHHH", "ZBAA-ZGGG", "ZBAA-KSFO"}));
    QCOMPARE(routes.constFirst().flights, 3);
    QCOMPARE(routes.at(1).flights, 2);

    const auto hejing = signedIn("hejing");
    QVERIFY(get<RouteResponse>(*hejing, "/api/member/routes").routes.isEmpty());
}

void MemberEndpointsTest::liveDataFollowsTheLink()
{
    const auto member = signedIn("lichen");
    QCOMPARE(get<LiveAuthorization>(*member, "/api/live-schedules/authorization").state, "eligible");
    const auto board =
        await(member->decodeOptional<LiveBoard>(member->makeRequest("/api/live-schedules", "GET")));
    QVERIFY(board);
    QCOMPARE(board->organizations.size(), 3);
    QCOMPARE(board->canReview, std::optional<bool>(false));
    QVERIFY(board->organizations.at(0).schedules.at(0).scheduledDeparture());

    // Ten applications of his, four a page.
    QStringList ids;
    QList<bool> more;
    for (int page = 1; page <= 3; ++page) {
        const auto answer =
            get<LiveApplications>(*member, "/api/live-schedules/applications?page=" + QString::number(page));
        for (const LiveApplication &application : answer.applications)
            ids.append(application.id);
        more.append(answer.hasMore);
    }
    QCOMPARE(ids.size(), 10);
    QCOMPARE(ids.first(), "app-10");
    QCOMPARE(ids.last(), "app-01");
    QCOMPARE(more, QList<bool>({true, true, false}));

    const auto reviewer = signedIn("wangfang");
    const auto reviewerBoard =
        await(reviewer->decodeOptional<LiveBoard>(reviewer->makeRequest("/api/live-schedules", "GET")));
    QCOMPARE(reviewerBoard.value_or(LiveBoard()).canReview, std::optional<bool>(true));

    const auto unlinked = signedIn("zhaolei");
    QCOMPARE(get<LiveAuthorization>(*unlinked, "/api/live-schedules/authorization").state, "unlinked");
    QVERIFY(!await(unlinked->decodeOptional<LiveBoard>(unlinked->makeRequest("/api/live-schedules", "GET"))));
    QVERIFY(
        get<LiveApplications>(*unlinked, "/api/live-schedules/applications?page=1").applications.isEmpty());
}

// The live map: a crowd over the world with the member's own flight, plans for some flights, a saved
// snapshot, and the switch that fails the live one.
void MemberEndpointsTest::liveMapOfTheWorld()
{
    const auto member = signedIn("lichen");
    const auto live =
        await(member->decodeOptional<LiveResponse>(member->makeRequest("/api/infinite-flight/live", "GET")));
    QVERIFY(live);
    QVERIFY(live->flights.size() >= 1500);
    QCOMPARE(live->ownFlight->id, QString("lv-207"));
    QCOMPARE(live->ownFlights(QString("lichen")).size(), 1);
    QCOMPARE(live->liveIdentification, std::optional<QString>("connected"));
    // Spread over the world: every quarter of the longitudes, both hemispheres.
    QSet<int> quarters;
    bool south = false;
    int plannable = 0;
    for (const LiveFlight &flight : live->flights) {
        quarters.insert(int(std::floor((flight.longitude + 180) / 90)));
        south = south || flight.latitude < 0;
        if (flight.flightId && !QUuid::fromString(*flight.flightId).isNull())
            ++plannable;
    }
    QCOMPARE(quarters.size(), 4);
    QVERIFY(south);
    QVERIFY(plannable >= 300);
    QVERIFY(plannable < live->flights.size() / 2);

    // A crowd flight with UUIDs has its plan and flown track; the same moment's snapshot puts it on them.
    const auto crowd = std::find_if(live->flights.cbegin(), live->flights.cend(), [](const LiveFlight &f) {
        return f.id.startsWith("cr-") && f.flightId && !QUuid::fromString(*f.flightId).isNull();
    });
    QVERIFY(crowd != live->flights.cend());
    const auto plan = await(member->decodeOptional<PlanResponse>(member->makeRequest(
        QString("/api/live-map/plan?sessionId=%1&flightId=%2").arg(*crowd->sessionId, *crowd->flightId),
        "GET")));
    QVERIFY(plan && plan->points && plan->route);
    QVERIFY(plan->points->size() >= 2);
    QCOMPARE(plan->points->constFirst().name.value_or(QString()).size(), 4);
    QVERIFY(plan->route->size() >= 2);

    const auto saved = await(member->decodeOptional<LiveResponse>(
        member->makeRequest("/api/infinite-flight/live?saved=1", "GET")));
    QVERIFY(saved);
    QCOMPARE(saved->status, std::optional<QString>("saved"));
    QVERIFY(saved->flights.size() > 600);

    // The switch: the live snapshot fails, the saved one still answers.
    m_site->service->setLiveSnapshotFailing(true);
    const auto error = thrown<APIError>([&] {
        await(member->decodeOptional<LiveResponse>(member->makeRequest("/api/infinite-flight/live", "GET")));
    });
    QVERIFY(error);
    QCOMPARE(error->status(), 503);
    QVERIFY(await(member->decodeOptional<LiveResponse>(
        member->makeRequest("/api/infinite-flight/live?saved=1", "GET"))));
}

QTEST_MAIN(MemberEndpointsTest)
#include "tst_member_endpoints.moc"
