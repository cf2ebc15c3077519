// The Live forms without a window: the authorisation browser's navigation decisions and its one report, the
// schedule application form, the review of an application, the aircraft page and the schedule card, the
// writes against the sample member service over HTTPS.
#include "Json.h"
#include "LiveAircraftPageModel.h"
#include "LiveApplicationFormModel.h"
#include "LiveApplicationReviewModel.h"
#include "LiveAuthorizationCoordinator.h"
#include "LiveScheduleCard.h"
#include "MemberTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

#include <optional>

#include <unistd.h>

using namespace TestSupport;
using Sample::Fault;
using Sample::Reply;
using Sample::Request;

namespace {

const QString callbackPath = "/api/live-schedules/authorization-callback";

QString callback(const QString &rest = "?code=c1&state=s1")
{
    return QString("https://") + ServiceHosts::secondHost + callbackPath + rest;
}

template <typename T>
T decode(const QByteArray &json)
{
    return T::fromJson(Json::parse(json));
}

LiveSchedule schedule(const QByteArray &extra)
{
    return decode<LiveSchedule>(R"({"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS")"
                                + extra + "}");
}

LiveFleetItemValue fleetItem(const QByteArray &aircraft, const QByteArray &schedules = "[]")
{
    LiveFleetItemValue value;
    value.item.organization = decode<LiveOrganization>(
        R"({"id":"org-vornalia","name":"Vornalia Virtual","aircraft":[],"schedules":[]})");
    value.item.aircraft = decode<LiveAircraft>(aircraft);
    for (const QJsonValue &row : Json::parse(schedules).toArray())
        value.item.schedules.append(LiveSchedule::fromJson(row));
    return value;
}

LiveFleetItemValue b30a4()
{
    return fleetItem(
        R"({"id":"ac-104","registration":"B-30A4","aircraft":"Boeing 787-9","livery":"Vornalia"})");
}

LiveApplicationValue application(const QString &id, const QString &status)
{
    return {LiveApplication::fromJson(QJsonObject{{"id", id},
                                                  {"username", "lichen"},
                                                  {"organization", "Vornalia Virtual"},
                                                  {"registration", "B-30A4"},
                                                  {"departure", "ZBAA"},
                                                  {"arrival", "ZSSS"},
                                                  {"status", status},
                                                  {"reviewNote", ""}})};
}

QJsonObject sentBody(const Sample::Service &service, const QString &path)
{
    const QList<Request> sent = service.requestsTo(path);
    return sent.isEmpty() ? QJsonObject() : sent.constLast().json().toObject();
}

} // namespace

class LiveFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void navigationDecisions_data();
    void navigationDecisions();
    void pageIsHeardWhereAScreenReaderListens_data();
    void pageIsHeardWhereAScreenReaderListens();
    void sandboxOffOnlyAsRoot_data();
    void sandboxOffOnlyAsRoot();
    void sandboxDecidedForThisProcess();
    void callbackIsReplayedOnceAndReportedOnce();
    void callbackReplayFailures_data();
    void callbackReplayFailures();
    void loadFailuresReportOnceAndOnlyBeforeTheCallback();
    void firstPageHasItsTimeOut();
    void vendorCertificatesOnlyByTheOverride();

    void airportCodes_data();
    void airportCodes();
    void formValidity();
    void formBodies();
    void applyAgainstTheService();
    void applyFailures_data();
    void applyFailures();
    void applicationOutlivesAnEndedSession();

    void reviewModesAndValidity();
    void reviewReasonByChoice_data();
    void reviewReasonByChoice();
    void reviewBodies_data();
    void reviewBodies();
    void reviewAgainstTheService();
    void reviewOutcomeTexts_data();
    void reviewOutcomeTexts();

    void scheduleCardTexts();
    void aircraftPage();

private:
    Sample::Service &service() { return *m_site.service; }
    Site m_site;
};

void LiveFormsTest::initTestCase()
{
    QVERIFY(m_site.started);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void LiveFormsTest::init()
{
    service().clearFaults();
    service().clearRequests();
}

void LiveFormsTest::navigationDecisions_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<bool>("caught");
    const QString second = QString("https://") + ServiceHosts::secondHost;
    QTest::newRow("vendor page") << "https://api.infiniteflight.com/oauth/authorize?state=s" << true << false;
    QTest::newRow("another https page") << "https://community.infiniteflight.com/t/1" << true << false;
    QTest::newRow("second host, other page") << second + "/live" << true << false;
    QTest::newRow("callback") << callback() << false << true;
    QTest::newRow("callback with port") << second + ":8443" + callbackPath + "?code=c" << false << true;
    QTest::newRow("callback without query") << second + callbackPath << false << true;
    QTest::newRow("callback path in other case")
        << second + "/api/live-schedules/Authorization-Callback?code=c" << true << false;
    QTest::newRow("callback on http")
        << QString("http://") + ServiceHosts::secondHost + callbackPath + "?code=c" << false << false;
    QTest::newRow("callback on the member site")
        << QString("https://") + ServiceHosts::memberHost + callbackPath + "?code=c" << true << false;
    QTest::newRow("http") << "http://api.infiniteflight.com/oauth/authorize" << false << false;
    QTest::newRow("about") << "about:blank" << false << false;
    QTest::newRow("data") << "data:text/html,<p>hi</p>" << false << false;
    QTest::newRow("custom scheme") << "vorna://live-map/own-flight" << false << false;
    QTest::newRow("no scheme") << "api.infiniteflight.com/oauth" << false << false;
    QTest::newRow("no address") << "" << false << false;
}

