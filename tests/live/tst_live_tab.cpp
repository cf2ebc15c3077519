// The Live page: the link flow, the board's loading and paging, staleness, linking and unlinking, against the
// sample member service over HTTPS.
#include "Json.h"
#include "LiveTabModel.h"
#include "MemberTestSupport.h"
#include "PictureBytes.h"
#include "Theme.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

using namespace TestSupport;

Q_DECLARE_METATYPE(Sample::Fault)

namespace {

const QString authorizationPath = QStringLiteral("/api/live-schedules/authorization");
const QString boardPath = QStringLiteral("/api/live-schedules");
const QString firstPagePath = QStringLiteral("/api/live-schedules/applications?page=1");
const QString secondPagePath = QStringLiteral("/api/live-schedules/applications?page=2");
const QString positionsPath = QStringLiteral("/api/live-schedules/flights");
const QString avatarPath = QStringLiteral("/api/live-schedules/avatar");
const QString disconnectPath = QStringLiteral("/api/live-schedules/authorization-disconnect");

QStringList ids(const QList<LiveApplication> &applications)
{
    QStringList ids;
    for (const LiveApplication &application : applications)
        ids.append(application.id);
    return ids;
}

// "title | subtitle | registrations" per organisation of the fleet board.
QStringList board(LiveTabModel &model)
{
    QStringList rows;
    for (const LiveFleetSection &section : model.sections()->records()) {
        QStringList registrations;
        for (const LiveAircraftCardValue &card : section.cards)
            registrations.append(card.registration);
        rows.append(section.title + " | " + section.subtitle + " | " + registrations.join(' '));
    }
    return rows;
}

const LiveAircraftCardValue *card(LiveTabModel &model, const QString &id)
{
    for (const LiveFleetSection &section : model.sections()->records()) {
        for (const LiveAircraftCardValue &card : section.cards) {
            if (card.id == id)
                return &card;
        }
    }
    return nullptr;
}

// One fleet item of an aircraft given as JSON, with schedules and a last pilot when asked for.
LiveFleetItem item(const QByteArray &aircraft, int schedules = 0, bool lastPilot = false)
{
    LiveFleetItem item{
        LiveOrganization::fromJson(
            Json::parse(R"({"id":"o1","name":"Vornalia","aircraft":[],"schedules":[]})")),
        LiveAircraft::fromJson(Json::parse(R"({"id":"a1","registration":"B-1234")" + aircraft + "}")),
        {},
        {},
        {},
        {}};
    for (int i = 0; i < schedules; ++i)
        item.schedules.append(LiveSchedule::fromJson(Json::parse(
            R"({"id":"s)" + QByteArray::number(i)
            + R"(","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS","status":1})")));
    if (lastPilot)
        item.lastPilot = LiveRecentPilot{"a1", "赵磊", "2026-12-07T08:00:00Z"};
    return item;
}

QJsonObject application(const QString &id)
{
    return {{"id", id},          {"registration", "B-30A4"}, {"departure", "ZBAA"},
            {"arrival", "ZSSS"}, {"status", "pending"},      {"reviewNote", ""}};
}

} // namespace

class LiveTabTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void aircraftCards_data();
    void aircraftCards();
    void applicationCards();
    void roleLabels();
    void authorizationAddress_data();
    void authorizationAddress();
    void linkStates_data();
    void linkStates();
    void notEligibleKeepsTheLiveDataAndTheAvatar();
    void avatarIsKeptWithinItsBounds_data();
    void avatarIsKeptWithinItsBounds();
    void loadFailures_data();
    void loadFailures();
    void silentStepsDoNotStopTheLoad();
    void oneOperationAtATime();
    void fleetBoardOfTheSampleService();
    void boardOfNothing();
    void searchFiltersTheFleet();
    void whoReviews_data();
    void whoReviews();
    void pagingAppendsUnseenApplications();
    void pageNamingAnIdTwiceAddsBoth();
    void pageFailureKeepsTheList();
    void staleBoardIsDroppedAfterAnHour();
    void connectOpensTheVendorsPage();
    void authorizationEnds();
    void disconnectUnlinks();
    void disconnectRefusedStaysLinked_data();
    void disconnectRefusedStaysLinked();
    void disconnectWinsOverARunningLoad();
    void cancelledLoadLeavesNoMessage();

private:
    // Signs in as a sample member and makes a page for him, whose clock stands still at m_now.
    void open(const QString &username);
    void loaded();

    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<LiveTabModel> m_model;
    QDateTime m_now;
};

void LiveTabTest::initTestCase()
{
    qputenv("LANGUAGE", "zh_CN");
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void LiveTabTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_now = QDateTime::currentDateTimeUtc();
}

