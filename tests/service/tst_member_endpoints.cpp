// The member records of the sample service, read through the app's own client and records: every answer
// decodes for every kind of account, the sample holds the cases the screens need, and what a member posts
// is remembered.
#include "ClientTestSupport.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"

#include <QJsonArray>
#include <QSet>
#include <QUuid>

#include <cmath>

using namespace TestSupport;

namespace {

QString passwordOf(const QString &username) {
    return username == QLatin1String("zhouning") ? QStringLiteral("temporary-123")
                                                 : QStringLiteral("fly-vornalia");
}

template <typename T> T get(APIClient &client, const QString &path) {
    return await(client.decode<T>(client.makeRequest(path, "GET")));
}

template <typename T> std::optional<T> getOptional(APIClient &client, const QString &path) {
    return await(client.decodeOptional<T>(client.makeRequest(path, "GET")));
}

template <typename T> T postJson(APIClient &client, const QString &path, const QJsonObject &body) {
    APIRequest request = client.makeRequest(path, "POST");
    request.setJsonBody(body);
    return await(client.decode<T>(std::move(request)));
}

Acknowledgement postForm(APIClient &client, const QString &path, const QMap<QString, QString> &fields,
                         const QList<Upload> &files) {
    APIRequest request = client.makeRequest(path, "POST");
    request.setMultipartBody(MultipartBody::make(fields, files, QStringLiteral("files")));
    return await(client.decode<Acknowledgement>(std::move(request)));
}

Upload screenshot(const QString &seed) {
    return {QUuid::createUuid(), Sample::Service::avatarPicture(seed), seed + QStringLiteral(".png"),
            QStringLiteral("image/png")};
}

// The report form's eleven fields for one of lichen's Infinite Flight flights (VHHH → ZGGG, 48 minutes).
QMap<QString, QString> reportFields() {
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

double countedMinutes(const Pirep &report) {
    return report.durationMinutes * report.multiplierPercent.value_or(100) / 100;
}

bool isUuid(const QString &text) {
    return !QUuid::fromString(text).isNull();
}

const SiteNotice *noticeWithId(const SiteInbox &inbox, const QString &id) {
    for (const SiteNotice &notice : inbox.notifications) {
        if (notice.id == id)
            return &notice;
    }
    return nullptr;
}

} // namespace

class MemberEndpointsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // Every endpoint, every kind of account.
    void answersDecodeForEveryAccount_data();
    void answersDecodeForEveryAccount();
    void everyMemberEndpointNeedsASession();

    // Reports and evidence.
    void reportsCoverEveryReviewState();
    void evidenceMatchesTheReportsAndLoads();
    void submittedReportIsKept();
    void localFlightIsFlagged();
    void submissionRefusals_data();
    void submissionRefusals();
    void evidenceUploadIsKept();
    void multiplierOptions_data();
    void multiplierOptions();

    // Events and attendance.
    void eventsCoverEveryMoment();
    void attendanceIsRemembered();
    void attendanceRefusals_data();
    void attendanceRefusals();
    void staffListIsForStaffOnly();

    // Leaderboard and routes.
    void leaderboardHasTiesOnEveryBoard();
    void leaderboardAgreesWithTheLogbook();
    void routesCountApprovedReports();

    // Notices.
    void inboxHoldsEveryKindOfNotice();
    void legacyReadMarksCanNameNotices();
    void readMarksAreRemembered();

    // Infinite Flight and the live map.
    void liveSnapshotShowsTheOwnFlight();
    void snapshotsOfOtherAccounts();
    void savedSnapshotIsEarlier();
    void plansOnlyForKnownFlights();
    void recentFlightsAndStatistics();

    // Account forms.
    void passwordChangeRefusals_data();
    void passwordChangeRefusals();
    void passwordChangeClearsTheRequirement();
    void profileSetUpEndsOnceComplete();

private:
    // A client signed in as the given account. The other-role account cannot pass the app's sign-in, so
    // it signs in at the service directly.
    std::unique_ptr<APIClient> signedIn(const QString &username, User *user = nullptr) {
        auto client = m_site->client();
        if (username == QLatin1String("sunyue")) {
            postJson<LoginResponse>(*client, "/api/login",
                                    {{"username", username}, {"password", passwordOf(username)}});
        } else {
            const User signedInUser = await(client->login(username, passwordOf(username), false));
            if (user)
                *user = signedInUser;
        }
        return client;
    }

    std::unique_ptr<Site> m_site;
};

