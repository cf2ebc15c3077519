// The dashboard's figures and to-do rules, from the sample member service.
#include "AppState.h"
#include "ClientTestSupport.h"
#include "DashboardAnswers.h"
#include "DashboardModel.h"
#include "Installed.h"
#include "NotifyWatch.h"

#include <QJsonArray>

using namespace TestSupport;
using Sample::Reply;
using Sample::Request;

class DashboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void beforeAnythingLoads();
    void figuresFromTheLoads();
    void oneRefreshAtATime();
    void rankIsTheFirstCaseInsensitiveMatch_data();
    void rankIsTheFirstCaseInsensitiveMatch();
    void todoBlock();
    void profileIncompleteByEachField_data();
    void profileIncompleteByEachField();
    void loaderOnlyUntilTheReportsFirstLoad();
    void openingFromTheDashboard();
    void unauthorizedInTheMiddleOfTheWave();
    void everyChangeIsTold();

private:
    void serve(const QString &path, const QJsonValue &answer)
    {
        m_site->service->route("GET", path,
                               [answer](Sample::Service &, const Request &) { return Reply::json(answer); });
    }

    // The keychain's queues main/ would install, this test's own.
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
    // The own-flight request main/ would install, this test's own.
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
    std::unique_ptr<Site> m_site;
    std::shared_ptr<MemorySessionStore> m_session;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    MemberNavigation m_navigation;
    DashboardModel m_model;
};

void DashboardTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_session = std::make_shared<MemorySessionStore>();
    const auto session = m_session;
    const auto vault = std::make_shared<MemorySessionStore>();
    m_app = std::make_unique<AppState>(
        AccountEnvironment{m_site->service->origin(),
                           {Sample::Service::certificate()},
                           [session, vault](const QString &item) -> SessionStorePtr {
                               return item == "session-cookies" ? session : vault;
                           }},
        nullptr);
    await(m_app->signIn("lichen", "fly-vornalia", false));
    m_data = std::make_unique<MemberData>(m_app->api());
    m_model.setAppState(m_app.get());
    m_model.setMemberData(m_data.get());
    m_model.setNavigation(&m_navigation);
}

void DashboardTest::cleanup()
{
    m_model.setMemberData(nullptr);
    m_model.setAppState(nullptr);
    m_data.reset();
    m_app.reset();
    m_site.reset();
}

void DashboardTest::beforeAnythingLoads()
{
    QCOMPARE(m_model.displayName(), QString("李辰"));
    QCOMPARE(m_model.greeting(), QString("欢迎回来，李辰"));
    QCOMPARE(m_model.callsignLine(), QString("— · VORNA 成员"));
    for (const QString &figure :
         {m_model.approvedDuration(), m_model.approvedCount(), m_model.pendingCount(), m_model.rankText()})
        QCOMPARE(figure, QString("—"));
    QVERIFY(!m_model.showsTodo());
    QCOMPARE(m_model.bellSymbol(), QString("bell"));

    DashboardModel nobody;
    QCOMPARE(nobody.displayName(), QString("飞行员"));
}

void DashboardTest::figuresFromTheLoads()
{
    serve("/api/pireps",
          QJsonObject{
              {"pireps", QJsonArray{dashboardPirep("a", "pending"), dashboardPirep("b", "pending", 1.7e9),
                                    dashboardPirep("c", "approved"), dashboardPirep("d", "Pending")}},
              {"summary", QJsonObject{{"approvedCount", 12}, {"approvedDurationMinutes", 125}}}});
    serve("/api/notifications", QJsonObject{{"notifications", QJsonArray()}, {"unreadCount", 3}});
    serve("/api/member/pirep-leaderboard",
          QJsonObject{{"members", QJsonArray{leaderboardMember("x"), leaderboardMember("LiChen")}}});
    await(m_model.refresh());
    QCOMPARE(m_model.approvedDuration(), QString("2 小时 5 分"));
    QCOMPARE(m_model.approvedCount(), QString("12"));
    QCOMPARE(m_model.pendingCount(), QString("2")); // exactly "pending", held ones included
    QCOMPARE(m_model.rankText(), QString("#2"));
    QCOMPARE(m_model.bellSymbol(), QString("bell.badge"));
    QCOMPARE(m_model.callsignLine(), QString("B-207CA · VORNA 成员")); // the profile came with the refresh
    QVERIFY(m_model.profileError().isEmpty());

    // A failed profile refresh shows; the figures stay.
    m_site->service->setFault("/api/profile", {.status = 500, .times = 1});
    await(m_model.loadProfile());
    QCOMPARE(m_model.profileError(), QString("样例服务按要求返回 500。"));
    await(m_model.loadProfile());
    QVERIFY(m_model.profileError().isEmpty());
}