void LiveTabTest::cleanup()
{
    m_model.reset();
    m_app.reset();
    m_site.reset();
}

void LiveTabTest::open(const QString &username)
{
    m_app = signedInApp(*m_site, username);
    m_model = std::make_unique<LiveTabModel>();
    m_model->setAppState(m_app.get());
    m_model->setClock([this] { return m_now; });
    m_site->service->clearRequests();
}

void LiveTabTest::loaded()
{
    await(m_model->load());
    QVERIFY(!m_model->busy());
}

void LiveTabTest::aircraftCards_data()
{
    QTest::addColumn<QByteArray>("aircraft");
    QTest::addColumn<int>("schedules");
    QTest::addColumn<bool>("lastPilot");
    QTest::addColumn<QString>("route"); // "from to · phase", "idle text · label", or empty
    QTest::addColumn<QString>("figures");
    QTest::addColumn<QString>("footer"); // "lead+name+ago | count", or empty without a footer
    QTest::newRow("flight without an arrival")
        << QByteArray(R"(,"flying":{"departure":"ZBAA","phase":"爬升","pilot":"李辰","altitude":12000})") << 0
        << false << "ZBAA — · 爬升"
        << "12,000 ft"
        << "飞行员 李辰 | ";
    QTest::newRow("flight without either end takes the idle route")
        << QByteArray(R"(,"flying":{"callsign":"VNA1","phase":"巡航"})") << 2 << false
        << "ZBAA → ZSSS · 下一班"
        << ""
        << " | 排班 2";
    QTest::newRow("flight without figures")
        << QByteArray(R"(,"flying":{"departure":"ZBAA","arrival":"ZSSS"})") << 0 << false << "ZBAA ZSSS · "
        << ""
        << "";
    QTest::newRow("nothing known") << QByteArray() << 0 << false << ""
                                   << ""
                                   << "";
    QTest::newRow("schedules without a pilot") << QByteArray() << 1 << false << "ZBAA → ZSSS · 下一班"
                                               << ""
                                               << " | 排班 1";
    QTest::newRow("previous pilot") << QByteArray() << 0 << true << ""
                                    << ""
                                    << "上一位 赵磊 · 20 分钟前 | ";
}

void LiveTabTest::aircraftCards()
{
    QFETCH(QByteArray, aircraft);
    QFETCH(int, schedules);
    QFETCH(bool, lastPilot);
    QFETCH(QString, route);
    QFETCH(QString, figures);
    QFETCH(QString, footer);
    const auto card = LiveAircraftCardValue::of(item(aircraft, schedules, lastPilot),
                                                QDateTime::fromString("2026-12-07T08:20:30Z", Qt::ISODate));
    const QString shown = card.showsLiveRoute   ? card.departure + ' ' + card.arrival + " · " + card.phase
                          : card.showsIdleRoute ? card.idleRouteText + " · " + card.idleRouteLabel
                                                : QString();
    QCOMPARE(shown, route);
    QCOMPARE(card.figures, figures);
    QCOMPARE(card.showsFooter, !footer.isEmpty());
    if (card.showsFooter)
        QCOMPARE(card.pilotLead + card.pilotName + card.pilotAgo + " | " + card.scheduleCount, footer);
    // The card is read out as one element, its registration first.
    QVERIFY(card.accessibleName.startsWith("B-1234, "));
}

void LiveTabTest::applicationCards()
{
    LiveApplication pending{"x1", "lichen", std::nullopt, "B-30A4", "ZBAA", "ZSSS", "pending", ""};
    auto card = LiveApplicationCardValue::of(pending);
    QCOMPARE(card.statusText, "待审核");
    QCOMPARE(card.tint, int(Theme::Pending));
    QVERIFY(card.reviewNote.isEmpty());
    LiveApplication withdrawn{"x2", std::nullopt, std::nullopt, "B-6202", "ZPPP", "ZUUU", "withdrawn", "  "};
    card = LiveApplicationCardValue::of(withdrawn);
    QCOMPARE(card.statusText, "withdrawn");
    QVERIFY(!card.hasUsername());
    // A note of blanks is still a note.
    QCOMPARE(card.reviewNote, "  ");
}

void LiveTabTest::roleLabels()
{
    QCOMPARE(LiveBoardRules::roleLabel(std::nullopt), "成员");
    QCOMPARE(LiveBoardRules::roleLabel(0), "成员");
    QCOMPARE(LiveBoardRules::roleLabel(-1), "成员");
    QCOMPARE(LiveBoardRules::roleLabel(1), "Admin");
    QCOMPARE(LiveBoardRules::roleLabel(2), "Owner");
    QCOMPARE(LiveBoardRules::roleLabel(5), "Owner");
}

