// The app's own views against the sample member service around the member's session: the screen the window
// root shows for each account state, the intro, the first-login forms, what the dashboard's tiles show and
// what its first showing asks the service for, the controls each screen shows where they apply, saved
// accounts and the switcher, and a report that comes back after the session ends.

#include "DashboardAnswers.h"
#include "PasswordForm.h"
#include "PirepFormModel.h"
#include "ProfileForm.h"
#include "ShellViewsFixture.h"
#include "SignInModel.h"

#include <QAccessible>
#include <QJsonArray>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

using namespace TestSupport;
using Sample::Request;

class ViewsSessionTest : public ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void controlsShownWhenTheyApply_data();
    void controlsShownWhenTheyApply();
    void windowRootScreenForEachState_data();
    void windowRootScreenForEachState();
    void introGoesOnceItHasPlayed();
    void dashboardTiles_data();
    void dashboardTiles();
    void firstShowingAsksOnce_data();
    void firstShowingAsksOnce();
    void firstLoginFormsLandOnTheDashboard();
    void savedAccountFromTheSignInForm();
    void bothSignInRoadsEndOnTheDashboard_data();
    void bothSignInRoadsEndOnTheDashboard();
    void switcherBesideTheDashboardAndTheWorkbench();
    void secondAccountSavedFromThePopover();
    void reportComesBackAfterTheSessionEnds();
};

// ---- what shows, and what can be pressed, where the screens make it conditional

void ViewsSessionTest::controlsShownWhenTheyApply_data()
{
    QTest::addColumn<QString>("scenario");
    // Controls as heardControl names them: an objectName, or "objectName>what a screen reader calls it".
    QTest::addColumn<QStringList>("enabled");  // shown and enabled
    QTest::addColumn<QStringList>("disabled"); // shown and disabled
    QTest::addColumn<QStringList>("hidden");   // not on screen
    QTest::addColumn<int>("mine");             // how many rows say "我"

    QTest::newRow("sign-in: empty form") << "sign-in" << QStringList() << QStringList{"login.submit"}
                                         << QStringList{"login.savedAccounts", "login.notice"} << 0;
    QTest::newRow("sign-in: user name of blanks")
        << "sign-in: blank name" << QStringList() << QStringList{"login.submit"} << QStringList() << 0;
    QTest::newRow("sign-in: password of blanks")
        << "sign-in: blank password" << QStringList{"login.submit>登录成员中心"} << QStringList()
        << QStringList() << 0;
    QTest::newRow("sign-in: signing in")
        << "sign-in: busy" << QStringList() << QStringList{"login.submit>正在登录"}
        << QStringList{"login.notice", "login.submit>登录成员中心"} << 0;
    QTest::newRow("sign-in: an account saved") << "sign-in: saved" << QStringList{"login.savedAccounts"}
                                               << QStringList{"login.submit"} << QStringList() << 0;
    // The account state's message stands on the form until the member signs in by it again.
    QTest::newRow("sign-in: the session expired")
        << "sign-in: expired" << QStringList{"login.notice>登录已过期，请重新登录。"}
        << QStringList{"login.submit"} << QStringList() << 0;
    QTest::newRow("sign-in: signing in again after the session expired")
        << "sign-in: expired busy" << QStringList() << QStringList{"login.submit>正在登录"}
        << QStringList{"login.notice"} << 0;
    QTest::newRow("inbox: notices unread")
        << "inbox: lichen" << QStringList{"inbox.markAll"} << QStringList() << QStringList() << 0;
    QTest::newRow("inbox: nothing unread")
        << "inbox: hejing" << QStringList() << QStringList{"inbox.markAll"} << QStringList() << 0;
    QTest::newRow("dashboard: complete profile") << "dashboard" << QStringList{"home.notifications"}
                                                 << QStringList() << QStringList{"home.profileBanner"} << 0;
    QTest::newRow("dashboard: no callsign") << "dashboard: no callsign" << QStringList{"home.profileBanner"}
                                            << QStringList() << QStringList() << 0;
    QTest::newRow("leaderboard: members") << "leaderboard>成员" << QStringList{"rank.metric", "rank.list"}
                                          << QStringList() << QStringList{"rank.fleet"} << 1;
    QTest::newRow("leaderboard: fleet") << "leaderboard>机队" << QStringList{"rank.metric", "rank.fleet"}
                                        << QStringList() << QStringList{"rank.list"} << 0;
    QTest::newRow("leaderboard: airports") << "leaderboard>机场" << QStringList{"rank.list"} << QStringList()
                                           << QStringList{"rank.metric", "rank.fleet"} << 0;
    QTest::newRow("leaderboard: reviewers") << "leaderboard>管理员" << QStringList() << QStringList()
                                            << QStringList{"rank.metric", "rank.fleet"} << 0;
}