void LiveFormsTest::navigationDecisions()
{
    QFETCH(QString, url);
    QFETCH(bool, allowed);
    QFETCH(bool, caught);
    LiveAuthorizationCoordinator coordinator;
    QCOMPARE(coordinator.allows(QUrl(url)), allowed);
    QCOMPARE(coordinator.finished(), caught);
    // Whatever comes after a caught callback, a second one is never replayed.
    if (caught)
        QCOMPARE(coordinator.allows(QUrl(callback())), false);
}

void LiveFormsTest::pageIsHeardWhereAScreenReaderListens_data()
{
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<bool>("heard");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("no reader") << QByteArray("--disable-gpu") << false << QByteArray("--disable-gpu");
    QTest::newRow("a reader, no flags")
        << QByteArray() << true << QByteArray("--force-renderer-accessibility");
    QTest::newRow("a reader, other flags")
        << QByteArray("--disable-gpu") << true << QByteArray("--disable-gpu --force-renderer-accessibility");
    QTest::newRow("already on") << QByteArray("--force-renderer-accessibility --disable-gpu") << true
                                << QByteArray("--force-renderer-accessibility --disable-gpu");
}

// Regression: the vendor's sign-in was an empty document to a screen reader.
void LiveFormsTest::pageIsHeardWhereAScreenReaderListens()
{
    QFETCH(QByteArray, flags);
    QFETCH(bool, heard);
    QFETCH(QByteArray, expected);
    QCOMPARE(LiveAuthorizationCoordinator::chromiumFlags(flags, heard), expected);
}

void LiveFormsTest::sandboxOffOnlyAsRoot_data()
{
    QTest::addColumn<uint>("user");
    QTest::addColumn<bool>("withoutSandbox");
    QTest::newRow("root") << 0u << true;
    QTest::newRow("a member's own account") << 1000u << false;
    QTest::newRow("the first system account") << 1u << false;
}

// The decision is read for a given user: these tests run as root, where the process's own would answer
// true whatever the rule. Regression: as root, Chromium refused its sandbox and ended the whole app.
void LiveFormsTest::sandboxOffOnlyAsRoot()
{
    QFETCH(uint, user);
    QFETCH(bool, withoutSandbox);
    QCOMPARE(LiveAuthorizationCoordinator::startsWithoutSandbox(uid_t(user)), withoutSandbox);
}

// The browser's start reads the user this process runs as: as root (as these tests usually run) the sandbox
// is off; run by anyone else it stays on. A root process reads the second case as another user for a moment.
void LiveFormsTest::sandboxDecidedForThisProcess()
{
    const char *const variable = "QTWEBENGINE_DISABLE_SANDBOX";
    const QByteArray was = qgetenv(variable);
    const auto restore = qScopeGuard([&] {
        if (was.isNull())
            qunsetenv(variable);
        else
            qputenv(variable, was);
    });
    const auto sandboxOffAs = [variable](std::optional<uid_t> user) {
        qunsetenv(variable);
        if (user && seteuid(*user) != 0)
            return std::optional<bool>();
        {
            LiveAuthorizationCoordinator browser;
        }
        if (user && seteuid(0) != 0)
            qFatal("could not become root again");
        return std::optional<bool>(qgetenv(variable) == "1");
    };
    QCOMPARE(sandboxOffAs(std::nullopt), std::optional<bool>(geteuid() == 0));
    if (geteuid() != 0)
        return;
    const uid_t nobody = 65534;
    QCOMPARE(sandboxOffAs(nobody), std::optional<bool>(false));
    QCOMPARE(geteuid(), uid_t(0));
}

void LiveFormsTest::callbackIsReplayedOnceAndReportedOnce()
{
    const auto app = signedInApp(m_site, "lichen");
    LiveAuthorizationCoordinator coordinator;
    coordinator.setClient(app->api());
    QSignalSpy completed(&coordinator, &LiveAuthorizationCoordinator::completed);
    service().clearRequests();
    // A redirect and then a reload of the callback: both cancelled, the first replayed.
    QVERIFY(!coordinator.allows(QUrl(callback("?code=a%2Bb&state=s1"))));
    QVERIFY(!coordinator.allows(QUrl(callback("?code=other&state=s2"))));
    // A page that fails to load after the callback was caught changes nothing.
    coordinator.failed("net::ERR_ABORTED");
    QTRY_COMPARE(completed.size(), 1);
    QCOMPARE(completed.constFirst(), (QVariantList{true, QString()}));
    const QList<Request> replays = service().requestsTo(callbackPath);
    QCOMPARE(replays.size(), 1);
    QCOMPARE(replays.constFirst().query.toString(QUrl::FullyEncoded), QString("code=a%2Bb&state=s1"));
    QVERIFY(replays.constFirst().cookies.contains(Sample::Service::sessionCookie));
    QTest::qWait(0);
    QCOMPARE(completed.size(), 1);
}

void LiveFormsTest::callbackReplayFailures_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("replays");
    QTest::newRow("explicit port") << QString("https://") + ServiceHosts::secondHost + ":443" + callbackPath
                                          + "?code=c&state=s"
                                   << "无效的授权回调。" << 0;
    // Replayed as the bare path, which the service does not take.
    QTest::newRow("no query") << callback("") << "授权未完成，请重新连接。" << 1;
}