void LiveTabTest::authorizationAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("vendor page") << "https://api.infiniteflight.com/v2/oauth/authorize?state=x" << true;
    QTest::newRow("vendor with a port") << "https://api.infiniteflight.com:443/authorize" << true;
    QTest::newRow("plain http on the vendor") << "http://api.infiniteflight.com/authorize" << false;
    QTest::newRow("scheme in capitals") << "HTTPS://api.infiniteflight.com/authorize" << false;
    QTest::newRow("another host") << "https://infiniteflight.com.example.org/authorize" << false;
    QTest::newRow("vendor as the user name") << "https://api.infiniteflight.com@example.org/" << false;
    QTest::newRow("vendor's parent domain") << "https://infiniteflight.com/authorize" << false;
    QTest::newRow("no address") << "" << false;
    QTest::newRow("not an address") << "https://api.infiniteflight.com:port/" << false;
    QTest::newRow("vendor's name run on") << "https://api.infiniteflight.comx/authorize" << false;
    // Regression: QUrl lower-cases the host, so the vendor's host in capitals passed.
    QTest::newRow("host in capitals") << "https://API.INFINITEFLIGHT.COM/authorize" << false;
    QTest::newRow("host partly in capitals") << "https://api.InfiniteFlight.com" << false;
}

void LiveTabTest::authorizationAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(LiveTabModel::authorizationAddress(text).has_value(), accepted);
}

void LiveTabTest::linkStates_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QJsonValue>("answer"); // replaces the service's own, when given
    QTest::addColumn<bool>("authorized");
    QTest::addColumn<QString>("message");
    QTest::newRow("linked") << "lichen" << QJsonValue() << true << "";
    QTest::newRow("link shares no organisation")
        << "hejing" << QJsonValue() << false << "请在授权时共享至少一个 VORNA Live 组织。";
    QTest::newRow("not linked") << "zhaolei" << QJsonValue() << false << "";
    QTest::newRow("eligible in other letters")
        << "lichen" << QJsonValue(QJsonObject{{"state", "Eligible"}}) << false << "";
}

void LiveTabTest::linkStates()
{
    QFETCH(QString, username);
    QFETCH(QJsonValue, answer);
    QFETCH(bool, authorized);
    QFETCH(QString, message);
    open(username);
    if (!answer.isNull())
        m_site->service->setFault(authorizationPath, {.json = answer});
    loaded();
    QCOMPARE(m_model->authorized(), authorized);
    QCOMPARE(m_model->messageText(), message);
    QCOMPARE(m_model->hasBoard(), authorized);
    QCOMPARE(m_model->showsConnectCard(), !authorized);
    QCOMPARE(m_model->showsBoards(), authorized);
    // Only a linked member's load goes on past the link check.
    QCOMPARE(m_site->service->requestsTo(boardPath).size(), authorized ? 1 : 0);
    QCOMPARE(m_model->hasAvatar(), authorized);
}

void LiveTabTest::notEligibleKeepsTheLiveDataAndTheAvatar()
{
    open("lichen");
    loaded();
    QVERIFY(m_model->hasAvatar());
    QVERIFY(!m_model->extras().positions.isEmpty());
    m_site->service->setFault(authorizationPath, {.json = QJsonObject{{"state", "ineligible"}}});
    loaded();
    QVERIFY(!m_model->authorized());
    QVERIFY(!m_model->hasBoard());
    QVERIFY(m_model->applicationList().isEmpty());
    QVERIFY(!m_model->extras().positions.isEmpty());
    QVERIFY(!m_model->extras().routes.isEmpty());
    // Regression: the picture of the linked account went with a check that found it sharing nothing.
    QVERIFY(m_model->hasAvatar());
    // Held, it is not asked for again.
    m_site->service->clearFaults();
    loaded();
    QCOMPARE(m_site->service->requestsTo(avatarPath).size(), 1);
}

void LiveTabTest::avatarIsKeptWithinItsBounds_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QSize>("kept"); // invalid: refused
    QTest::newRow("GIF of 1 x 97") << gifBytes(QSize(1, 97), QSize(1, 97)) << QSize(1, 97);
    // Regression: the Live tab's avatar was decoded without the app's bounds, so this was kept 1 x 12545.
    QTest::newRow("GIF stating 1 x 97, decoding 1 x 12545")
        << gifBytes(QSize(1, 12545), QSize(1, 97)) << QSize();
}