void ViewsSessionTest::controlsShownWhenTheyApply()
{
    QFETCH(QString, scenario);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, hidden);
    QFETCH(int, mine);

    if (scenario.startsWith("sign-in")) {
        QVERIFY(showWindowRoot());
        QTRY_VERIFY(!m_app->checking());
        if (scenario.startsWith("sign-in: expired")) {
            // Ended at the service while the member was signed in: the next answer says so.
            QVERIFY(signIn("lichen", "fly-vornalia"));
            service().expireSessions();
            await(m_app->refreshProfile().then([] {}, [](const std::exception &) {}));
            QVERIFY(!m_app->signedIn());
        } else if (scenario == "sign-in: saved") {
            QVERIFY(signIn("lichen", "fly-vornalia"));
            await(m_app->rememberCurrentAccount());
            await(m_app->addAccount("hejing", "fly-vornalia"));
            await(m_app->signOut()); // hejing leaves the list, lichen stays saved
            QCOMPARE(m_app->savedAccountCount(), 1);
        } else {
            // Nothing saved by earlier tests.
            const QList<SavedLogin> saved = m_app->savedAccounts();
            for (const SavedLogin &account : saved)
                await(m_app->removeSavedAccount(account));
            QCOMPARE(m_app->savedAccountCount(), 0);
        }
        QTRY_VERIFY(shown(m_root, "login.submit"));
        auto *form = m_root->findChild<SignInModel *>();
        QVERIFY(form);
        if (scenario == "sign-in: blank name") {
            form->setUsername("   ");
            form->setPassword("fly-vornalia");
        } else if (scenario == "sign-in: blank password") {
            form->setUsername("lichen");
            form->setPassword("   ");
        } else if (scenario == "sign-in: busy" || scenario == "sign-in: expired busy") {
            form->setUsername("lichen");
            form->setPassword("fly-vornalia");
            service().setFault("/api/login", {.held = true});
            QMetaObject::invokeMethod(shown(m_root, "login.submit"), "clicked");
            QTRY_VERIFY(form->busy());
        }
    } else {
        const QString username = scenario == "inbox: hejing" ? "hejing" : "lichen";
        if (scenario == "dashboard: no callsign")
            service().accountNamed("lichen")->profile["callsign"] = "";
        QVERIFY(showDashboard(username));
        auto *navigation = m_root->findChild<MemberNavigation *>();
        if (scenario.startsWith("inbox")) {
            const auto inboxLoads = [this] { return service().requestsTo("/api/notifications").size(); };
            const qsizetype before = inboxLoads();
            QMetaObject::invokeMethod(shown(m_root, "home.notifications"), "clicked");
            QTRY_VERIFY(shown(m_root, "inbox.markAll"));
            // The inbox's own load on showing has ended.
            const auto *data = m_root->findChild<MemberData *>();
            QTRY_VERIFY(inboxLoads() > before && !data->state(MemberLoad::Inbox).loading);
        } else if (scenario.startsWith("leaderboard")) {
            navigation->setSelected(MemberTab::Account);
            navigation->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard);
            QTRY_VERIFY(shown(m_root, "rank.list"));
            QQuickItem *board = nullptr;
            QTRY_VERIFY((board = heardControl(m_root, "rank.board>" + scenario.section('>', 1))));
            QMetaObject::invokeMethod(board, "clicked");
            QTRY_VERIFY(QAccessible::queryAccessibleInterface(board)->state().selected);
        }
        if (scenario == "dashboard: no callsign")
            service().accountNamed("lichen")->profile["callsign"] = "207";
    }

    for (const QString &control : enabled) {
        QQuickItem *item = nullptr;
        QTRY_VERIFY2((item = heardControl(m_root, control)), qPrintable(control + " is not shown"));
        QTRY_VERIFY2(item->isEnabled(), qPrintable(control + " is disabled"));
    }
    for (const QString &control : disabled) {
        QQuickItem *item = nullptr;
        QTRY_VERIFY2((item = heardControl(m_root, control)), qPrintable(control + " is not shown"));
        QVERIFY2(!item->isEnabled(), qPrintable(control + " is enabled"));
    }
    for (const QString &control : hidden)
        QVERIFY2(!heardControl(m_root, control), qPrintable(control + " is shown"));
    const QList<QQuickItem *> all = itemsBelow(m_root);
    const auto own = std::count_if(all.cbegin(), all.cend(), [](QQuickItem *item) {
        return item->isVisible() && item->objectName() == "rank.me";
    });
    QCOMPARE(int(own), mine);
    if (scenario.startsWith("leaderboard")) {
        QStringList chips;
        for (QQuickItem *item : all) {
            if (item->isVisible() && item->inherits("QQuickText")
                && item->property("text").toString() == "我")
                chips.append(item->objectName());
        }
        QCOMPARE(chips.size(), mine);
    }
}