void LiveFormsTest::callbackReplayFailures()
{
    QFETCH(QString, url);
    QFETCH(QString, message);
    QFETCH(int, replays);
    const auto app = signedInApp(m_site, "lichen");
    LiveAuthorizationCoordinator coordinator;
    coordinator.setClient(app->api());
    QSignalSpy completed(&coordinator, &LiveAuthorizationCoordinator::completed);
    service().clearRequests();
    QVERIFY(!coordinator.allows(QUrl(url)));
    QVERIFY(coordinator.finished());
    QTRY_COMPARE(completed.size(), 1);
    QCOMPARE(completed.constFirst(), (QVariantList{false, message}));
    QCOMPARE(service().requestsTo(callbackPath).size(), replays);
    if (replays == 1)
        QVERIFY(service().requestsTo(callbackPath).constFirst().query.isEmpty());
}

void LiveFormsTest::loadFailuresReportOnceAndOnlyBeforeTheCallback()
{
    LiveAuthorizationCoordinator coordinator;
    QSignalSpy completed(&coordinator, &LiveAuthorizationCoordinator::completed);
    // A refused http page is silent.
    QVERIFY(!coordinator.allows(QUrl("http://api.infiniteflight.com/")));
    QCOMPARE(completed.size(), 0);
    coordinator.failed("net::ERR_CONNECTION_REFUSED");
    coordinator.failed("net::ERR_NAME_NOT_RESOLVED");
    QCOMPARE(completed.size(), 1);
    QCOMPARE(completed.constFirst(), (QVariantList{false, QString("net::ERR_CONNECTION_REFUSED")}));
    QVERIFY(coordinator.reported());
}

void LiveFormsTest::firstPageHasItsTimeOut()
{
    QCOMPARE(LiveAuthorizationCoordinator::requestTimeoutMs, 60'000);
    LiveAuthorizationCoordinator coordinator;
    QSignalSpy completed(&coordinator, &LiveAuthorizationCoordinator::completed);
    coordinator.start();
    QVERIFY(coordinator.waiting());
    // The first page arrived: its time-out no longer runs.
    coordinator.pageLoaded();
    QVERIFY(!coordinator.waiting());

    LiveAuthorizationCoordinator slow;
    QSignalSpy slowCompleted(&slow, &LiveAuthorizationCoordinator::completed);
    slow.start();
    slow.timedOut();
    QCOMPARE(slowCompleted.size(), 1);
    QCOMPARE(slowCompleted.constFirst(), (QVariantList{false, QString("请求超时，请检查网络连接后重试。")}));
    QVERIFY(!slow.waiting());
    QCOMPARE(completed.size(), 0);
}

void LiveFormsTest::vendorCertificatesOnlyByTheOverride()
{
    const QSslCertificate sample = Sample::Service::certificate();
    const QUrl origin = service().origin();
    const auto vendor = ServiceHosts::parseOverride(origin.toString(), QString());
    QVERIFY(vendor);
    ServiceHosts::MemberEndpoint trusted = *vendor;
    trusted.trustedCertificates = {sample};
    QUrl page = origin;
    page.setPath("/oauth/authorize");
    QVERIFY(ServiceHosts::isLiveVendorPage(page, trusted));
    QVERIFY(LiveAuthorizationCoordinator::trusts(page, {sample}, trusted));
    // Not without the override's certificates, not another port, not plain http, not the fixed vendor.
    QVERIFY(!LiveAuthorizationCoordinator::trusts(page, {sample}, *vendor));
    QUrl otherPort = page;
    otherPort.setPort(origin.port() + 1);
    QVERIFY(!LiveAuthorizationCoordinator::trusts(otherPort, {sample}, trusted));
    QUrl http = page;
    http.setScheme("http");
    QVERIFY(!LiveAuthorizationCoordinator::trusts(http, {sample}, trusted));
    QVERIFY(!LiveAuthorizationCoordinator::trusts(QUrl("https://api.infiniteflight.com/"), {sample},
                                                  ServiceHosts::fixedLiveVendorEndpoint()));
    QVERIFY(ServiceHosts::isLiveVendorPage(QUrl("https://api.infiniteflight.com/oauth/authorize?x=1"),
                                           ServiceHosts::fixedLiveVendorEndpoint()));
    QVERIFY(!ServiceHosts::isLiveVendorPage(QUrl("https://api.infiniteflight.com:8443/oauth"),
                                            ServiceHosts::fixedLiveVendorEndpoint()));
}

void LiveFormsTest::airportCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::newRow("upper") << "ZBAA" << true;
    QTest::newRow("lower") << "zbaa" << true;
    QTest::newRow("one") << "Z" << true;
    QTest::newRow("eight") << "ABCD1234" << true;
    QTest::newRow("nine") << "ABCD12345" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank inside") << "ZB AA" << false;
    QTest::newRow("blank before") << " ZBAA" << false;
    QTest::newRow("blank after") << "ZBAA " << false;
    // Regression: an end-of-text anchor that allowed a final line break let "ZBAA\n" through.
    QTest::newRow("line break after") << "ZBAA\n" << false;
    QTest::newRow("hyphen") << "ZB-A" << false;
    QTest::newRow("non-ASCII letter") << "ZBÄA" << false;
    QTest::newRow("full-width digit") << "ZB１A" << false;
}

void LiveFormsTest::airportCodes()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(LiveApplicationFormModel::isAirportCode(code), valid);
}