void LiveTabTest::avatarIsKeptWithinItsBounds()
{
    QFETCH(QByteArray, picture);
    QFETCH(QSize, kept);
    open("lichen");
    m_site->service->route("GET", avatarPath, [picture](Sample::Service &, const Sample::Request &) {
        return Sample::Reply::bytes(picture, "image/gif");
    });
    loaded();
    QVERIFY(m_model->authorized());
    QCOMPARE(m_site->service->requestsTo(avatarPath).size(), 1);
    QCOMPARE(m_model->hasAvatar(), kept.isValid());
    QCOMPARE(m_model->avatar().size(), kept.isValid() ? kept : QSize(0, 0));
}

void LiveTabTest::loadFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("authorized");
    QTest::addColumn<bool>("hasBoard");
    QTest::newRow("link check session gone") << authorizationPath << 401 << false << false;
    QTest::newRow("board refused") << boardPath << 403 << false << false;
    QTest::newRow("board fails") << boardPath << 500 << true << true;
    QTest::newRow("first page refused") << firstPagePath << 403 << false << false;
    QTest::newRow("first page fails") << firstPagePath << 500 << true << true;
}

void LiveTabTest::loadFailures()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(bool, authorized);
    QFETCH(bool, hasBoard);
    open("lichen");
    loaded();
    const QDateTime firstFetch = m_model->fetchedAt();
    const QStringList earlier = ids(m_model->applicationList());
    m_now = m_now.addSecs(120);
    m_site->service->clearRequests();
    m_site->service->setFault(path, {.status = status});
    loaded();

    QCOMPARE(m_model->authorized(), authorized);
    QCOMPARE(m_model->hasBoard(), hasBoard);
    QVERIFY(!m_model->messageText().isEmpty());
    if (status == 500 && path == firstPagePath) {
        // The new board stands, with its time; the list is the earlier one.
        QCOMPARE(m_model->fetchedAt(), m_now);
        QCOMPARE(ids(m_model->applicationList()), earlier);
    } else if (status == 500) {
        QCOMPARE(m_model->fetchedAt(), firstFetch);
    } else {
        QVERIFY(m_model->applicationList().isEmpty());
    }
    // The load ends at the failure: no positions, routes or picture are asked for.
    QVERIFY(m_site->service->requestsTo(positionsPath).isEmpty());
    QVERIFY(m_site->service->requestsTo(avatarPath).isEmpty());
}

void LiveTabTest::silentStepsDoNotStopTheLoad()
{
    open("lichen");
    m_site->service->setFault(positionsPath, {.status = 500});
    m_site->service->setFault(avatarPath, {.html = QByteArray("<html></html>")});
    m_site->service->setFault(QStringLiteral("/api/live-schedules/routes"), {.json = QJsonValue::Null});
    loaded();
    QVERIFY(m_model->authorized());
    QCOMPARE(m_model->messageText(), QString());
    QVERIFY(m_model->extras().positions.isEmpty());
    QVERIFY(m_model->extras().routes.isEmpty());
    QVERIFY(!m_model->hasAvatar());
    QCOMPARE(m_model->applicationList().size(), 4);

    // A null answer keeps what an earlier load brought.
    m_site->service->clearFaults();
    loaded();
    QVERIFY(m_model->hasAvatar());
    QCOMPARE(m_model->extras().routes.size(), 2);
    m_site->service->setFault(positionsPath, {.json = QJsonValue::Null});
    loaded();
    QCOMPARE(m_model->extras().positions.size(), 6);
    // The picture once held is not asked for again.
    QCOMPARE(m_site->service->requestsTo(avatarPath).size(), 2);
}

void LiveTabTest::oneOperationAtATime()
{
    open("lichen");
    m_site->service->setFault(authorizationPath, {.held = true});
    auto running = m_model->load();
    QTRY_COMPARE(m_site->service->requestsTo(authorizationPath).size(), 1);
    QVERIFY(m_model->busy());
    QVERIFY(m_model->showsLoader());
    QVERIFY(!m_model->showsConnectCard());
    // A refresh, a connect or a page while the load runs sends nothing.
    await(m_model->load());
    await(m_model->connectAccount());
    await(m_model->more());
    QCOMPARE(m_site->service->requests().size(), 1);
    m_site->service->release();
    await(std::move(running));
    QVERIFY(!m_model->busy());
    QVERIFY(m_model->authorized());
}