// ---- the window root

void ViewsSessionTest::windowRootScreenForEachState_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("gateStatus"); // the gate page fails with this status; 0: it answers
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("nobody: sign-in") << ""
                                     << "" << 0 << "login.submit" << QStringList{"成员登录", "登录成员中心"};
    QTest::newRow("gate password") << "zhouning"
                                   << "temporary-123" << 0 << "gate.password"
                                   << QStringList{"设置新密码",
                                                  "首次登录请将邮件中的临时密码改为自己的密码。",
                                                  "邮件中的临时密码", "设置密码并继续", "退出登录"};
    QTest::newRow("gate profile") << "xuhang"
                                  << "fly-vornalia" << 0 << "gate.profile"
                                  << QStringList{"完成账号设置", "头像", "使用 IFC 头像",
                                                 "保存并进入成员中心", "退出登录"};
    QTest::newRow("gate ready, member: dashboard")
        << "lichen"
        << "fly-vornalia" << 0 << "home.notifications" << QStringList{"首页", "PIREP", "欢迎回来，李辰"};
    QTest::newRow("gate ready, staff: workbench")
        << "wangfang"
        << "fly-vornalia" << 0 << "shell.workbench" << QStringList{"审核", "审核工作台"};
    QTest::newRow("gate not answered")
        << "lichen"
        << "fly-vornalia" << 503 << "gate.waiting"
        << QStringList{"正在确认账号要求", "账号状态暂时不可用，请重试。", "重试", "重新登录"};
}

void ViewsSessionTest::windowRootScreenForEachState()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(int, gateStatus);
    QFETCH(QString, screen);
    QFETCH(QStringList, texts);
    const QStringList screens{"gate.checking", "login.submit",       "gate.password",  "gate.profile",
                              "gate.waiting",  "home.notifications", "shell.workbench"};

    QVERIFY(showWindowRoot());
    if (gateStatus != 0)
        service().setFault("/member", {.status = gateStatus, .times = 1});
    if (username.isEmpty())
        QTRY_VERIFY(!m_app->checking());
    else
        QVERIFY(signIn(username, password));

    QTRY_VERIFY(shown(m_root, screen));
    for (const QString &other : screens)
        QCOMPARE(bool(shown(m_root, other)), other == screen);
    // Lists fill their rows once the window has laid them out.
    for (const QString &text : texts)
        QTRY_VERIFY2(textsShown(m_root).contains(text), qPrintable(text));
}