void LiveFormsTest::formValidity()
{
    LiveApplicationFormModel form;
    form.setItem(b30a4());
    // A fresh form: empty codes and no time, so nothing can be sent yet.
    QVERIFY(form.timeless());
    QVERIFY(!form.valid());
    form.setDeparture("zbaa");
    QVERIFY(!form.valid());
    form.setArrival("zsss");
    QVERIFY(form.valid());

    // The initial window (now and two hours later) is valid; an arrival at the departure is not.
    form.setTimeless(false);
    QVERIFY(form.valid());
    const QDateTime departure(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
    form.setDepartureTime(departure);
    form.setArrivalTime(departure);
    QVERIFY(!form.valid());
    form.setArrivalTime(departure.addSecs(1));
    QVERIFY(form.valid());
    // The dates are not looked at without a time.
    form.setArrivalTime(departure.addSecs(-60));
    form.setTimeless(true);
    QVERIFY(form.valid());

    // Lengths count what a reader sees: a letter with its accent is one.
    form.setBriefing(QString("e\u0301").repeated(4000));
    QVERIFY(form.valid());
    form.setBriefing(QString("a").repeated(4001));
    QVERIFY(!form.valid());
    form.setBriefing(QString());
    form.setFlightPlan(QString("a").repeated(16000));
    QVERIFY(form.valid());
    form.setFlightPlan(QString("a").repeated(16001));
    QVERIFY(!form.valid());

    // The time fields read and show local minutes; a text that is no time leaves the time as it was.
    form.setDepartureText("2026-12-24 18:30");
    QCOMPARE(form.departureTime(), QDateTime(QDate(2026, 12, 24), QTime(18, 30), Qt::LocalTime).toUTC());
    QCOMPARE(form.departureText(), QString("2026-12-24 18:30"));
    form.setDepartureText("2026-13-40 99:99");
    QCOMPARE(form.departureText(), QString("2026-12-24 18:30"));
}

void LiveFormsTest::formBodies()
{
    LiveApplicationFormModel form;
    form.setItem(b30a4());
    form.setDeparture("zbaa");
    form.setArrival("Zsss");
    form.setBriefing("  经 A461 航路 \n");
    form.setFlightPlan("ZBAA A461 ZSSS");
    form.setDepartureTime(QDateTime(QDate(2026, 1, 31), QTime(8, 5, 0, 789), Qt::UTC));
    form.setArrivalTime(QDateTime(QDate(2026, 1, 31), QTime(10, 5, 30), Qt::UTC));
    // No time: the times are not sent, whatever the fields hold.
    QCOMPARE(form.body(), Json::parse(R"({"organizationId":"org-vornalia","organization":"Vornalia Virtual",
                 "registration":"B-30A4","aircraft":"Boeing 787-9 · Vornalia",
                 "schedule":{"originIcao":"ZBAA","destinationIcao":"ZSSS","flightType":0,"isTimeless":true,
                 "briefing":"  经 A461 航路 \n","flightPlan":"ZBAA A461 ZSSS"}})")
                              .toObject());
    form.setTimeless(false);
    const QJsonObject timed = form.body().value("schedule").toObject();
    QCOMPARE(timed.value("isTimeless"), QJsonValue(false));
    QCOMPARE(timed.value("scheduledDepartureUtc").toString(), QString("2026-01-31T08:05:00Z"));
    QCOMPARE(timed.value("scheduledArrivalUtc").toString(), QString("2026-01-31T10:05:30Z"));

    // The aircraft line: absent names are left out with their separator, an empty one keeps its place.
    const QList<QPair<QByteArray, QString>> names{
        {R"({"id":"a","registration":"B-1","aircraft":"Airbus A320"})", "Airbus A320"},
        {R"({"id":"a","registration":"B-1","livery":"Vornalia"})", "Vornalia"},
        {R"({"id":"a","registration":"B-1"})", ""},
        {R"({"id":"a","registration":"B-1","aircraft":"Airbus A320","livery":""})", "Airbus A320 · "}};
    for (const auto &[aircraft, sent] : names) {
        form.setItem(fleetItem(aircraft));
        QCOMPARE(form.body().value("aircraft").toString(), sent);
    }
}

void LiveFormsTest::applyAgainstTheService()
{
    const auto app = signedInApp(m_site, "lichen");
    LiveApplicationFormModel form;
    form.setAppState(app.get());
    form.setItem(fleetItem(R"({"id":"ac-108","registration":"B-30A8","aircraft":"Airbus A330-300"})"));
    form.setDeparture("zsss");
    form.setArrival("zggg");
    QSignalSpy submitted(&form, &LiveApplicationFormModel::submitted);
    QSignalSpy dismissed(&form, &LiveApplicationFormModel::dismissed);
    service().clearRequests();
    // A second press while the first runs sends nothing more.
    auto first = form.apply();
    QVERIFY(form.busy());
    await(form.apply());
    await(std::move(first));
    QCOMPARE(service().requestsTo("/api/live-schedules/apply").size(), 1);
    QCOMPARE(sentBody(service(), "/api/live-schedules/apply"), form.body());
    QCOMPARE(service().requestsTo("/api/live-schedules/apply").constFirst().header("Content-Type"),
             QByteArray("application/json"));
    QCOMPARE(submitted.size(), 1);
    QCOMPARE(dismissed.size(), 1);
    QVERIFY(!form.busy());
    QCOMPARE(form.message(), QString());

    // The service keeps it: the member's list now starts with it, pending.
    const auto page =
        await(APIClient::get<LiveApplications>(app->api(), "/api/live-schedules/applications?page=1"));
    QCOMPARE(page.applications.constFirst().registration, QString("B-30A8"));
    QCOMPARE(page.applications.constFirst().departure, QString("ZSSS"));
    QCOMPARE(page.applications.constFirst().status, QString("pending"));
}