void LiveTabTest::fleetBoardOfTheSampleService()
{
    open("lichen");
    QCOMPARE(m_model->summary(), "查看 VORNA Live 机队、申请排班。");
    loaded();
    QCOMPARE(board(*m_model),
             QStringList(
                 {"Vornalia Virtual | Admin · 8 架 | B-30A1 B-30A2 B-30A3 B-30A4 B-30A5 B-30A6 B-30A7 B-30A8",
                  "East Wind Group | 成员 · 4 架 | B-6201 B-6202 B-6203 B-30A4",
                  "Harbour Charter | 成员 · 0 架 | "}));
    QVERIFY(m_model->sections()->records().at(2).cards.isEmpty());
    // Airborne: the cruising A350 and the A320 at state 2; on the ground: the taxiing A320, the 737 without a
    // phase and the 787 (in both organisations).
    QCOMPARE(m_model->summary(), "2 架飞行中 · 4 架在地面 · 共 12 架 · 更新于 "
                                     + QLocale().toString(m_now.toLocalTime().time(), QLocale::ShortFormat));

    const auto *cruising = card(*m_model, "org-vornalia/ac-101");
    QVERIFY(cruising);
    QVERIFY(cruising->showsLiveRoute);
    QCOMPARE(cruising->departure + ' ' + cruising->arrival + ' ' + cruising->phase, "ZBAA ZSSS 巡航");
    QCOMPARE(cruising->figures, "VNA207 · 35,000 ft · 468 kt");
    QCOMPARE(cruising->pilotForm, LiveAircraftCardValue::CurrentPilot);
    QCOMPARE(cruising->pilotName, "李辰");
    QCOMPARE(cruising->statusText, "飞行中");

    // A flight without either end shows the idle route; its position is ignored while it flies.
    const auto *noEnds = card(*m_model, "org-vornalia/ac-103");
    QVERIFY(noEnds && !noEnds->showsLiveRoute);
    QCOMPARE(noEnds->statusText, "状态待确认");
    QCOMPARE(noEnds->pilotForm, LiveAircraftCardValue::NoPilot);

    const auto *parked = card(*m_model, "org-vornalia/ac-104");
    QVERIFY(parked);
    QCOMPARE(parked->statusText, "在地面");
    QCOMPARE(parked->pilotForm, LiveAircraftCardValue::PreviousPilot);
    QCOMPARE(parked->pilotName, "赵磊");
    QVERIFY(parked->pilotAgo.endsWith("分钟前"));
    QVERIFY(parked->showsFooter);
    const auto *stored = card(*m_model, "org-vornalia/ac-107");
    QVERIFY(stored);
    QCOMPARE(stored->statusText, "储存");
    QVERIFY(!stored->showsFooter);
    QCOMPARE(card(*m_model, "org-skyteam/ac-203")->statusText, "—");
}

void LiveTabTest::boardOfNothing()
{
    open("lichen");
    m_site->service->setFault(boardPath, {.json = QJsonObject{{"organizations", QJsonArray()}}});
    loaded();
    QVERIFY(m_model->noOrganizations());
    QVERIFY(m_model->showsBoards());
    QVERIFY(m_model->sections()->records().isEmpty());
    QVERIFY(m_model->summary().startsWith("0 架飞行中 · 0 架在地面 · 共 0 架 · 更新于 "));

    // No board at all: the page stays linked and lists the applications, without boards to switch.
    m_site->service->setFault(boardPath, {.json = QJsonValue::Null});
    loaded();
    QVERIFY(m_model->authorized());
    QVERIFY(!m_model->hasBoard());
    QVERIFY(!m_model->showsBoards());
    QVERIFY(!m_model->showsConnectCard());
    QCOMPARE(m_model->summary(), "查看 VORNA Live 机队、申请排班。");
    QCOMPARE(m_model->applicationList().size(), 4);
    QCOMPARE(m_model->fetchedAt(), m_now);
}

void LiveTabTest::searchFiltersTheFleet()
{
    open("lichen");
    loaded();
    m_model->setSearch("a320");
    QCOMPARE(board(*m_model),
             QStringList({"Vornalia Virtual | Admin · 8 架 | B-30A2",
                          "East Wind Group | 成员 · 4 架 | B-6201", "Harbour Charter | 成员 · 0 架 | "}));
    m_model->setSearch("RETRO");
    QCOMPARE(board(*m_model).first(), "Vornalia Virtual | Admin · 8 架 | B-30A6");
    m_model->setSearch("VNA207"); // callsigns are not searched
    QVERIFY(m_model->sections()->records().at(0).cards.isEmpty());
    QCOMPARE(m_model->sections()->rowCount(), 3);
    m_model->setSearch(" ");
    QCOMPARE(m_model->sections()->records().at(0).cards.size(), 8);
}