void MemberEndpointsTest::init() {
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void MemberEndpointsTest::cleanup() {
    m_site.reset();
}

void MemberEndpointsTest::answersDecodeForEveryAccount_data() {
    QTest::addColumn<QString>("username");
    QTest::addColumn<bool>("linked");    // has an Infinite Flight account: statistics, flights, live map
    QTest::addColumn<bool>("hasRecord"); // a member record: summaries and an inbox
    QTest::addColumn<bool>("flying");    // has an own flight in the live snapshot

    QTest::newRow("member") << "lichen" << true << true << true;
    QTest::newRow("admin") << "wangfang" << true << true << true;
    QTest::newRow("developer") << "zhaolei" << true << true << false;
    QTest::newRow("other role") << "sunyue" << false << false << false;
    QTest::newRow("must change password") << "zhouning" << true << true << false;
    QTest::newRow("profile to set up") << "xuhang" << false << true << false;
}

void MemberEndpointsTest::answersDecodeForEveryAccount() {
    QFETCH(QString, username);
    QFETCH(bool, linked);
    QFETCH(bool, hasRecord);
    QFETCH(bool, flying);
    const auto client = signedIn(username);

    const auto inbox = getOptional<SiteInbox>(*client, "/api/notifications");
    QCOMPARE(inbox.has_value(), hasRecord);
    if (inbox) {
        const auto unread = std::count_if(inbox->notifications.begin(), inbox->notifications.end(),
                                          [](const SiteNotice &n) { return n.isUnread(); });
        QCOMPARE(inbox->unreadCount, qint64(unread));
    }

    const auto reports = get<PirepResponse>(*client, "/api/pireps");
    QCOMPARE(reports.summary.has_value(), hasRecord);
    for (const Pirep &report : reports.pireps) {
        QCOMPARE(report.applicantUsername, std::optional<QString>(username));
        const auto evidence = get<EvidenceResponse>(*client, "/api/pireps/" + report.id + "/evidence");
        QCOMPARE(qint64(evidence.files.size()), report.evidenceCount.value_or(-1));
    }
    QCOMPARE(getOptional<ProfileSummary>(*client, "/api/profile/summary").has_value(), hasRecord);

    const auto options =
        getOptional<MultiplierOptions>(*client, "/api/pireps/multiplier-options?departure=ZBAA&arrival=ZSPD");
    QVERIFY(options);
    QVERIFY(options->organization.available);

    QVERIFY(!get<UpcomingResponse>(*client, "/api/events/upcoming?window=claim").events.isEmpty());
    get<AttendanceResponse>(*client, "/api/member/event-responses");
    for (const QString &path : {QStringLiteral("/api/member/pirep-leaderboard"),
                                QStringLiteral("/api/member/pirep-leaderboard?period=recent")}) {
        const auto board = getOptional<LeaderboardResponse>(*client, path);
        QVERIFY(board);
        QVERIFY(!board->members.isEmpty());
    }
    const auto routes = get<RouteResponse>(*client, "/api/member/routes");
    QCOMPARE(routes.routes.isEmpty(), reports.pireps.isEmpty());

    const auto live = getOptional<LiveResponse>(*client, "/api/infinite-flight/live");
    QCOMPARE(live.has_value(), linked);
    if (live)
        QCOMPARE(live->ownFlight.has_value(), flying);
    QCOMPARE(getOptional<LiveResponse>(*client, "/api/infinite-flight/live?saved=1").has_value(), linked);
    QCOMPARE(get<RecentFlightsResponse>(*client, "/api/infinite-flight/me/flights").flights.isEmpty(),
             !linked);
    QCOMPARE(getOptional<IFStatistics>(*client, "/api/infinite-flight/me").has_value(), linked);
    const auto aircraft = getOptional<AircraftNames>(*client, "/api/infinite-flight/aircraft");
    QVERIFY(aircraft);
    QVERIFY(aircraft->aircraft.contains("Boeing 777-300ER"));
}

void MemberEndpointsTest::everyMemberEndpointNeedsASession() {
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
    const auto client = m_site->client();
    for (const auto &[method, path] : calls) {
        APIRequest request = client->makeRequest(path, method);
        if (method == "POST")
            request.setJsonBody({});
        const auto error = thrown<APIError>([&] { await(client->perform(std::move(request))); });
        QVERIFY2(error, qPrintable(path));
        QCOMPARE(*error, APIError(401, "请先登录。"));
    }
}

void MemberEndpointsTest::reportsCoverEveryReviewState() {
    const auto client = signedIn("lichen");
    const auto answer = get<PirepResponse>(*client, "/api/pireps");
    QSet<QString> statuses, routeChecks, callsignChecks;
    QSet<double> multipliers;
    int held = 0, releasedHold = 0, approved = 0;
    double approvedMinutes = 0;
    for (const Pirep &report : answer.pireps) {
        statuses.insert(report.status);
        multipliers.insert(report.multiplierPercent.value_or(100));
        routeChecks.insert(report.ifRouteCheck.value_or(QString()));
        callsignChecks.insert(report.ifCallsignCheck.value_or(QString()));
        QVERIFY(report.evidenceCount.value_or(0) > 0);
        QVERIFY(report.submittedAt.has_value());
        if (report.status == "rejected") {
            QVERIFY(!report.rejectionReason.value_or(QString()).isEmpty());
            QVERIFY(report.reviewedAt.has_value());
        }
        if (report.isHeld()) {
            ++held;
            QCOMPARE(report.status, QString("pending"));
            QVERIFY(!report.holdNote.value_or(QString()).isEmpty());
            QVERIFY(report.heldByName.has_value());
        } else if (report.status == "pending" && report.heldAt == 0.0) {
            ++releasedHold;
        }
        if (report.status == "approved") {
            ++approved;
            approvedMinutes += countedMinutes(report);
        }
    }
    QCOMPARE(statuses, QSet<QString>({"pending", "approved", "rejected"}));
    QCOMPARE(held, 1);
    QCOMPARE(releasedHold, 1);
    QVERIFY(multipliers.contains(125) && multipliers.contains(150) && multipliers.contains(187.5));
    QVERIFY(routeChecks.contains("found") && routeChecks.contains("not_found"));
    QVERIFY(callsignChecks.contains("match") && callsignChecks.contains("mismatch"));

    QVERIFY(answer.summary);
    QCOMPARE(answer.summary->approvedCount, std::optional<qint64>(approved));
    QCOMPARE(answer.summary->approvedDurationMinutes, std::optional<double>(approvedMinutes));
    QVERIFY(answer.summary->registeredAt.has_value());

    // The account page's summary speaks milliseconds and agrees with the list.
    const auto summary = getOptional<ProfileSummary>(*client, "/api/profile/summary");
    QVERIFY(summary);
    QCOMPARE(summary->approvedMinutes, std::optional<double>(approvedMinutes));
    QCOMPARE(summary->joinedAt, std::optional<double>(*answer.summary->registeredAt * 1000));
    QCOMPARE(summary->lastPirepAt, std::optional<double>(*answer.pireps.first().submittedAt * 1000));
}

void MemberEndpointsTest::evidenceMatchesTheReportsAndLoads() {
    const auto lichen = signedIn("lichen");
    const QList<Pirep> reports = get<PirepResponse>(*lichen, "/api/pireps").pireps;
    QSet<QString> ids;
    for (const Pirep &report : reports) {
        const auto evidence = get<EvidenceResponse>(*lichen, "/api/pireps/" + report.id + "/evidence");
        QCOMPARE(qint64(evidence.files.size()), *report.evidenceCount);
        for (const Evidence &file : evidence.files) {
            QVERIFY(file.url.startsWith("/api/pireps/" + report.id + "/evidence/"));
            QVERIFY(!ids.contains(file.id));
            ids.insert(file.id);
        }
    }
    const QString heldPath = "/api/pireps/p-24421/evidence";
    const QString picture = get<EvidenceResponse>(*lichen, heldPath).files.first().url;
    QVERIFY(await(lichen->image(picture)).startsWith("\x89PNG"));

    // Staff review any member's evidence; another member sees none of it.
    const auto admin = signedIn("wangfang");
    QCOMPARE(get<EvidenceResponse>(*admin, heldPath).files.size(), 1);
    QVERIFY(await(admin->image(picture)).startsWith("\x89PNG"));
    const auto other = signedIn("zhouning");
    const auto refused = thrown<APIError>([&] { get<EvidenceResponse>(*other, heldPath); });
    QVERIFY(refused);
    QCOMPARE(refused->status(), 404);
    QVERIFY(thrown<APIError>([&] { await(other->image(picture)); }));
}

void MemberEndpointsTest::submittedReportIsKept() {
    const auto client = signedIn("lichen");
    const qint64 unreadBefore = getOptional<SiteInbox>(*client, "/api/notifications")->unreadCount;
    QMap<QString, QString> fields = reportFields();
    fields["multiplier"] = "1.25,1.5";
    const QList<Upload> files{screenshot("a"), screenshot("b")};

    const Acknowledgement ack = postForm(*client, "/api/pireps", fields, files);
    QCOMPARE(ack.ok, std::optional<bool>(true));
    QCOMPARE(ack.local, std::optional<bool>(false));
    QVERIFY(ack.id && !ack.id->isEmpty());

    // A second session of the same member sees what the first one filed.
    const auto again = signedIn("lichen");
    const auto answer = get<PirepResponse>(*again, "/api/pireps");
    const Pirep &filed = answer.pireps.first();
    QCOMPARE(filed.id, *ack.id);
    QCOMPARE(filed.status, QString("pending"));
    QCOMPARE(filed.departureCode, QString("VHHH"));
    QCOMPARE(filed.arrivalCode, QString("ZGGG"));
    QCOMPARE(filed.durationMinutes, 48.0);
    QCOMPARE(filed.multiplierPercent, std::optional<double>(187.5));
    QCOMPARE(filed.evidenceCount, std::optional<qint64>(2));
    QCOMPARE(filed.ifRouteCheck, std::optional<QString>("found"));
    QCOMPARE(filed.ifCallsignCheck, std::optional<QString>("match"));
    QVERIFY(!filed.submitNote.has_value());

    const auto evidence = get<EvidenceResponse>(*again, "/api/pireps/" + filed.id + "/evidence");
    QCOMPARE(evidence.files.size(), 2);
    QCOMPARE(await(again->image(evidence.files.at(1).url)), files.at(1).data);

    const auto inbox = getOptional<SiteInbox>(*again, "/api/notifications");
    QCOMPARE(inbox->unreadCount, unreadBefore + 1);
    const SiteNotice &notice = inbox->notifications.first();
    QCOMPARE(notice.kind, QString("pirep_submitted"));
    QCOMPARE(notice.entityId, filed.id);
    QVERIFY(notice.isUnread());

    // Nobody else's list grows.
    const auto other = signedIn("zhouning");
    for (const Pirep &report : get<PirepResponse>(*other, "/api/pireps").pireps)
        QVERIFY(report.id != filed.id);
}

void MemberEndpointsTest::localFlightIsFlagged() {
    const auto client = signedIn("lichen");
    QMap<QString, QString> fields = reportFields();
    fields["departureCode"] = "ZSPD";
    fields["arrivalCode"] = "ZSPD";
    fields["aircraft"] = "Cessna 172";
    fields["livery"] = "Generic";
    fields["landings"] = "4";
    fields["sourceFlightId"] = "local-0419";
    const Acknowledgement ack = postForm(*client, "/api/pireps", fields, {});
    QCOMPARE(ack.ok, std::optional<bool>(true));
    QCOMPARE(ack.local, std::optional<bool>(true));
    QCOMPARE(get<PirepResponse>(*client, "/api/pireps").pireps.first().landings, std::optional<qint64>(4));
}

void MemberEndpointsTest::submissionRefusals_data() {
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("withFiles");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("three-letter code") << "lichen"
                                       << "departureCode"
                                       << "VHH" << true << 400 << "请填写有效的四位 ICAO 机场代码。";
    QTest::newRow("minutes 60") << "lichen"
                                << "minutes"
                                << "60" << true << 400 << "请填写有效飞行时间，分钟为 0–59，总时长大于零。";
    QTest::newRow("no landing") << "lichen"
                                << "landings"
                                << "0" << true << 400 << "降落次数需为 1–99 的整数。";
    QTest::newRow("unknown multiplier") << "lichen"
                                        << "multiplier"
                                        << "2" << true << 400 << "倍数选项无效。";
    QTest::newRow("no source flight, no proof")
        << "lichen"
        << "sourceFlightId"
        << "" << false << 422 << "系统没有找到对应的 Infinite Flight 航班，请上传飞行截图并填写补充说明。";
    QTest::newRow("flight of another route")
        << "lichen"
        << "sourceFlightId"
        << "3c9e1f52-7a4b-4d8e-9f61-2b7d0c5e8a13" << false << 422
        << "系统没有找到对应的 Infinite Flight 航班，请上传飞行截图并填写补充说明。";
    QTest::newRow("staff") << "wangfang"
                           << "submitNote"
                           << "" << true << 403 << "只有成员可以提交飞行报告。";
}

void MemberEndpointsTest::submissionRefusals() {
    QFETCH(QString, username);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, withFiles);
    QFETCH(int, status);
    QFETCH(QString, message);
    const auto client = signedIn(username);
    const qsizetype before = get<PirepResponse>(*client, "/api/pireps").pireps.size();
    QMap<QString, QString> fields = reportFields();
    fields[field] = value;
    const QList<Upload> files = withFiles ? QList<Upload>{screenshot("x")} : QList<Upload>{};

    const auto error = thrown<APIError>([&] { postForm(*client, "/api/pireps", fields, files); });
    QVERIFY(error);
    QCOMPARE(*error, APIError(status, message));
    QCOMPARE(get<PirepResponse>(*client, "/api/pireps").pireps.size(), before);
}