void LiveFormsTest::applicationOutlivesAnEndedSession()
{
    // Regression: an application being written was lost when the session ended under it.
    const auto app = signedInApp(m_site, "lichen");
    const auto item = fleetItem(R"({"id":"ac-108","registration":"B-30A8","aircraft":"Airbus A330-300"})");
    auto form = std::make_unique<LiveApplicationFormModel>();
    form->setAppState(app.get());
    form->setItem(item);
    form->reset();
    form->setDeparture("zsss");
    form->setArrival("zggg");
    form->setBriefing("跟随活动编队");
    service().expireSessions();
    await(form->apply());
    QVERIFY(!app->signedIn());
    form.reset();

    await(app->signIn("lichen", "fly-vornalia", false));
    const auto opened = [&](const LiveFleetItemValue &aircraft) {
        auto fresh = std::make_unique<LiveApplicationFormModel>();
        fresh->setAppState(app.get());
        fresh->setItem(aircraft);
        fresh->reset();
        return fresh;
    };
    // Another aircraft's form opens empty; this one's comes back as it was, once.
    QCOMPARE(opened(fleetItem(R"({"id":"ac-109","registration":"B-30A9","aircraft":"Airbus A330-300"})"))
                 ->briefing(),
             QString());
    form = opened(item);
    QCOMPARE(form->departure(), QString("zsss"));
    QCOMPARE(form->arrival(), QString("zggg"));
    QCOMPARE(form->briefing(), QString("跟随活动编队"));
    QCOMPARE(opened(item)->briefing(), QString());
}

void LiveFormsTest::applyFailures_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QByteArray>("aircraft");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("uncertain");
    const QString advice = "\n请返回查看申请列表，确认结果后再申请，避免重复提交。";
    // Refusals: nothing was stored, so the opener has nothing to reload.
    QTest::newRow("403 unlinked") << "hejing" << QByteArray(R"({"id":"ac-102","registration":"B-30A2"})") << 0
                                  << "请先连接 Infinite Flight 账号。" << false;
    QTest::newRow("400") << "lichen" << QByteArray(R"({"id":"ac-102","registration":"B-30A2"})") << 400
                         << "样例服务按要求返回 400。" << false;
    QTest::newRow("403 in storage") << "lichen" << QByteArray(R"({"id":"ac-107","registration":"B-30A7"})")
                                    << 0 << "这架飞机已封存，暂不接受排班申请。" << false;
    // Any other end may follow an application that was stored: the opener reloads to show it.
    // Regression: a 409 (already applied, the admin's own B-30A8) was shown bare, as a refusal, and the Live
    // page was not reloaded to show the application it names.
    QTest::newRow("409 already applied")
        << "wangfang" << QByteArray(R"({"id":"ac-108","registration":"B-30A8"})") << 0
        << "你已申请过这架飞机，请等待审核。" + advice << true;
    QTest::newRow("500") << "lichen" << QByteArray(R"({"id":"ac-106","registration":"B-30A6"})") << 500
                         << "样例服务按要求返回 500。" + advice << true;
    QTest::newRow("unreadable") << "lichen" << QByteArray(R"({"id":"ac-107","registration":"B-30A7"})") << 502
                                << "服务器数据格式暂时无法识别，请刷新后重试。" + advice << true;
}

void LiveFormsTest::applyFailures()
{
    QFETCH(QString, username);
    QFETCH(QByteArray, aircraft);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(bool, uncertain);
    const auto app = signedInApp(m_site, username);
    LiveApplicationFormModel form;
    form.setAppState(app.get());
    form.setItem(fleetItem(aircraft));
    form.setDeparture("ZSSS");
    form.setArrival("ZGGG");
    if (status == 502)
        // Whatever the service would have made of it (B-30A7 is in storage), the answer cannot be read.
        service().setFault("/api/live-schedules/apply",
                           Fault{.json = QJsonValue("accepted"), .unheard = true});
    else if (status != 0)
        service().setFault("/api/live-schedules/apply", Fault{.status = status});
    QSignalSpy submitted(&form, &LiveApplicationFormModel::submitted);
    QSignalSpy dismissed(&form, &LiveApplicationFormModel::dismissed);
    await(form.apply());
    QCOMPARE(form.message(), message);
    QCOMPARE(submitted.size(), uncertain ? 1 : 0);
    QCOMPARE(dismissed.size(), 0);
    QVERIFY(!form.busy());
    if (!uncertain)
        return;

    // The failure stays in sight while the next press runs; one that is taken closes the sheet.
    service().clearFaults();
    form.setItem(status == 500 ? fleetItem(R"({"id":"ac-103","registration":"B-30A3"})")
                               : fleetItem(R"({"id":"ac-101","registration":"B-30A1"})"));
    auto again = form.apply();
    QVERIFY(form.busy());
    QCOMPARE(form.message(), message);
    await(std::move(again));
    QCOMPARE(dismissed.size(), 1);
    QCOMPARE(submitted.size(), 2);
}