void ViewsSessionTest::introGoesOnceItHasPlayed()
{
    // Guards the played intro and its full-window art staying in the window behind every screen.
    QVERIFY(showWindowRoot());
    QVERIFY(m_root->findChild<QQuickItem *>("brand.intro"));
    QTRY_VERIFY(!m_root->findChild<QQuickItem *>("brand.intro"));
    QTRY_VERIFY(!m_app->checking());
    QVERIFY(shown(m_root, "login.submit"));
}

// ---- the dashboard

void ViewsSessionTest::dashboardTiles_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("username"); // as the service knows it
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("callsignLine");
    QTest::addColumn<QString>("rank");
    QTest::addColumn<QString>("bell");

    QTest::newRow("member with unread notices") << "lichen"
                                                << "lichen"
                                                << "李辰"
                                                << "B-207CA · VORNA 成员"
                                                << "#2"
                                                << "bell.badge";
    QTest::newRow("user name typed in another case") << "LiChen"
                                                     << "lichen"
                                                     << "李辰"
                                                     << "B-207CA · VORNA 成员"
                                                     << "#2"
                                                     << "bell.badge";
    QTest::newRow("nothing unread") << "hejing"
                                    << "hejing"
                                    << "何静"
                                    << "B-077CA · VORNA 成员"
                                    << "#3"
                                    << "bell";
}

void ViewsSessionTest::dashboardTiles()
{
    QFETCH(QString, typed);
    QFETCH(QString, username);
    QFETCH(QString, name);
    QFETCH(QString, callsignLine);
    QFETCH(QString, rank);
    QFETCH(QString, bell);
    // Faults, not routes: the next test finds the service's own answers again.
    const auto serve = [this](const QString &path, const QJsonObject &answer) {
        Sample::Fault fault;
        fault.json = answer;
        service().setFault(path, fault);
    };
    serve("/api/pireps",
          {{"pireps", QJsonArray{dashboardPirep("a", "pending"), dashboardPirep("b", "pending", 1.7e9),
                                 dashboardPirep("c", "approved"), dashboardPirep("d", "Pending")}},
           {"summary", QJsonObject{{"approvedCount", 12}, {"approvedDurationMinutes", 125}}}});
    serve("/api/member/pirep-leaderboard",
          {{"members", QJsonArray{leaderboardMember("zhangwei"), leaderboardMember("LICHEN"),
                                  leaderboardMember("hejing")}}});

    QVERIFY(showDashboard(typed));

    const auto tile = [this](const QString &handle) {
        QQuickItem *metric = shown(m_root, handle);
        return metric ? metric->property("value").toString() : QString("(not shown)");
    };
    QCOMPARE(tile("home.approvedDuration"), QString("2 小时 5 分"));
    QCOMPARE(tile("home.approvedCount"), QString("12"));
    QCOMPARE(tile("home.pending"), QString("2"));
    QCOMPARE(tile("home.rank"), rank);

    const QStringList onScreen = textsShown(m_root);
    QVERIFY(onScreen.contains("欢迎回来，" + name));
    QVERIFY(onScreen.contains(name));
    QVERIFY(onScreen.contains(callsignLine));
    QVERIFY(onScreen.contains(username)); // the account button names the account as the service does
    // One held report: the to-do block with its banner.
    QVERIFY(onScreen.contains("需要你处理"));
    QVERIFY(onScreen.contains("ZBAA → ZSPD 需补充证据"));

    QStringList bellSymbols;
    for (QQuickItem *item : itemsBelow(shown(m_root, "home.notifications"))) {
        if (item->isVisible() && !item->property("name").toString().isEmpty())
            bellSymbols.append(item->property("name").toString());
    }
    QCOMPARE(bellSymbols, QStringList{bell});
}

void ViewsSessionTest::firstShowingAsksOnce_data()
{
    QTest::addColumn<bool>("goneBefore");   // signed in before, until the gate found the session gone
    QTest::addColumn<int>("profileStatus"); // the profile fails with this status; 0: it answers
    QTest::newRow("first sign-in") << false << 0;
    QTest::newRow("again after the gate found the session gone") << true << 0;
    QTest::newRow("profile failing") << false << 503;
}