void MemberEndpointsTest::evidenceUploadIsKept() {
    const auto client = signedIn("lichen");
    const QString path = "/api/pireps/p-24421/evidence";
    const QList<Upload> added{screenshot("takeoff"), screenshot("landing")};
    QCOMPARE(postForm(*client, path, {}, added).ok, std::optional<bool>(true));

    const auto evidence = get<EvidenceResponse>(*client, path);
    QCOMPARE(evidence.files.size(), 3);
    QCOMPARE(await(client->image(evidence.files.last().url)), added.last().data);
    for (const Pirep &report : get<PirepResponse>(*client, "/api/pireps").pireps) {
        if (report.id == "p-24421")
            QCOMPARE(report.evidenceCount, std::optional<qint64>(3));
    }

    // Six pictures at most per report; none to a decided report or to someone else's.
    const QList<Upload> four{screenshot("1"), screenshot("2"), screenshot("3"), screenshot("4")};
    const auto tooMany = thrown<APIError>([&] { postForm(*client, path, {}, four); });
    QVERIFY(tooMany);
    QCOMPARE(*tooMany, APIError(400, "每份报告最多 6 张截图，已上传 3 张。"));
    const auto decided =
        thrown<APIError>([&] { postForm(*client, "/api/pireps/p-24398/evidence", {}, added); });
    QVERIFY(decided);
    QCOMPARE(*decided, APIError(409, "该报告已审核完成，不能再补充截图。"));
    const auto foreign =
        thrown<APIError>([&] { postForm(*client, "/api/pireps/p-24290/evidence", {}, added); });
    QVERIFY(foreign);
    QCOMPARE(foreign->status(), 404);
    const auto empty = thrown<APIError>([&] { postForm(*client, path, {}, {}); });
    QVERIFY(empty);
    QCOMPARE(*empty, APIError(400, "请选择要上传的截图。"));
    QCOMPARE(get<EvidenceResponse>(*client, path).files.size(), 3);
}