void LiveFormsTest::reviewModesAndValidity()
{
    LiveApplicationReviewModel review;
    const QList<QPair<QString, LiveApplicationReviewModel::Mode>> modes{
        {"pending", LiveApplicationReviewModel::Decision},
        {"processing", LiveApplicationReviewModel::Verification},
        {"needs_review", LiveApplicationReviewModel::Verification},
        {"approved", LiveApplicationReviewModel::ReadOnly},
        {"rejected", LiveApplicationReviewModel::ReadOnly},
        {"Pending", LiveApplicationReviewModel::ReadOnly},
        {"withdrawn", LiveApplicationReviewModel::ReadOnly}};
    for (const auto &[status, mode] : modes) {
        review.setItem(application("app-1", status));
        QCOMPARE(review.mode(), mode);
        if (mode == LiveApplicationReviewModel::ReadOnly)
            QVERIFY(!review.valid());
    }

    review.setItem(application("app-1", "pending"));
    QVERIFY(review.valid()); // an approval needs nothing typed
    review.setDecision("rejected");
    QVERIFY(!review.valid());
    review.setReason(" \n\t ");
    QVERIFY(!review.valid());
    review.setReason(QString("r").repeated(500));
    QVERIFY(review.valid());
    review.setReason(QString("r").repeated(501));
    QVERIFY(!review.valid());
    // The length is taken as typed, before trimming.
    review.setReason(QString("r").repeated(498) + "   ");
    QVERIFY(!review.valid());

    review.setItem(application("app-1", "processing"));
    review.setReason("已在官方排班中找到。");
    review.setScheduleId(" 3F2504E0-4F89-11D3-9A0C-0305E82C3301 ");
    QVERIFY(!review.valid()); // the reviewer has not confirmed his check
    review.setChecked(true);
    QVERIFY(review.valid());
    review.setScheduleId("3F2504E0-4F89-11D3-9A0C-0305E82C330");
    QVERIFY(!review.valid());
    review.setScheduleId("{3F2504E0-4F89-11D3-9A0C-0305E82C3301}");
    QVERIFY(!review.valid());
    review.setOutcome("not_created"); // the id is not looked at
    QVERIFY(review.valid());
    review.setReason(QString());
    QVERIFY(!review.valid());
}

void LiveFormsTest::reviewReasonByChoice_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("choice"); // the decision, or the verification's outcome
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("asked"); // the form shows the field
    QTest::addColumn<bool>("valid");
    const auto row = [](const QString &name, const QString &status, const QString &choice,
                        const QString &reason, bool asked, bool valid) {
        QTest::newRow(qPrintable(name)) << status << choice << reason << asked << valid;
    };
    const QString reason = QStringLiteral("该时段飞机已被占用。");
    const QString tooLong = QString("r").repeated(501);
    row("approve, nothing typed", "pending", "approved", "", false, true);
    // A reason left in the hidden field is not looked at.
    row("approve, blanks left", "pending", "approved", " \n ", false, true);
    row("approve, too long left", "pending", "approved", tooLong, false, true);
    row("reject, nothing typed", "pending", "rejected", "", true, false);
    row("reject, blanks", "pending", "rejected", " \n\t", true, false);
    row("reject, too long", "pending", "rejected", tooLong, true, false);
    row("reject, a reason", "pending", "rejected", reason, true, true);
    for (const QString status : {"processing", "needs_review"}) {
        for (const QString outcome : {"created", "not_created", "rejected"}) {
            row(status + ", " + outcome + ", no note", status, outcome, "", true, false);
            row(status + ", " + outcome + ", blanks", status, outcome, "\n  ", true, false);
            row(status + ", " + outcome + ", a note", status, outcome, reason, true, true);
        }
    }
    row("approved, nothing to decide", "approved", "", reason, false, false);
    row("rejected, nothing to decide", "rejected", "rejected", reason, false, false);
}

// Regression: nothing failed when the reason field showed, or was required, for a decision other than its
// own.
void LiveFormsTest::reviewReasonByChoice()
{
    QFETCH(QString, status);
    QFETCH(QString, choice);
    QFETCH(QString, reason);
    QFETCH(bool, asked);
    QFETCH(bool, valid);
    LiveApplicationReviewModel review;
    review.setItem(application("app-1", status));
    // All else is in order: only the reason decides.
    review.setScheduleId("3f2504e0-4f89-11d3-9a0c-0305e82c3301");
    review.setChecked(true);
    if (review.mode() == LiveApplicationReviewModel::Decision)
        review.setDecision(choice);
    else
        review.setOutcome(choice);
    review.setReason(reason);
    QCOMPARE(review.asksReason(), asked);
    QCOMPARE(review.valid(), valid);
}

void LiveFormsTest::reviewBodies_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("confirmation");
    QTest::newRow("approve") << "pending"
                             << "approved"
                             << "application-approve"
                             << R"({"id":"app-1","reason":""})"
                             << "将创建官方排班并指派申请人为机长。";
    QTest::newRow("reject") << "pending"
                            << "rejected"
                            << "application-reject"
                            << R"({"id":"app-1","reason":"该时段已有排班。"})"
                            << "确认不批准此申请？";
    QTest::newRow("created")
        << "processing"
        << "created"
        << "application-resolve"
        << R"({"id":"app-1","confirmed":true,"outcome":"created","reason":"该时段已有排班。",
                                    "scheduleId":"3f2504e0-4f89-11d3-9a0c-0305e82c3301"})"
        << "只保存你已核对的结果，不会自动重建排班。";
    // Regression: a schedule id left in the field that "not_created" hides was sent along.
    QTest::newRow("not created") << "needs_review"
                                 << "not_created"
                                 << "application-resolve"
                                 << R"({"id":"app-1","confirmed":true,"outcome":"not_created",
                                        "reason":"该时段已有排班。","scheduleId":""})"
                                 << "只保存你已核对的结果，不会自动重建排班。";
    QTest::newRow("rejected")
        << "processing"
        << "rejected"
        << "application-resolve"
        << R"({"id":"app-1","confirmed":true,"outcome":"rejected","reason":"该时段已有排班。",
                                     "scheduleId":""})"
        << "只保存你已核对的结果，不会自动重建排班。";
}