// Regression: the home page was made twice on its first showing, so the profile, its avatar and the saved
// live map went out twice after every sign-in, and a failing profile looked retried.
void ViewsSessionTest::firstShowingAsksOnce()
{
    QFETCH(bool, goneBefore);
    QFETCH(int, profileStatus);
    QVERIFY(showWindowRoot());
    if (goneBefore) {
        QVERIFY(signIn("lichen", "fly-vornalia"));
        QTRY_VERIFY(shown(m_root, "home.notifications"));
        waitForTheDashboard();
        service().expireSessions();
        await(m_app->checkGate()); // the gate keeps its answer; the member tabs come with the next sign-in
        QTRY_VERIFY(shown(m_root, "login.submit"));
    }
    if (profileStatus != 0)
        service().setFault("/api/profile", {.status = profileStatus});
    service().clearRequests();

    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    waitForTheDashboard();
    if (profileStatus == 0)
        QTRY_COMPARE(service().requestsTo("/api/profile/avatar").size(), 1);
    else
        QTRY_VERIFY(textsShown(m_root).contains(QString("样例服务按要求返回 %1。").arg(profileStatus)));
    QTest::qWait(300); // anything that would still go out arrives

    QStringList gets;
    for (const Request &request : service().requests()) {
        if (request.method == "GET" && request.path != "/api/me")
            gets.append(request.path
                        + (request.query.isEmpty() ? QString() : "?" + request.query.toString()));
    }
    // Each of the first wave's eight asked once. Their order at the service is not the app's: Qt opens six
    // connections to a host, so the last two of the wave may go out after a dependant.
    for (const QString path : {"/api/events/upcoming?window=claim", "/api/infinite-flight/live",
                               "/api/infinite-flight/live?saved=1", "/api/member/pirep-leaderboard",
                               "/api/member/routes", "/api/notifications", "/api/pireps", "/api/profile"})
        QVERIFY2(gets.count(path) == 1,
                 qPrintable(path + " was asked " + QString::number(gets.count(path)) + " times"));
    QCOMPARE(gets.count("/api/profile/avatar"), profileStatus == 0 ? 1 : 0);
}

// ---- the first-login forms