void LiveTabTest::whoReviews_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QJsonValue>("board"); // replaces the service's own, when given
    QTest::addColumn<bool>("canReview");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<int>("applications");
    QTest::newRow("admin allowed") << "wangfang" << QJsonValue() << true << "排班审核" << 4;
    // A developer is staff as an admin is; the sample service links no developer, so the row links him.
    QTest::newRow("developer allowed")
        << "zhaolei" << QJsonValue(QJsonObject{{"canReview", true}, {"organizations", QJsonArray()}}) << true
        << "排班审核" << 0;
    QTest::newRow("admin without permission")
        << "wangfang" << QJsonValue(QJsonObject{{"organizations", QJsonArray()}}) << false << "我的申请 4"
        << 4;
    QTest::newRow("member on a reviewers' board")
        << "lichen" << QJsonValue(QJsonObject{{"canReview", true}, {"organizations", QJsonArray()}}) << false
        << "我的申请 4" << 4;
    // Regression: the tab read "我的申请 4+" while the service had further pages; it counts those listed.
    QTest::newRow("member") << "lichen" << QJsonValue() << false << "我的申请 4" << 4;
}

void LiveTabTest::whoReviews()
{
    QFETCH(QString, username);
    QFETCH(QJsonValue, board);
    QFETCH(bool, canReview);
    QFETCH(QString, tab);
    QFETCH(int, applications);
    open(username);
    QVERIFY(!m_model->canReview());
    if (!board.isNull())
        m_site->service->setFault(boardPath, {.json = board});
    if (m_app->role() == "developer")
        m_site->service->setFault(authorizationPath, {.json = QJsonObject{{"state", "eligible"}}});
    loaded();
    QCOMPARE(m_model->canReview(), canReview);
    QCOMPARE(m_model->tabs().at(1).toMap().value("title").toString(), tab);
    QCOMPARE(m_model->tabs().at(1).toMap().value("name").toString(), "live.applications");
    QCOMPARE(m_model->applicationCount(), applications);
    QCOMPARE(m_model->emptyApplicationsText(),
             canReview ? "当前没有可审核的排班申请。" : "在机队里选一架飞机即可申请排班。");
}

void LiveTabTest::pagingAppendsUnseenApplications()
{
    open("lichen");
    loaded();
    QCOMPARE(ids(m_model->applicationList()), QStringList({"app-10", "app-09", "app-08", "app-07"}));
    QVERIFY(m_model->hasMore());

    // The second page repeats one that is listed already.
    QJsonArray page{application("app-07"), application("app-06"), application("app-05")};
    m_site->service->setFault(secondPagePath,
                              {.json = QJsonObject{{"applications", page}, {"hasMore", true}}, .held = true});
    auto running = m_model->more();
    QTRY_COMPARE(m_site->service->requestsTo(QStringLiteral("/api/live-schedules/applications")).size(), 2);
    // A second press while the page is on its way asks for nothing more.
    await(m_model->more());
    m_site->service->release();
    await(std::move(running));
    QCOMPARE(ids(m_model->applicationList()),
             QStringList({"app-10", "app-09", "app-08", "app-07", "app-06", "app-05"}));
    QCOMPARE(m_model->page(), 2);
    QCOMPARE(m_model->applications()->rowCount(), 6);
    // Each page listed adds to the count.
    QCOMPARE(m_model->tabs().at(1).toMap().value("title").toString(), "我的申请 6");

    m_site->service->clearFaults();
    await(m_model->more());
    QCOMPARE(m_model->page(), 3);
    QCOMPARE(ids(m_model->applicationList()).last(), "app-01");
    QVERIFY(!m_model->hasMore());
    QCOMPARE(m_model->tabs().at(1).toMap().value("title").toString(), "我的申请 8");
    // Past the last page there is nothing to ask for.
    await(m_model->more());
    const auto pages = m_site->service->requestsTo(QStringLiteral("/api/live-schedules/applications"));
    QCOMPARE(pages.size(), 3);
    QCOMPARE(pages.last().query.queryItemValue("page"), "3");

    // A load starts the list again from its first page.
    loaded();
    QCOMPARE(m_model->applicationList().size(), 4);
    QCOMPARE(m_model->page(), 1);
    QVERIFY(m_model->hasMore());
}

void LiveTabTest::pageNamingAnIdTwiceAddsBoth()
{
    open("lichen");
    loaded();
    // Regression: of an unlisted id that one page named twice, only the first was added.
    QJsonArray page{application("app-06"), application("app-07"), application("app-06")};
    m_site->service->setFault(secondPagePath,
                              {.json = QJsonObject{{"applications", page}, {"hasMore", false}}});
    await(m_model->more());
    QCOMPARE(ids(m_model->applicationList()),
             QStringList({"app-10", "app-09", "app-08", "app-07", "app-06", "app-06"}));
    QCOMPARE(m_model->applications()->rowCount(), 6);
    QVERIFY(!m_model->hasMore());
}