void LiveFormsTest::reviewBodies()
{
    QFETCH(QString, status);
    QFETCH(QString, choice);
    QFETCH(QString, request);
    QFETCH(QString, body);
    QFETCH(QString, confirmation);
    LiveApplicationReviewModel review;
    review.setItem(application("app-1", status));
    review.setReason("\n 该时段已有排班。 ");
    review.setScheduleId("  3f2504e0-4f89-11d3-9a0c-0305e82c3301\n");
    review.setChecked(true);
    if (status == "pending") {
        // Regression: a reason typed under a rejection went along with a later approval.
        review.setDecision("rejected");
        review.setDecision(choice);
    } else {
        review.setOutcome(choice);
    }
    QCOMPARE(review.requestName(), request);
    QCOMPARE(review.body(), Json::parse(body.toUtf8()).toObject());
    QCOMPARE(review.confirmMessage(), confirmation);
}

void LiveFormsTest::reviewAgainstTheService()
{
    const auto app = signedInApp(m_site, "wangfang");
    LiveApplicationReviewModel review;
    review.setAppState(app.get());
    review.setItem(application("app-10", "pending"));
    int reloads = 0;
    review.setChanged([&reloads]() -> QCoro::Task<> {
        ++reloads;
        co_return;
    });
    review.setDecision("rejected");
    review.setReason("该时段飞机已被占用。");
    review.ask();
    QVERIFY(review.confirming());
    // Confirming twice quickly sends once.
    auto first = review.submit();
    QVERIFY(!review.confirming());
    QVERIFY(review.locked());
    await(review.submit());
    await(std::move(first));
    QCOMPARE(service().requestsTo("/api/live-schedules/application-reject").size(), 1);
    QCOMPARE(sentBody(service(), "/api/live-schedules/application-reject"),
             Json::parse(R"({"id":"app-10","reason":"该时段飞机已被占用。"})").toObject());
    QCOMPARE(review.message(), QString("已保存，请返回列表查看最新状态。"));
    QCOMPARE(reloads, 1);
    // Locked on its outcome: no edit makes it sendable again.
    QVERIFY(!review.busy());
    review.setReason("另一个原因");
    review.setDecision("approved");
    QVERIFY(!review.valid());

    // The service keeps the decision: a second review of the same application is refused, and still reloads.
    LiveApplicationReviewModel again;
    again.setAppState(app.get());
    again.setItem(application("app-10", "pending"));
    await(again.submit());
    QCOMPARE(again.message(),
             QString("申请状态已变化，请刷新后再审核。\n请返回刷新并核对结果，不要重复创建排班。"));
    QVERIFY(again.locked());
}

void LiveFormsTest::reviewOutcomeTexts_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QJsonValue>("answer");
    QTest::addColumn<QString>("message");
    const QString advice = "\n请返回刷新并核对结果，不要重复创建排班。";
    QTest::newRow("saved") << "wangfang" << QJsonValue(QJsonObject{{"ok", true}})
                           << "已保存，请返回列表查看最新状态。";
    QTest::newRow("warning") << "wangfang"
                             << QJsonValue(QJsonObject{{"ok", true}, {"warning", "官方排班尚未同步。"}})
                             << "官方排班尚未同步。";
    QTest::newRow("empty") << "wangfang" << QJsonValue(QJsonObject{})
                           << "结果未确认，请刷新后核对。" + advice;
    QTest::newRow("not ok") << "wangfang" << QJsonValue(QJsonObject{{"ok", false}})
                            << "结果未确认，请刷新后核对。" + advice;
    QTest::newRow("ok as text") << "wangfang" << QJsonValue(QJsonObject{{"ok", "true"}})
                                << "服务器数据格式暂时无法识别，请刷新后重试。" + advice;
    // A developer the service does not let review: its refusal, with the advice.
    QTest::newRow("refused") << "zhaolei" << QJsonValue() << "没有审核排班申请的权限。" + advice;
}

void LiveFormsTest::reviewOutcomeTexts()
{
    QFETCH(QString, username);
    QFETCH(QJsonValue, answer);
    QFETCH(QString, message);
    const auto app = signedInApp(m_site, username);
    if (!answer.isUndefined() && !answer.isNull())
        service().setFault("/api/live-schedules/application-approve", Fault{.status = 200, .json = answer});
    LiveApplicationReviewModel review;
    review.setAppState(app.get());
    review.setItem(application("app-20", "pending"));
    int reloads = 0;
    review.setChanged([&reloads]() -> QCoro::Task<> {
        ++reloads;
        co_return;
    });
    await(review.submit());
    QCOMPARE(review.message(), message);
    QCOMPARE(reloads, 1);
    QVERIFY(review.locked());
    QVERIFY(!review.valid());
}