void ViewsSessionTest::firstLoginFormsLandOnTheDashboard()
{
    // The must-change account: the password form, then the dashboard by itself.
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("zhouning", "temporary-123"));
    QTRY_VERIFY(shown(m_root, "gate.password"));
    auto *password = m_root->findChild<PasswordForm *>();
    QVERIFY(password);
    password->setCurrent("temporary-123");
    password->setNext("my-own-password-1");
    password->setConfirmation("my-own-password-1");
    QVERIFY(QMetaObject::invokeMethod(shown(m_root, "password.save"), "clicked"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    QVERIFY(!shown(m_root, "gate.password"));
    cleanup();

    // The profile set-up: the forum avatar, the two required fields, the dashboard by itself.
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("xuhang", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "gate.profile"));
    auto *profile = m_root->findChild<ProfileForm *>();
    QVERIFY(profile);
    QTRY_VERIFY(profile->loaded());
    QVERIFY(QMetaObject::invokeMethod(shown(m_root, "profile.forumAvatar"), "clicked"));
    QTRY_VERIFY(profile->hasPendingAvatar());
    profile->setWechatName("许航");
    profile->setContactEmail("xuhang@example.com");
    QVERIFY(QMetaObject::invokeMethod(shown(m_root, "profile.save"), "clicked"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    QVERIFY(m_app->hasAvatar());
}

// "使用已保存账号" on the sign-in form opens the account switcher; a saved account signs in from there.
void ViewsSessionTest::savedAccountFromTheSignInForm()
{
    QVERIFY(showSignedIn("lichen"));
    await(m_app->rememberCurrentAccount());
    await(m_app->addAccount("hejing", "fly-vornalia"));
    QCOMPARE(m_app->savedAccountCount(), 2);
    await(m_app->signOut()); // hejing leaves the list, lichen stays saved
    QCOMPARE(m_app->savedAccountCount(), 1);
    const QString lichen = m_app->savedAccounts().constFirst().id();

    // Regression: the switcher over the sign-in form opened unnamed and without the keyboard, so a screen
    // reader said nothing until Tab reached "完成"; and its popup wrote its own binding as it closed.
    QTest::failOnWarning(QRegularExpression("Binding loop"));
    QVERIFY(activateWindow());
    QTRY_VERIFY(!m_app->accountBusy());
    // The form puts the keyboard in its first field once it is on, when it came after a sign-out: a key the
    // test sends before would go there.
    QQuickItem *form = nullptr;
    for (QQuickItem *item : itemsBelow(m_root)) {
        if (item->property("takesKeyboard").isValid())
            form = item;
    }
    QVERIFY(form);
    if (form->property("takesKeyboard").toBool())
        QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "login.username"));
    for (const int closing : {int(Qt::Key_Escape), 0}) {
        QTRY_VERIFY(shown(m_root, "login.savedAccounts")
                    && shown(m_root, "login.savedAccounts")->isEnabled());
        shown(m_root, "login.savedAccounts")->forceActiveFocus(Qt::TabFocusReason);
        QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "login.savedAccounts"));
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_VERIFY(shown(m_window->contentItem(), "account.saved." + lichen));
        QVERIFY(!shown(m_window->contentItem(), "account.logout")); // nobody to sign out
        // The popup the keyboard is in, on a control a screen reader names.
        const auto popupWithTheKeyboard = [this]() -> QQuickItem * {
            QQuickItem *item = m_window->activeFocusItem();
            if (!item || heardName(item).isEmpty())
                return nullptr;
            while (item && !item->inherits("QQuickPopupItem"))
                item = item->parentItem();
            return item;
        };
        QTRY_VERIFY(popupWithTheKeyboard());
        // Its title is what a screen reader calls a popup (tst_item_accessibility).
        QCOMPARE(popupWithTheKeyboard()->parent()->property("title").toString(), QStringLiteral("切换账号"));
        if (!closing)
            break;
        QTest::keyClick(m_window.get(), Qt::Key(closing));
        QTRY_VERIFY(!shown(m_window->contentItem(), "account.saved." + lichen));
        QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "login.savedAccounts"));
        QVERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
    }
    QTRY_VERIFY(!m_app->accountBusy());
    // The row found again: the panel's rows are made anew as the accounts it reads change.
    QQuickItem *row = nullptr;
    QTRY_VERIFY((row = shown(m_window->contentItem(), "account.saved." + lichen)));
    QVERIFY(QMetaObject::invokeMethod(row, "clicked"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(m_app->username(), QString("lichen"));
    QTRY_VERIFY(!shown(m_window->contentItem(), "account.switcher"));
}

void ViewsSessionTest::bothSignInRoadsEndOnTheDashboard_data()
{
    QTest::addColumn<bool>("saved"); // from the saved accounts over the form, else typed into the form
    QTest::newRow("typed into the form") << false;
    QTest::newRow("a saved account from the switcher") << true;
}

// Signed in from the keyboard, by the form or by a saved account, the member finds the keyboard on the home
// page, named as it is.
void ViewsSessionTest::bothSignInRoadsEndOnTheDashboard()
{
    QFETCH(bool, saved);
    // What a test before left in this keyring goes first, and the window starts afresh without it: a session
    // found expired would put its notice on the form, and the keyboard there, as the test types.
    QVERIFY(showWindowRoot());
    QTRY_VERIFY(!m_app->checking());
    if (m_app->signedIn())
        await(m_app->signOut());
    while (m_app->savedAccountCount() > 0)
        await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
    cleanup();
    // Active before the form shows: as it becomes active the window gives the keyboard back where it was.
    QVERIFY(showWindowRoot());
    QVERIFY(activateWindow());
    QTRY_VERIFY(!m_app->checking());
    QString lichen;
    if (saved) {
        // Saved, then signed out: the form offers the account.
        QVERIFY(signIn("lichen", "fly-vornalia"));
        QTRY_VERIFY(shown(m_root, "home.notifications"));
        await(m_app->rememberCurrentAccount());
        await(m_app->addAccount("hejing", "fly-vornalia"));
        await(m_app->signOut());
        QCOMPARE(m_app->savedAccountCount(), 1);
        lichen = m_app->savedAccounts().constFirst().id();
    }
    QTRY_VERIFY(!m_app->checking() && !m_app->accountBusy());
    QQuickItem *field = nullptr;
    QTRY_VERIFY((field = shown(m_root, "login.username")));
    // After a sign-out the form puts the keyboard in its first field once it is on, by a timer of its own: a
    // key sent before would be taken from where it went.
    for (QQuickItem *form : itemsBelow(m_root)) {
        if (!form->property("takesKeyboard").toBool())
            continue;
        for (QObject *timer : form->findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (timer->inherits("QQmlTimer"))
                QTRY_VERIFY(!timer->property("running").toBool());
        }
        QTRY_COMPARE(m_window->activeFocusItem(), field);
    }
    if (saved) {
        QTRY_VERIFY(shown(m_root, "login.savedAccounts")
                    && shown(m_root, "login.savedAccounts")->isEnabled());
        shown(m_root, "login.savedAccounts")->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QQuickItem *row = awaitItem([&] { return shown(m_window->contentItem(), "account.saved." + lichen); },
                                    [this](QQuickItem *) { return !m_app->accountBusy(); });
        QVERIFY(row);
        row->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
    } else {
        typeInto(field, "lichen");
        QTest::keyClick(m_window.get(), Qt::Key_Tab);
        QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "login.password"));
        typeKeys(m_window.get(), "fly-vornalia");
        QTest::keyClick(m_window.get(), Qt::Key_Return);
    }
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    // Regression: from the saved accounts the keyboard ended on the sidebar's "首页", not on the page.
    QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("成员中心"));
    waitForTheDashboard();
    QCOMPARE(heardName(m_window->activeFocusItem()), QString("成员中心"));

    // Leave the keyring as it was found.
    await(m_app->signOut());
    while (m_app->savedAccountCount() > 0)
        await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
}