void MemberEndpointsTest::multiplierOptions_data() {
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("organization");
    QTest::addColumn<bool>("event");

    QTest::newRow("organisation route, event over") << "lichen"
                                                    << "ZBAA"
                                                    << "ZSPD" << true << true << false;
    QTest::newRow("event in its window, attending") << "lichen"
                                                    << "ZSPD"
                                                    << "RJTT" << true << false << true;
    QTest::newRow("event in its window, not attending") << "zhouning"
                                                        << "ZSPD"
                                                        << "RJTT" << true << false << false;
    QTest::newRow("event still to come") << "lichen"
                                         << "VHHH"
                                         << "RCTP" << true << true << false;
    QTest::newRow("no such route") << "lichen"
                                   << "KLAX"
                                   << "EGLL" << true << false << false;
    QTest::newRow("not an airport code") << "lichen"
                                         << "ZS PD"
                                         << "RJTT" << false << false << false;
}

void MemberEndpointsTest::multiplierOptions() {
    QFETCH(QString, username);
    QFETCH(QString, departure);
    QFETCH(QString, arrival);
    QFETCH(bool, answered);
    QFETCH(bool, organization);
    QFETCH(bool, event);
    const auto client = signedIn(username);
    const auto options = getOptional<MultiplierOptions>(
        *client, "/api/pireps/multiplier-options?departure=" + APIPath::encoded(departure) +
                     "&arrival=" + APIPath::encoded(arrival));
    QCOMPARE(options.has_value(), answered);
    if (!options)
        return;
    QCOMPARE(options->organization.available, organization);
    QCOMPARE(options->event.available, event);
    // What is not available says why.
    QCOMPARE(options->organization.message.has_value(), !organization);
    QCOMPARE(options->event.message.has_value(), !event);
}

void MemberEndpointsTest::eventsCoverEveryMoment() {
    const auto client = signedIn("lichen");
    const QList<FlightEvent> events =
        get<UpcomingResponse>(*client, "/api/events/upcoming?window=claim").events;
    QHash<QString, QString> answers;
    for (const Attendance &answer :
         get<AttendanceResponse>(*client, "/api/member/event-responses").responses) {
        QVERIFY(answer.choice().has_value());
        answers.insert(answer.eventId, answer.response);
    }

    const QDateTime now = QDateTime::currentDateTimeUtc();
    int windowClosed = 0, inWindow = 0, toCome = 0, withOptions = 0, withoutOptions = 0;
    for (const FlightEvent &event : events) {
        const auto start = event.eventAt();
        QVERIFY2(start, qPrintable(event.eventAtUtc));
        const QDateTime end = start->addSecs((event.estimatedHours * 60 + event.estimatedMinutes + 60) * 60);
        if (*start > now) {
            ++toCome;
        } else if (now <= end) {
            ++inWindow;
            // The event's report button shows for the member.
            QCOMPARE(answers.value(event.id), QString("attending"));
            QVERIFY(start->secsTo(now) < 3600);
        } else {
            ++windowClosed;
        }
        ++(event.aircraftOptions ? withOptions : withoutOptions);
    }
    QCOMPARE(inWindow, 1);
    QVERIFY(windowClosed >= 1);
    QVERIFY(toCome >= 2);
    QVERIFY(withOptions > 0 && withoutOptions > 0);

    // Answers cover every choice, and one concerns an event no longer listed.
    QCOMPARE(QSet<QString>(answers.begin(), answers.end()),
             QSet<QString>({"attending", "interested", "declined"}));
    QVERIFY(std::any_of(answers.keyBegin(), answers.keyEnd(), [&](const QString &id) {
        return std::none_of(events.begin(), events.end(), [&](const FlightEvent &e) { return e.id == id; });
    }));
}