void LiveTabTest::pageFailureKeepsTheList()
{
    open("lichen");
    loaded();
    m_site->service->setFault(secondPagePath, {.status = 403});
    await(m_model->more());
    QCOMPARE(m_model->page(), 1);
    QCOMPARE(m_model->applicationList().size(), 4);
    QVERIFY(m_model->hasMore());
    QVERIFY(!m_model->messageText().isEmpty());
    // A refusal of a further page does not unlink.
    QVERIFY(m_model->authorized());
    QVERIFY(m_model->hasBoard());
}

void LiveTabTest::staleBoardIsDroppedAfterAnHour()
{
    open("lichen");
    m_model->staleTick(m_now.addSecs(7200)); // without a board, nothing to drop
    QCOMPARE(m_model->messageText(), QString());
    loaded();
    const QDateTime fetched = m_now;
    QCOMPARE(m_model->fetchedAt(), fetched);

    m_model->staleTick(fetched.addSecs(3599));
    QVERIFY(m_model->hasBoard());
    QCOMPARE(m_model->messageText(), QString());

    m_model->staleTick(fetched.addSecs(3600));
    QVERIFY(!m_model->hasBoard());
    QVERIFY(!m_model->showsBoards());
    QVERIFY(m_model->sections()->records().isEmpty());
    QCOMPARE(m_model->messageText(), "资料已过期，请刷新。");
    QVERIFY(m_model->extras().positions.isEmpty());
    QVERIFY(m_model->extras().recentPilots.isEmpty());
    QVERIFY(m_model->extras().routes.isEmpty());
    // The link, the list, the picture and the fetch time stay; the connect card does not come back.
    QVERIFY(m_model->authorized());
    QVERIFY(!m_model->showsConnectCard());
    QCOMPARE(m_model->applicationList().size(), 4);
    QVERIFY(m_model->hasAvatar());
    QCOMPARE(m_model->fetchedAt(), fetched);
    QCOMPARE(m_model->summary(), "查看 VORNA Live 机队、申请排班。");

    // A refresh fetches it again, stamped with the time of that fetch.
    m_now = fetched.addSecs(3660);
    loaded();
    QVERIFY(m_model->hasBoard());
    QCOMPARE(m_model->fetchedAt(), m_now);
    m_model->staleTick(m_now.addSecs(3599));
    QVERIFY(m_model->hasBoard());
}

void LiveTabTest::connectOpensTheVendorsPage()
{
    open("zhaolei");
    loaded();
    // The vendor's own page, as the service names it outside tests.
    m_site->service->setFault(
        QStringLiteral("/api/live-schedules/authorization-start"),
        {.json = QJsonObject{{"url", "https://api.infiniteflight.com/v2/oauth/authorize"
                                     "?client_id=vornalia&response_type=code&state=s"}}});
    m_model->setConfirmDisconnect(false);
    await(m_model->connectAccount());
    QVERIFY(m_model->authorizing());
    QCOMPARE(m_model->authorizationUrl().host(), "api.infiniteflight.com");
    QVERIFY(!m_model->busy());
    const auto starts =
        m_site->service->requestsTo(QStringLiteral("/api/live-schedules/authorization-start"));
    QCOMPARE(starts.size(), 1);
    QCOMPARE(starts.first().method, QByteArray("POST"));
    QCOMPARE(starts.first().body, QByteArray("{}"));
    QCOMPARE(starts.first().header("Content-Type"), QByteArray("application/json"));

    // Each opening is a sheet of its own.
    const QString first = m_model->authorizationKey();
    m_model->cancelAuthorization();
    QVERIFY(!m_model->authorizing());
    await(m_model->connectAccount());
    QVERIFY(m_model->authorizationKey() != first);
    m_model->cancelAuthorization();

    m_site->service->setFault(
        QStringLiteral("/api/live-schedules/authorization-start"),
        {.json = QJsonObject{{"url", "http://api.infiniteflight.com/v2/oauth/authorize"}}});
    await(m_model->connectAccount());
    QVERIFY(!m_model->authorizing());
    QCOMPARE(m_model->messageText(), "无效的授权地址。");
}