// The account button beside the member's dashboard and beside the staff's workbench opens the switcher; a
// saved account switches from either, and the home tab shows the new account's home page.
void ViewsSessionTest::switcherBesideTheDashboardAndTheWorkbench()
{
    QVERIFY(showSignedIn("lichen"));
    // The staff member added from the switcher: the workbench is their home.
    await(m_app->rememberCurrentAccount());
    await(m_app->addAccount("wangfang", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "shell.workbench"));
    QCOMPARE(m_app->savedAccountCount(), 2);
    const QString lichen = m_app->savedAccounts().constFirst().id();
    const QString wangfang = m_app->savedAccounts().constLast().id();

    const auto switchTo = [this](const QString &id) {
        QQuickItem *button = shown(m_root, "account.avatar");
        QVERIFY(button);
        QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
        QTRY_VERIFY(shown(m_window->contentItem(), "account.switcher"));
        QVERIFY(shown(m_window->contentItem(), "account.openProfile"));
        QTRY_VERIFY(!m_app->accountBusy()); // the current account is saved as the panel opens
        QQuickItem *row = nullptr;
        QTRY_VERIFY((row = shown(m_window->contentItem(), "account.saved." + id)));
        QVERIFY(QMetaObject::invokeMethod(row, "clicked"));
        QTRY_VERIFY(!shown(m_window->contentItem(), "account.switcher"));
    };
    switchTo(lichen);
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(m_app->username(), QString("lichen"));
    QVERIFY(!shown(m_root, "shell.workbench"));
    switchTo(wangfang);
    QTRY_VERIFY(shown(m_root, "shell.workbench"));
    QCOMPARE(m_app->username(), QString("wangfang"));
}