void MemberEndpointsTest::attendanceIsRemembered() {
    const auto client = signedIn("lichen");
    const auto answersOf = [](APIClient &c) {
        QList<QPair<QString, QString>> list;
        for (const Attendance &a : get<AttendanceResponse>(c, "/api/member/event-responses").responses)
            list.append({a.eventId, a.response});
        return list;
    };
    const auto before = answersOf(*client);
    const auto otherBefore = answersOf(*signedIn("zhouning"));

    QCOMPARE(postJson<Acknowledgement>(*client, "/api/member/event-responses",
                                       {{"eventId", "ev-304"}, {"response", "attending"}})
                 .ok,
             std::optional<bool>(true));
    postJson<Acknowledgement>(*client, "/api/member/event-responses",
                              {{"eventId", "ev-303"}, {"response", "declined"}});

    const auto after = answersOf(*signedIn("lichen"));
    QCOMPARE(after.size(), before.size() + 1); // a changed answer replaces the old one
    QVERIFY(after.contains({"ev-304", "attending"}));
    QVERIFY(after.contains({"ev-303", "declined"}));
    QVERIFY(!after.contains({"ev-303", "interested"}));
    QCOMPARE(answersOf(*signedIn("zhouning")), otherBefore);

    const auto staff =
        get<EventResponsesResponse>(*signedIn("wangfang"), "/api/admin/event-responses?eventId=ev-304");
    QVERIFY(staff.responses.contains(EventResponseEntry{"lichen", "attending"}));
    QVERIFY(staff.responses.contains(EventResponseEntry{"hejing", "attending"}));
}

void MemberEndpointsTest::attendanceRefusals_data() {
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("eventId");
    QTest::addColumn<QString>("response");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown answer") << "lichen"
                                    << "ev-304"
                                    << "maybe" << 400 << "参加意向无效，只能选择参加、感兴趣或不参加。";
    QTest::newRow("answer in capitals")
        << "lichen"
        << "ev-304"
        << "Attending" << 400 << "参加意向无效，只能选择参加、感兴趣或不参加。";
    QTest::newRow("unknown event") << "lichen"
                                   << "ev-999"
                                   << "attending" << 404 << "活动不存在或已结束。";
    QTest::newRow("event started") << "lichen"
                                   << "ev-302"
                                   << "declined" << 409 << "活动已经开始，不能再更改参加意向。";
    QTest::newRow("staff") << "wangfang"
                           << "ev-304"
                           << "attending" << 403 << "只有成员可以报名参加活动。";
}

void MemberEndpointsTest::attendanceRefusals() {
    QFETCH(QString, username);
    QFETCH(QString, eventId);
    QFETCH(QString, response);
    QFETCH(int, status);
    QFETCH(QString, message);
    const auto client = signedIn(username);
    const auto before = get<AttendanceResponse>(*client, "/api/member/event-responses").responses.size();
    const auto error = thrown<APIError>([&] {
        postJson<Acknowledgement>(*client, "/api/member/event-responses",
                                  {{"eventId", eventId}, {"response", response}});
    });
    QVERIFY(error);
    QCOMPARE(*error, APIError(status, message));
    QCOMPARE(get<AttendanceResponse>(*client, "/api/member/event-responses").responses.size(), before);
}

void MemberEndpointsTest::staffListIsForStaffOnly() {
    for (const QString staff : {"wangfang", "zhaolei"}) {
        const auto answers =
            get<EventResponsesResponse>(*signedIn(staff), "/api/admin/event-responses?eventId=ev-302");
        QSet<QString> choices;
        for (const EventResponseEntry &entry : answers.responses)
            choices.insert(entry.response);
        QVERIFY(answers.responses.contains(EventResponseEntry{"lichen", "attending"}));
        QCOMPARE(choices, QSet<QString>({"attending", "interested", "declined"}));
    }
    for (const QString member : {"lichen", "sunyue"}) {
        const auto client = signedIn(member);
        const auto error = thrown<APIError>(
            [&] { get<EventResponsesResponse>(*client, "/api/admin/event-responses?eventId=ev-302"); });
        QVERIFY(error);
        QCOMPARE(*error, APIError(403, "只有管理员可以查看活动报名情况。"));
    }
    const auto admin = signedIn("wangfang");
    const auto missing =
        thrown<APIError>([&] { get<EventResponsesResponse>(*admin, "/api/admin/event-responses"); });
    QVERIFY(missing);
    QCOMPARE(*missing, APIError(400, "缺少活动编号。"));
    const auto unknown = thrown<APIError>([&] {
        get<EventResponsesResponse>(*admin,
                                    "/api/admin/event-responses?eventId=" + APIPath::encoded("ev 302"));
    });
    QVERIFY(unknown);
    QCOMPARE(unknown->status(), 404);
}

void MemberEndpointsTest::leaderboardHasTiesOnEveryBoard() {
    const auto client = signedIn("lichen");
    const auto hasTie = [](const QList<double> &values) {
        for (qsizetype i = 1; i < values.size(); ++i) {
            if (values.at(i) == values.at(i - 1))
                return true;
        }
        return false;
    };
    const auto all = getOptional<LeaderboardResponse>(*client, "/api/member/pirep-leaderboard");
    QVERIFY(all && all->aircraft && all->airports && all->reviewers);
    QList<double> members, fleet, airports, reviewers;
    for (const LeaderboardMember &m : all->members)
        members.append(m.approvedMinutes);
    for (const FleetTotal &f : *all->aircraft)
        fleet.append(double(f.flights.value_or(0)));
    for (const AirportTotal &a : *all->airports)
        airports.append(double(a.landings));
    for (const ReviewerTotal &r : *all->reviewers)
        reviewers.append(double(r.reviews.value_or(0)));
    QVERIFY(hasTie(members));
    QVERIFY(hasTie(fleet));
    QVERIFY(hasTie(airports));
    QVERIFY(hasTie(reviewers));

    const auto recent =
        getOptional<LeaderboardResponse>(*client, "/api/member/pirep-leaderboard?period=recent");
    QVERIFY(recent);
    QList<double> recentMembers;
    for (const LeaderboardMember &m : recent->members)
        recentMembers.append(m.approvedMinutes);
    QVERIFY(hasTie(recentMembers));
}