// Regression: a refresh that met a running one asked for the profile and the saved live map again.
void DashboardTest::oneRefreshAtATime()
{
    const auto asked = [this](const QString &path, const QString &query = {}) {
        const QList<Request> sent = m_site->service->requestsTo(path);
        return std::count_if(sent.cbegin(), sent.cend(),
                             [&](const Request &r) { return r.query.toString() == query; });
    };
    m_site->service->clearRequests();
    auto first = m_model.refresh();
    auto second = m_model.refresh();
    await(std::move(second));
    await(std::move(first));
    QCOMPARE(asked("/api/profile"), 1);
    QCOMPARE(asked("/api/infinite-flight/live", "saved=1"), 1);
    // Once it has ended, the next refresh asks again.
    await(m_model.refresh());
    QCOMPARE(asked("/api/profile"), 2);
}

void DashboardTest::rankIsTheFirstCaseInsensitiveMatch_data()
{
    QTest::addColumn<QString>("own"); // the member's user name as the service spells it
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<QString>("rank");
    QTest::newRow("other case") << "lichen" << QStringList{"a", "b", "LICHEN"} << "#3";
    QTest::newRow("own name in capitals") << "LiChen" << QStringList{"a", "lichen"} << "#2";
    QTest::newRow("both in other cases") << "LICHEN" << QStringList{"LiChen", "a"} << "#1";
    QTest::newRow("listed twice") << "lichen" << QStringList{"lichen", "x", "lichen"} << "#1";
    QTest::newRow("missing") << "lichen" << QStringList{"a", "b"} << "—";
    QTest::newRow("blank around is another name") << "lichen" << QStringList{" lichen"} << "—";
}

void DashboardTest::rankIsTheFirstCaseInsensitiveMatch()
{
    QFETCH(QString, own);
    QFETCH(QStringList, members);
    QFETCH(QString, rank);
    if (own != "lichen") {
        m_site->service->accountNamed("lichen")->username = own;
        await(m_app->signIn(own, "fly-vornalia", false));
        QCOMPARE(m_app->user()->username, own);
    }
    QJsonArray list;
    for (const QString &name : members)
        list.append(leaderboardMember(name));
    serve("/api/member/pirep-leaderboard", QJsonObject{{"members", list}});
    await(m_data->loadLeaderboard());
    QCOMPARE(m_model.rankText(), rank);
}

void DashboardTest::todoBlock()
{
    serve("/api/pireps",
          QJsonObject{
              {"pireps",
               QJsonArray{dashboardPirep("a", "pending", 1.7e9), dashboardPirep("b", "pending", 1.7e9, ""),
                          dashboardPirep("c", "pending", 1.7e9, "请补充落地截图"),
                          dashboardPirep("d", "approved", 1.7e9), dashboardPirep("e", "pending", 0)}}});
    await(m_data->loadPireps());
    HeldPirepsModel *held = m_model.heldPireps();
    QCOMPARE(held->rowCount(), 3);
    QCOMPARE(held->data(held->index(0), HeldPirepsModel::TitleRole).toString(),
             QString("ZBAA → ZSPD 需补充证据"));
    QCOMPARE(held->data(held->index(0), HeldPirepsModel::DetailRole).toString(), QString("请补充截图"));
    QCOMPARE(held->data(held->index(1), HeldPirepsModel::DetailRole).toString(), QString());
    QCOMPARE(held->data(held->index(2), HeldPirepsModel::DetailRole).toString(), QString("请补充落地截图"));
    QVERIFY(m_model.showsTodo());
    QCOMPARE(m_model.todoSubtitle(), QString("管理员需要更多飞行证明"));

    // An incomplete profile alone also makes the block, without the subtitle.
    serve("/api/pireps", QJsonObject{{"pireps", QJsonArray()}});
    await(m_data->loadPireps());
    QVERIFY(!m_model.showsTodo());
    await(m_app->signIn("xuhang", "fly-vornalia", false));
    await(m_app->refreshProfile());
    QVERIFY(m_model.profileIncomplete());
    QVERIFY(m_model.showsTodo());
    QVERIFY(m_model.todoSubtitle().isEmpty());

    // A callsign of spaces is not an empty one: with the avatar and the e-mail, the profile is complete.
    Sample::Account *lichen = m_site->service->accountNamed("lichen");
    lichen->profile["callsign"] = "   ";
    await(m_app->signIn("lichen", "fly-vornalia", false));
    await(m_app->refreshProfile());
    QCOMPARE(m_app->profile()->callsign, QString("   "));
    QVERIFY(m_app->profile()->hasAvatar && !m_app->profile()->contactEmail.isEmpty());
    QVERIFY(!m_model.profileIncomplete());
    QVERIFY(!m_model.showsTodo());
    lichen->profile["callsign"] = "";
    await(m_app->refreshProfile());
    QVERIFY(m_model.profileIncomplete());
}

void DashboardTest::profileIncompleteByEachField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<bool>("incomplete");
    QTest::newRow("complete") << "" << QJsonValue() << false;
    QTest::newRow("no avatar") << "hasAvatar" << QJsonValue(false) << true;
    QTest::newRow("no callsign") << "callsign" << QJsonValue("") << true;
    QTest::newRow("no e-mail") << "contactEmail" << QJsonValue("") << true;
    QTest::newRow("e-mail of spaces") << "contactEmail" << QJsonValue("  ") << false;
}