// Regression: "登录并保存" for a second account crashed the app against the desktop's keyring (two keychain
// operations waiting on one item), and every start after it crashed too.
void ViewsSessionTest::secondAccountSavedFromThePopover()
{
    QVERIFY(showWindowRoot());
    QTRY_VERIFY(!m_app->checking());
    // Accounts the tests before saved in this keyring go first.
    while (m_app->savedAccountCount() > 0)
        await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
    await(m_app->signIn("lichen", "fly-vornalia", true)); // "保持登录 30 天"
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    waitForTheDashboard();

    QQuickItem *button = shown(m_root, "account.avatar");
    QVERIFY(button);
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
    QQuickItem *toggle = nullptr;
    QTRY_VERIFY((toggle = shown(m_window->contentItem(), "account.add.toggle")));
    QVERIFY(QMetaObject::invokeMethod(toggle, "clicked"));
    QQuickItem *username = nullptr;
    QTRY_VERIFY((username = shown(m_window->contentItem(), "account.add.username")));
    // The open add form grows the popover; in a 1100×720 window its sign-out button stays in view.
    m_window->resize(1100, 720);
    const auto bottom = [](QQuickItem *item) { return item->mapToScene(QPointF(0, item->height())).y(); };
    QQuickItem *panel = shown(m_window->contentItem(), "account.switcher");
    // Once the signed-in account is saved, its row stands above the form too.
    QTRY_VERIFY(!shown(m_window->contentItem(), "account.none"));
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    QCOMPARE_LE(bottom(shown(m_window->contentItem(), "account.logout")), bottom(panel));
    QVERIFY(bottom(panel) <= m_window->height());
    typeInto(username, "hejing");
    typeInto(shown(m_window->contentItem(), "account.add.password"), "fly-vornalia");
    QQuickItem *submit = shown(m_window->contentItem(), "account.add.submit");
    QTRY_VERIFY(submit->isEnabled());
    QVERIFY(QMetaObject::invokeMethod(submit, "clicked"));
    QTRY_COMPARE(m_app->username(), QString("hejing"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    waitForTheDashboard();

    // A restart with that keyring: hejing, both accounts listed.
    const auto listed = [this] {
        QStringList names;
        for (const SavedLogin &login : m_app->savedAccounts())
            names << login.user.username;
        return names;
    };
    QCOMPARE(listed(), (QStringList{"lichen", "hejing"}));
    cleanup();
    QVERIFY(showWindowRoot());
    QTRY_VERIFY(!m_app->checking());
    QCOMPARE(m_app->username(), QString("hejing"));
    QCOMPARE(listed(), (QStringList{"lichen", "hejing"}));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    waitForTheDashboard();

    // Leave the keyring as it was found.
    await(m_app->signOut());
    await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
    QCOMPARE(m_app->savedAccountCount(), 0);
}

// Regression: a session that ended while a report was written threw the report away; after signing in again
// the form was empty.
void ViewsSessionTest::reportComesBackAfterTheSessionEnds()
{
    QVERIFY(showSignedIn("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->setSelected(MemberTab::Flights);
    navigation->startPirep();
    QQuickItem *departure = nullptr;
    QTRY_VERIFY((departure = shown(m_root, "pirep.departure")));
    typeInto(departure, "ZSPD");
    typeInto(shown(m_root, "pirep.arrival"), "RJTT");
    typeInto(shown(m_root, "pirep.aircraft"), "Boeing 787-9");
    typeInto(shown(m_root, "pirep.livery"), "China Eastern");
    PirepFormModel *form = pirepForm();
    QVERIFY(form);
    QCOMPARE(form->departure(), QString("ZSPD"));
    form->setMinutes("55");
    QVERIFY(form->canSubmit());

    // The session ends at the service; the next answer the form meets says so.
    service().expireSessions();
    await(form->send());
    QTRY_VERIFY(shown(m_root, "login.submit"));
    QVERIFY(!shown(m_root, "pirep.departure"));

    await(m_app->signIn("lichen", "fly-vornalia", false));
    QTRY_VERIFY(shown(m_root, "pirep.restored"));
    QCOMPARE(m_root->findChild<MemberNavigation *>()->selected(), MemberTab::Flights);
    QCOMPARE(shown(m_root, "pirep.departure")->property("text").toString(), QString("ZSPD"));
    QCOMPARE(shown(m_root, "pirep.aircraft")->property("text").toString(), QString("Boeing 787-9"));
}

VORNA_SHELL_VIEWS_TEST_MAIN(ViewsSessionTest)

#include "tst_views_session.moc"