void MemberEndpointsTest::leaderboardAgreesWithTheLogbook() {
    const auto client = signedIn("lichen");
    const auto reports = get<PirepResponse>(*client, "/api/pireps");
    const auto board = getOptional<LeaderboardResponse>(*client, "/api/member/pirep-leaderboard");
    const auto recent =
        getOptional<LeaderboardResponse>(*client, "/api/member/pirep-leaderboard?period=recent");
    QVERIFY(board && recent);
    const auto rowOf = [](const LeaderboardResponse &b) {
        return std::find_if(b.members.begin(), b.members.end(),
                            [](const LeaderboardMember &m) { return m.username == "lichen"; });
    };
    const auto row = rowOf(*board);
    QVERIFY(row != board->members.end());
    QCOMPARE(row->displayName, std::optional<QString>("李辰"));
    QCOMPARE(std::optional<qint64>(row->approvedCount), reports.summary->approvedCount);
    QCOMPARE(std::optional<double>(row->approvedMinutes), reports.summary->approvedDurationMinutes);

    const auto recentRow = rowOf(*recent);
    QVERIFY(recentRow != recent->members.end());
    QVERIFY(recentRow->approvedCount < row->approvedCount);
    QVERIFY(recentRow->approvedCount > 0);

    for (const LeaderboardResponse *b : {&*board, &*recent}) {
        for (qsizetype i = 1; i < b->members.size(); ++i)
            QVERIFY(b->members.at(i - 1).approvedMinutes >= b->members.at(i).approvedMinutes);
    }
}

void MemberEndpointsTest::routesCountApprovedReports() {
    const auto client = signedIn("lichen");
    QHash<QString, qint64> expected;
    for (const Pirep &report : get<PirepResponse>(*client, "/api/pireps").pireps) {
        if (report.status == "approved")
            ++expected[report.departureCode + "-" + report.arrivalCode];
    }
    QHash<QString, qint64> served;
    for (const FlownRoute &route : get<RouteResponse>(*client, "/api/member/routes").routes) {
        QVERIFY(!served.contains(route.identity()));
        served.insert(route.identity(), route.flights);
    }
    QCOMPARE(served, expected);
    QVERIFY(served.value("ZBAA-ZSPD") > 1);
    QVERIFY(served.contains("ZSPD-ZBAA")); // both directions, told apart
}

void MemberEndpointsTest::inboxHoldsEveryKindOfNotice() {
    const auto client = signedIn("lichen");
    const auto inbox = getOptional<SiteInbox>(*client, "/api/notifications");
    QVERIFY(inbox);
    const auto events = get<UpcomingResponse>(*client, "/api/events/upcoming?window=claim").events;
    const auto reports = get<PirepResponse>(*client, "/api/pireps").pireps;
    const auto isEvent = [&](const QString &id) {
        return std::any_of(events.begin(), events.end(), [&](const FlightEvent &e) { return e.id == id; });
    };
    const auto isReport = [&](const QString &id) {
        return std::any_of(reports.begin(), reports.end(), [&](const Pirep &p) { return p.id == id; });
    };

    QSet<QString> heads;
    int read = 0, eventPages = 0, detailPages = 0, withEventTime = 0;
    double previous = std::numeric_limits<double>::max();
    for (const SiteNotice &notice : inbox->notifications) {
        QVERIFY(notice.occurredAt > 1e12); // milliseconds
        QVERIFY(notice.occurredAt <= previous);
        previous = notice.occurredAt;
        read += notice.isUnread() ? 0 : 1;
        if (notice.kind == "event_published") {
            heads.insert("event");
            withEventTime += notice.eventAt ? 1 : 0;
            eventPages += isEvent(notice.entityId) ? 1 : 0;
            detailPages += !isEvent(notice.entityId) && !isReport(notice.entityId) ? 1 : 0;
            continue;
        }
        QVERIFY2(isReport(notice.entityId), qPrintable(notice.id));
        if (notice.kind == "pirep_submitted") {
            heads.insert("submitted");
        } else if (notice.status == "approved") {
            heads.insert("approved");
        } else {
            heads.insert("not approved");
            QVERIFY(notice.reason.has_value());
        }
    }
    QCOMPARE(heads, QSet<QString>({"event", "submitted", "approved", "not approved"}));
    QVERIFY(read > 0 && inbox->unreadCount > 0);
    QVERIFY(eventPages > 0);
    QCOMPARE(detailPages, 1);
    QVERIFY(withEventTime > 0);
}

void MemberEndpointsTest::legacyReadMarksCanNameNotices() {
    // Marks of earlier versions name a review notice by report, status and time, the time written with a
    // decimal point or as an integer: the sample needs approved notices of whole and of fractional times.
    const auto inbox = getOptional<SiteInbox>(*signedIn("lichen"), "/api/notifications");
    QVERIFY(inbox);
    int whole = 0, fractional = 0;
    for (const SiteNotice &notice : inbox->notifications) {
        if (notice.kind == "event_published" || notice.kind == "pirep_submitted" ||
            notice.status != "approved")
            continue;
        const QString decimal = QString::number(notice.occurredAt, 'f', 1);
        const QString integer = QString::number(qint64(notice.occurredAt));
        if (std::trunc(notice.occurredAt) == notice.occurredAt) {
            QCOMPARE(decimal, integer + ".0");
            ++whole;
        } else {
            QVERIFY(!decimal.startsWith(integer + ".0"));
            ++fractional;
        }
    }
    QVERIFY(whole > 0);
    QVERIFY(fractional > 0);
}

void MemberEndpointsTest::readMarksAreRemembered() {
    const auto client = signedIn("lichen");
    const SiteInbox before = *getOptional<SiteInbox>(*client, "/api/notifications");
    QStringList unread, alreadyRead;
    for (const SiteNotice &notice : before.notifications)
        (notice.isUnread() ? unread : alreadyRead).append(notice.id);
    QVERIFY(unread.size() > 3);
    const qint64 otherUnread =
        getOptional<SiteInbox>(*signedIn("zhouning"), "/api/notifications")->unreadCount;

    const auto marked = postJson<InboxWriteResult>(*client, "/api/notifications/read",
                                                   {{"ids", QJsonArray{unread.at(0), unread.at(1), "n-0"}}});
    QVERIFY(marked.ok);
    const SiteInbox some = *getOptional<SiteInbox>(*signedIn("lichen"), "/api/notifications");
    QCOMPARE(some.unreadCount, before.unreadCount - 2);
    QVERIFY(!noticeWithId(some, unread.at(0))->isUnread());
    QVERIFY(!noticeWithId(some, unread.at(1))->isUnread());
    QVERIFY(noticeWithId(some, unread.at(2))->isUnread());
    QCOMPARE(getOptional<SiteInbox>(*signedIn("zhouning"), "/api/notifications")->unreadCount, otherUnread);

    QVERIFY(postJson<InboxWriteResult>(*client, "/api/notifications/read", {{"all", true}}).ok);
    const SiteInbox all = *getOptional<SiteInbox>(*client, "/api/notifications");
    QCOMPARE(all.unreadCount, 0);
    for (const SiteNotice &notice : all.notifications)
        QVERIFY(!notice.isUnread());
    // A notice read earlier keeps the time it was read.
    QCOMPARE(noticeWithId(all, alreadyRead.first())->readAt,
             noticeWithId(before, alreadyRead.first())->readAt);

    const auto error =
        thrown<APIError>([&] { postJson<InboxWriteResult>(*client, "/api/notifications/read", {}); });
    QVERIFY(error);
    QCOMPARE(*error, APIError(400, "请选择要标为已读的通知。"));
}