// Each of the three missing alone asks the member to complete the profile; lichen has them all.
void DashboardTest::profileIncompleteByEachField()
{
    QFETCH(QString, field);
    QFETCH(QJsonValue, value);
    QFETCH(bool, incomplete);
    if (!field.isEmpty())
        m_site->service->accountNamed("lichen")->profile[field] = value;
    await(m_app->refreshProfile());
    QCOMPARE(m_model.profileIncomplete(), incomplete);
    QCOMPARE(m_model.showsTodo(), incomplete); // nothing of lichen's is held before his reports load
}

// The loader covers the page only until the reports first load: a reload of loaded reports leaves them in
// view, and a retry after a failed first load shows it again.
void DashboardTest::loaderOnlyUntilTheReportsFirstLoad()
{
    m_site->service->setFault("/api/pireps", {.status = 500, .held = true, .times = 1});
    auto failing = m_data->loadPireps();
    QTRY_VERIFY(m_data->state(MemberLoad::Pireps).loading);
    QVERIFY(m_model.showsLoader());
    QTRY_COMPARE(m_site->service->heldAnswers(), 1);
    m_site->service->release();
    await(std::move(failing));
    QVERIFY(!m_model.showsLoader());

    m_site->service->setFault("/api/pireps", {.held = true, .times = 1});
    auto retry = m_data->loadPireps();
    QTRY_VERIFY(m_model.showsLoader());
    QTRY_COMPARE(m_site->service->heldAnswers(), 1);
    m_site->service->release();
    await(std::move(retry));
    QVERIFY(m_data->state(MemberLoad::Pireps).loaded);
    QVERIFY(!m_model.showsLoader());

    m_site->service->setFault("/api/pireps", {.held = true, .times = 1});
    auto reload = m_data->loadPireps();
    QTRY_VERIFY(m_data->state(MemberLoad::Pireps).loading);
    QVERIFY(!m_model.showsLoader());
    QTRY_COMPARE(m_site->service->heldAnswers(), 1);
    m_site->service->release();
    await(std::move(reload));
}

void DashboardTest::openingFromTheDashboard()
{
    serve("/api/pireps", QJsonObject{{"pireps", QJsonArray{dashboardPirep("h-1", "pending", 1.7e9)}}});
    serve("/api/infinite-flight/live", QJsonValue::Null);
    serve("/api/infinite-flight/me/flights",
          QJsonObject{{"flights", QJsonArray{QJsonObject{{"id", "r-9"}}}}});
    await(m_data->loadPireps());
    await(m_data->loadLatestFlight());
    m_model.openHeldPirep(0);
    QCOMPARE(m_navigation.selected(), MemberTab::Account);
    QVERIFY(m_navigation.showingLogbook());
    QCOMPARE(std::get<PirepRoute>(m_navigation.logbookPath().constFirst()).report.id, QString("h-1"));
    m_model.openLatestFlight();
    QCOMPARE(m_navigation.selected(), MemberTab::Flights);
    QCOMPARE(std::get<RecentFlightRoute>(m_navigation.flightPath().constFirst()).flight.id, QString("r-9"));
    m_model.openHeldPirep(5); // out of range: nothing
    QCOMPARE(m_navigation.selected(), MemberTab::Flights);
}

// The session ends at the service while the dashboard loads: one 401 among the wave's answers signs the
// member out with the expiry message and forgets the stored session.
void DashboardTest::unauthorizedInTheMiddleOfTheWave()
{
    await(m_app->signIn("lichen", "fly-vornalia", true));
    QVERIFY(m_session->data());
    m_site->service->setFault("/api/notifications", {.status = 401});
    await(m_model.refresh());
    QVERIFY(!m_app->signedIn());
    QCOMPARE(m_app->message(), QString("登录已过期，请重新登录。"));
    QVERIFY(!m_session->data());

    // Signed in again, the wave loads whole.
    m_site->service->clearFaults();
    await(m_app->signIn("lichen", "fly-vornalia", true));
    QVERIFY(m_app->signedIn());
    QVERIFY(m_session->data());
}

// Each property's signal comes with its change: the page's loads, a failed profile, another member, and the
// objects it works on going.
void DashboardTest::everyChangeIsTold()
{
    NotifyWatch watch(&m_model);
    watch.step("refresh", [&] { await(m_model.refresh()); });
    watch.step("profile failing", [&] {
        m_site->service->setFault("/api/profile", {.status = 500, .times = 1});
        await(m_model.loadProfile());
    });
    watch.step("another member", [&] {
        await(m_app->signIn("xuhang", "fly-vornalia", false));
        await(m_model.loadProfile());
    });
    watch.step("their reports", [&] { await(m_data->loadPireps()); });
    watch.step("inputs gone", [&] {
        m_model.setNavigation(nullptr);
        m_model.setMemberData(nullptr);
        m_model.setAppState(nullptr);
    });
}

QTEST_GUILESS_MAIN(DashboardTest)
#include "tst_dashboard.moc"