void LiveTabTest::authorizationEnds()
{
    open("lichen");
    loaded();
    // The vendor's own page, as the service names it outside tests.
    m_site->service->setFault(
        QStringLiteral("/api/live-schedules/authorization-start"),
        {.json = QJsonObject{{"url", "https://api.infiniteflight.com/v2/oauth/authorize"
                                     "?client_id=vornalia&response_type=code&state=s"}}});
    QVERIFY(m_model->hasAvatar());
    await(m_model->connectAccount());
    QVERIFY(m_model->authorizing());

    // A failed sign-in closes the sheet and says why; nothing is loaded.
    m_site->service->clearRequests();
    m_model->authorizationFailed("网络连接已中断。");
    QVERIFY(!m_model->authorizing());
    QCOMPARE(m_model->messageText(), "网络连接已中断。");
    QVERIFY(m_site->service->requests().isEmpty());

    // A successful one loads the page again, with the new link's picture.
    await(m_model->connectAccount());
    m_model->authorizationSucceeded();
    QVERIFY(!m_model->authorizing());
    // Regression: the picture of the account linked before stayed in the header.
    QVERIFY(!m_model->hasAvatar());
    QTRY_VERIFY(!m_model->busy());
    QCOMPARE(m_site->service->requestsTo(authorizationPath).size(), 1);
    QVERIFY(m_model->hasAvatar());
    QCOMPARE(m_model->messageText(), QString());
}

void LiveTabTest::disconnectUnlinks()
{
    open("lichen");
    loaded();
    m_model->setConfirmDisconnect(true);
    QVERIFY(m_site->service->requestsTo(disconnectPath).isEmpty());
    await(m_model->disconnect());
    QCOMPARE(m_site->service->requestsTo(disconnectPath).size(), 1);
    QCOMPARE(m_site->service->requestsTo(disconnectPath).first().body, QByteArray("{}"));
    QVERIFY(!m_model->authorized());
    QVERIFY(!m_model->hasBoard());
    QVERIFY(m_model->applicationList().isEmpty());
    QVERIFY(!m_model->hasAvatar());
    QVERIFY(!m_model->busy());
    QVERIFY(m_model->showsConnectCard());
    QCOMPARE(m_model->tabs().at(1).toMap().value("title").toString(), "我的申请");
    // The live figures are left for the next link.
    QVERIFY(!m_model->extras().positions.isEmpty());

    // The service has forgotten the link.
    loaded();
    QVERIFY(!m_model->authorized());
    QCOMPARE(m_model->messageText(), QString());
}

void LiveTabTest::disconnectRefusedStaysLinked_data()
{
    QTest::addColumn<Sample::Fault>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("service error") << Sample::Fault{.status = 500} << "";
    // Regression: an answer that says the link stands was taken for a disconnect.
    QTest::newRow("explicit no") << Sample::Fault{.json = QJsonObject{{"ok", false}}}
                                 << "未能断开 Infinite Flight，请稍后重试。";
}

void LiveTabTest::disconnectRefusedStaysLinked()
{
    QFETCH(Sample::Fault, fault);
    QFETCH(QString, message);
    open("lichen");
    loaded();
    m_site->service->setFault(disconnectPath, fault);
    await(m_model->disconnect());
    QVERIFY(m_model->authorized());
    QVERIFY(m_model->hasBoard());
    QVERIFY(m_model->hasAvatar());
    QVERIFY(!m_model->busy());
    QVERIFY(!m_model->messageText().isEmpty());
    if (!message.isEmpty())
        QCOMPARE(m_model->messageText(), message);
}

void LiveTabTest::disconnectWinsOverARunningLoad()
{
    open("lichen");
    m_site->service->setFault(boardPath, {.held = true});
    auto running = m_model->load();
    QTRY_COMPARE(m_site->service->requestsTo(boardPath).size(), 1);
    QVERIFY(m_model->authorized());

    await(m_model->disconnect());
    QVERIFY(!m_model->authorized());
    // The board the load was waiting for arrives after the disconnect.
    m_site->service->release();
    await(std::move(running));
    // Regression: the late board showed the page linked again after a successful unlink.
    QVERIFY(!m_model->authorized());
    QVERIFY(!m_model->hasBoard());
    QVERIFY(!m_model->busy());
    QVERIFY(m_site->service->requestsTo(firstPagePath).isEmpty());
}

void LiveTabTest::cancelledLoadLeavesNoMessage()
{
    open("lichen");
    m_site->service->setFault(authorizationPath, {.held = true});
    auto running = m_model->load();
    QTRY_COMPARE(m_site->service->requestsTo(authorizationPath).size(), 1);
    // The account is switched: its client ends its requests as cancelled.
    m_app->api()->retire();
    await(std::move(running));
    m_site->service->release();
    // Regression: the cancellation's own description was shown as a failure.
    QVERIFY(!m_model->message());
    QVERIFY(!m_model->busy());
    QVERIFY(!m_model->authorized());
}

QTEST_MAIN(LiveTabTest)
#include "tst_live_tab.moc"