void MemberEndpointsTest::liveSnapshotShowsTheOwnFlight() {
    const auto client = signedIn("lichen");
    const auto live = getOptional<LiveResponse>(*client, "/api/infinite-flight/live");
    QVERIFY(live && live->ownFlight);
    const LiveFlight &own = *live->ownFlight;
    QCOMPARE(live->liveIdentification, std::optional<QString>("connected"));
    QVERIFY(live->updated().has_value());
    QVERIFY(live->flights.size() > 3);
    QVERIFY(std::any_of(live->flights.begin(), live->flights.end(),
                        [&](const LiveFlight &f) { return f.id == own.id; }));
    QVERIFY(std::any_of(live->flights.begin(), live->flights.end(),
                        [](const LiveFlight &f) { return f.flightId && !isUuid(*f.flightId); }));
    QVERIFY(live->members);
    const auto entry = std::find_if(live->members->begin(), live->members->end(),
                                    [](const LiveMapMember &m) { return m.username == "lichen"; });
    QVERIFY(entry != live->members->end());
    QCOMPARE(entry->flightIds, QList<QString>{own.id});
    QCOMPARE(own.isLive, std::optional<bool>(true));
    QCOMPARE(own.eventAttending, std::optional<bool>(true));
    QVERIFY(own.flightPhase);
    QVERIFY(!own.flightPhase->labels.value("zh").isEmpty());
    QVERIFY(own.sessionId && isUuid(*own.sessionId));
    QVERIFY(own.flightId && isUuid(*own.flightId));

    const auto plan = getOptional<PlanResponse>(*client, "/api/live-map/plan?sessionId=" + *own.sessionId +
                                                             "&flightId=" + *own.flightId);
    QVERIFY(plan && plan->points && plan->route);
    QVERIFY(plan->points->size() > 2);
    QCOMPARE(plan->points->first().name, own.departure);
    QCOMPARE(plan->points->last().name, own.arrival);
    // The flown track starts at the departure and ends where the flight is now.
    QCOMPARE(plan->route->first().name, own.departure);
    QVERIFY(std::abs(plan->route->last().latitude - own.latitude) < 0.5);
    QVERIFY(std::abs(plan->route->last().longitude - own.longitude) < 0.5);
}

void MemberEndpointsTest::snapshotsOfOtherAccounts() {
    // Not flying: a snapshot without an own flight, so the latest flight comes from the logbook.
    const auto zhouning = signedIn("zhouning");
    const auto live = getOptional<LiveResponse>(*zhouning, "/api/infinite-flight/live");
    QVERIFY(live);
    QVERIFY(!live->flights.isEmpty());
    QVERIFY(!live->ownFlight);
    QVERIFY(!get<RecentFlightsResponse>(*zhouning, "/api/infinite-flight/me/flights").flights.isEmpty());

    // Staff may fly too.
    const auto admin = getOptional<LiveResponse>(*signedIn("wangfang"), "/api/infinite-flight/live");
    QVERIFY(admin && admin->ownFlight);
    QCOMPARE(admin->ownFlight->pilot, std::optional<QString>("FangW"));

    // No Infinite Flight account: no snapshot at all.
    for (const QString username : {"xuhang", "sunyue"}) {
        const auto client = signedIn(username);
        QVERIFY(!getOptional<LiveResponse>(*client, "/api/infinite-flight/live"));
        QVERIFY(!getOptional<LiveResponse>(*client, "/api/infinite-flight/live?saved=1"));
    }
}

void MemberEndpointsTest::savedSnapshotIsEarlier() {
    const auto client = signedIn("lichen");
    const auto saved = getOptional<LiveResponse>(*client, "/api/infinite-flight/live?saved=1");
    const auto live = getOptional<LiveResponse>(*client, "/api/infinite-flight/live");
    QVERIFY(saved && live);
    QCOMPARE(saved->status, std::optional<QString>("saved"));
    QVERIFY(saved->updated() && live->updated());
    QVERIFY(*saved->updated() < live->updated()->addSecs(-3600));
    QVERIFY(saved->ownFlight);
    QVERIFY(saved->ownFlight->id != live->ownFlight->id);
}

void MemberEndpointsTest::plansOnlyForKnownFlights() {
    const auto client = signedIn("lichen");
    const auto live = getOptional<LiveResponse>(*client, "/api/infinite-flight/live");
    QVERIFY(live);
    int planned = 0, unplanned = 0;
    for (const LiveFlight &flight : live->flights) {
        if (!flight.sessionId || !flight.flightId)
            continue;
        const auto plan = getOptional<PlanResponse>(
            *client, "/api/live-map/plan?sessionId=" + *flight.sessionId + "&flightId=" + *flight.flightId);
        ++(plan ? planned : unplanned);
        QCOMPARE(plan.has_value(), isUuid(*flight.flightId));
    }
    QVERIFY(planned > 1 && unplanned > 0);
    QVERIFY(!getOptional<PlanResponse>(
        *client, "/api/live-map/plan?sessionId=" + QUuid::createUuid().toString(QUuid::WithoutBraces) +
                     "&flightId=" + QUuid::createUuid().toString(QUuid::WithoutBraces)));
    const auto error =
        thrown<APIError>([&] { getOptional<PlanResponse>(*client, "/api/live-map/plan?sessionId=x"); });
    QVERIFY(error);
    QCOMPARE(*error, APIError(400, "缺少航班参数。"));
}