void LiveFormsTest::scheduleCardTexts()
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QTimeZone utc = QTimeZone::utc();
    const QByteArray times =
        R"(,"scheduledDepartureUtc":"2026-12-24T22:30:00Z","scheduledArrivalUtc":"2026-12-25T01:15:00Z")";
    QCOMPARE(LiveScheduleCard::timeText(schedule(R"(,"isTimeless":true)" + times), english, utc),
             QString("不限时间"));
    QCOMPARE(LiveScheduleCard::timeText(schedule(""), english, utc), QString("不限时间"));
    // The arrival on the next day shows its time alone.
    QCOMPARE(LiveScheduleCard::timeText(schedule(times), english, utc),
             QString("Dec 24, 2026 10:30 PM → 1:15 AM"));
    QCOMPARE(LiveScheduleCard::timeText(
                 schedule(R"(,"scheduledDepartureUtc":"2026-12-24T22:30:00","scheduledArrivalUtc":"soon")"),
                 english, utc),
             QString("Dec 24, 2026 10:30 PM"));

    QCOMPARE(LiveScheduleCard::callsign(schedule("")), QString("—"));
    QCOMPARE(LiveScheduleCard::callsign(schedule(R"(,"callsign":"VNA101")")), QString("VNA101"));
    const QList<QPair<QByteArray, LiveTint>> tints{
        {R"(,"status":6)", LiveTint::Approved}, {R"(,"status":9)", LiveTint::Muted},
        {R"(,"status":11)", LiveTint::Muted},   {R"(,"status":5)", LiveTint::Ink},
        {R"(,"status":null)", LiveTint::Ink},   {"", LiveTint::Ink}};
    for (const auto &[status, tint] : tints)
        QCOMPARE(LiveScheduleCard::statusTint(schedule(status)), tint);

    QCOMPARE(LiveScheduleCard::crew(
                 schedule(R"(,"crew":[{"username":"lichen","role":0},{"username":"zhaolei","role":1},
                 {"username":"sunyue","role":2},{"username":"zhouning"},{"role":0}])")),
             (QStringList{"机长 lichen", "副驾驶 zhaolei", "机长 sunyue", "机长 zhouning", "机长 未知"}));
    QCOMPARE(LiveScheduleCard::crew(schedule(R"(,"crew":[])")), QStringList());
    QCOMPARE(LiveScheduleCard::crew(schedule("")), QStringList());
    const QVariantMap card = LiveScheduleCard::card(schedule(R"(,"flightType":3,"briefing":"")"));
    QCOMPARE(card.value("caption").toString(), QString("货运"));
    QCOMPARE(card.value("briefing").toString(), QString());
}

void LiveFormsTest::aircraftPage()
{
    LiveAircraftPageModel page;
    // A flight whose every field is absent: dashes on both ends and in every tile.
    page.setItem(fleetItem(R"({"id":"a1","registration":"B-30A3","flying":{}})"));
    QVERIFY(page.flying());
    QCOMPARE((QStringList{page.flightFrom(), page.flightTo(), page.callsignText(), page.serverText(),
                          page.altitudeText(), page.speedText()}),
             QStringList(6, QString("—")));
    QCOMPARE(page.flightPhase(), QString());
    QCOMPARE(page.pilotName(), QString());
    page.setItem(fleetItem(R"({"id":"a1","registration":"B-30A1","flying":{"pilot":"李辰","altitude":35000.9,
                               "groundSpeed":451.7,"phase":"巡航"}})"));
    QCOMPARE(page.altitudeText(), QString("35,000 ft"));
    QCOMPARE(page.speedText(), QString("451 kt"));
    QCOMPARE(page.pilotPrefix() + page.pilotName(), QString("飞行员 李辰"));
    QCOMPARE(page.activitySymbol(), QString("airplane"));
    page.setItem(fleetItem(R"({"id":"a1","registration":"B-30A1","flying":{"altitude":1e300}})"));
    QCOMPARE(page.altitudeText(), QString("—"));

    // Schedules: a count only when there are some.
    page.setItem(b30a4());
    QVERIFY(!page.flying());
    QCOMPARE(page.schedulesSubtitle(), QString());
    page.setItem(fleetItem(R"({"id":"ac-104","registration":"B-30A4"})",
                           R"([{"id":"a","aircraftId":"ac-104","originIcao":"ZBAA","destinationIcao":"ZSSS"},
                               {"id":"b","aircraftId":"ac-104","originIcao":"ZSSS","destinationIcao":"ZBAA"},
                               {"id":"c","aircraftId":"ac-104","originIcao":"ZSSS","destinationIcao":"ZGGG"}])"));
    QCOMPARE(page.schedulesSubtitle(), QString("3 条"));
    QCOMPARE(page.schedules().size(), 3);

    // Members apply; staff and a page without a user do not.
    QVERIFY(!page.canApply());
    const auto member = signedInApp(m_site, "lichen");
    page.setAppState(member.get());
    QVERIFY(page.canApply());
    const auto admin = signedInApp(m_site, "wangfang");
    page.setAppState(admin.get());
    QVERIFY(!page.canApply());

    QSignalSpy submitted(&page, &LiveAircraftPageModel::submitted);
    QCOMPARE(page.applyText(), QString("申请这架飞机"));
    page.formSubmitted();
    page.formSubmitted();
    QVERIFY(page.sent());
    QCOMPARE(page.applyText(), QString("申请已提交"));
    QCOMPARE(page.applySymbol(), QString("checkmark.circle.fill"));
    QCOMPARE(submitted.size(), 2);
}

QTEST_GUILESS_MAIN(LiveFormsTest)
#include "tst_live_forms.moc"