void MemberEndpointsTest::recentFlightsAndStatistics() {
    const auto client = signedIn("lichen");
    const QList<RecentFlight> flights =
        get<RecentFlightsResponse>(*client, "/api/infinite-flight/me/flights").flights;
    QVERIFY(std::any_of(flights.begin(), flights.end(), [](const RecentFlight &f) { return isUuid(f.id); }));
    QVERIFY(std::any_of(flights.begin(), flights.end(), [](const RecentFlight &f) { return !isUuid(f.id); }));
    QVERIFY(std::any_of(flights.begin(), flights.end(),
                        [](const RecentFlight &f) { return !f.livery && !f.callsign; }));
    for (qsizetype i = 0; i < flights.size(); ++i) {
        QVERIFY2(flights.at(i).createdAt(), qPrintable(flights.at(i).id));
        if (i > 0)
            QVERIFY(*flights.at(i - 1).createdAt() > *flights.at(i).createdAt()); // newest first
    }

    const auto statistics = getOptional<IFStatistics>(*client, "/api/infinite-flight/me");
    QVERIFY(statistics);
    QCOMPARE(statistics->virtualOrganization, std::optional<QString>("Vornalia"));
    QVERIFY(statistics->flightTime.value_or(0) > 0 && statistics->landingCount.value_or(0) > 0);

    // The catalog names every aircraft the member and the events fly.
    const QList<QString> names =
        getOptional<AircraftNames>(*client, "/api/infinite-flight/aircraft")->aircraft;
    for (const Pirep &report : get<PirepResponse>(*client, "/api/pireps").pireps)
        QVERIFY2(names.contains(report.aircraft), qPrintable(report.aircraft));
    for (const FlightEvent &event :
         get<UpcomingResponse>(*client, "/api/events/upcoming?window=claim").events) {
        QVERIFY2(names.contains(event.aircraft), qPrintable(event.aircraft));
        for (const AircraftOption &option : event.aircraftOptions.value_or(QList<AircraftOption>{}))
            QVERIFY2(names.contains(option.aircraft), qPrintable(option.aircraft));
    }
}

void MemberEndpointsTest::passwordChangeRefusals_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing") << "temporary-123"
                             << ""
                             << ""
                             << "请填写当前密码和新密码。";
    QTest::newRow("confirmation differs") << "temporary-123"
                                          << "cloud-base-900"
                                          << "cloud-base-901"
                                          << "两次输入的新密码不一致。";
    QTest::newRow("too short") << "temporary-123"
                               << "short"
                               << "short"
                               << "新密码至少需要 8 位。";
    QTest::newRow("wrong current") << "temporary-124"
                                   << "cloud-base-900"
                                   << "cloud-base-900"
                                   << "当前密码不正确。";
    QTest::newRow("unchanged") << "temporary-123"
                               << "temporary-123"
                               << "temporary-123"
                               << "新密码不能与当前密码相同。";
}

void MemberEndpointsTest::passwordChangeRefusals() {
    QFETCH(QString, current);
    QFETCH(QString, next);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    User user;
    const auto client = signedIn("zhouning", &user);
    const auto error = thrown<APIError>([&] {
        postJson<Acknowledgement>(
            *client, "/api/account/password",
            {{"currentPassword", current}, {"newPassword", next}, {"confirmPassword", confirm}});
    });
    QVERIFY(error);
    QCOMPARE(*error, APIError(400, message));
    QCOMPARE(await(client->accountGate(user)), AccountGate::Password);
}

void MemberEndpointsTest::passwordChangeClearsTheRequirement() {
    User user;
    const auto client = signedIn("zhouning", &user);
    QCOMPARE(await(client->accountGate(user)), AccountGate::Password);
    const auto ack = postJson<Acknowledgement>(*client, "/api/account/password",
                                               {{"currentPassword", "temporary-123"},
                                                {"newPassword", "cloud-base-900"},
                                                {"confirmPassword", "cloud-base-900"}});
    QCOMPARE(ack.ok, std::optional<bool>(true));
    QCOMPARE(await(client->accountGate(user)), AccountGate::Ready);

    const auto fresh = m_site->client();
    const auto old = thrown<APIError>([&] { await(fresh->login("zhouning", "temporary-123", false)); });
    QVERIFY(old);
    QCOMPARE(old->status(), 401);
    QCOMPARE(await(fresh->login("zhouning", "cloud-base-900", false)).username, QString("zhouning"));
}

void MemberEndpointsTest::profileSetUpEndsOnceComplete() {
    User user;
    const auto client = signedIn("xuhang", &user);
    QCOMPARE(await(client->accountGate(user)), AccountGate::Profile);
    const auto save = [&](const QString &wechat, const QString &email, const QString &callsign) {
        return postJson<Acknowledgement>(*client, "/api/profile",
                                         {{"wechatName", wechat},
                                          {"discordUsername", ""},
                                          {"contactEmail", email},
                                          {"callsign", callsign}});
    };

    QCOMPARE(save("徐航", "", "").ok, std::optional<bool>(true));
    QCOMPARE(await(client->accountGate(user)), AccountGate::Profile);

    const auto badEmail = thrown<APIError>([&] { save("徐航", "xuhang.example.com", "518"); });
    QVERIFY(badEmail);
    QCOMPARE(*badEmail, APIError(400, "联系邮箱格式不正确。"));
    const auto taken = thrown<APIError>([&] { save("徐航", "xuhang@example.com", "207"); });
    QVERIFY(taken);
    QCOMPARE(*taken, APIError(409, "呼号 207 已被其他成员使用。"));
    const auto letters = thrown<APIError>([&] { save("徐航", "xuhang@example.com", "B518"); });
    QVERIFY(letters);
    QCOMPARE(letters->status(), 400);
    QCOMPARE(await(client->accountGate(user)), AccountGate::Profile);

    save("徐航", "xuhang@example.com", "518");
    QCOMPARE(await(client->accountGate(user)), AccountGate::Ready);
    const Profile profile = get<ProfileResponse>(*client, "/api/profile").profile;
    QCOMPARE(profile.wechatName, QString("徐航"));
    QCOMPARE(profile.contactEmail, QString("xuhang@example.com"));
    QCOMPARE(profile.callsign, QString("518"));
    QVERIFY(!profile.discordUsername);
}

QTEST_MAIN(MemberEndpointsTest)
#include "tst_member_endpoints.moc"
