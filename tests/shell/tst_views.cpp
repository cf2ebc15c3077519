// The app's own views against the sample member service: the screen the window root shows for each account
// state, what the dashboard's tiles show, and what the dashboard's first showing asks the service for.
#include "AppState.h"
#include "ClientTestSupport.h"
#include "DashboardAnswers.h"
#include "ImageTestSupport.h"
#include "Installed.h"
#include "ItemAccessibility.h"
#include "LiveMapModel.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "MemberNotificationsModel.h"
#include "PageStackModel.h"
#include "PageTable.h"
#include "PasswordForm.h"
#include "PirepFormModel.h"
#include "ProfileForm.h"
#include "SceneTestSupport.h"
#include "ShellTestSite.h"
#include "SignInModel.h"
#include "UpdateCheck.h"
#include "WindowRootTestSupport.h"

#include <QAccessible>
#include <QGeoCoordinate>
#include <QJsonArray>
#include <QMetaEnum>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ImagesPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_HomePlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ShellPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_UpdatesPlugin)

using namespace TestSupport;
using Sample::Reply;
using Sample::Request;

namespace {

// The inbox's first notice on screen.
QQuickItem *firstNotice(QQuickItem *root)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->isVisible() && item->inherits("QQuickSwipeDelegate"))
            return item;
    }
    return nullptr;
}

// The row of a list at an index, if the list has made it.
QQuickItem *rowAt(QQuickItem *list, int index)
{
    QQuickItem *row = nullptr;
    QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, index));
    return row;
}

} // namespace

class ViewsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void passwordNeverReachesTheAccessibilityBus();
    void everyControlIsHeard_data();
    void everyControlIsHeard();
    void focusLandsOnANamedElement_data();
    void focusLandsOnANamedElement();
    void noticeMenuFromTheKeyboard_data();
    void noticeMenuFromTheKeyboard();
    void controlsShownWhenTheyApply_data();
    void controlsShownWhenTheyApply();
    void shellOpensEachPageAndGoesBack_data();
    void shellOpensEachPageAndGoesBack();
    void windowRootScreenForEachState_data();
    void windowRootScreenForEachState();
    void introGoesOnceItHasPlayed();
    void dashboardTiles_data();
    void dashboardTiles();
    void firstShowingAsksOnce_data();
    void firstShowingAsksOnce();
    void leaderboardFromTheAccountTab();
    void pageBeneathStaysThroughPushAndPop();
    void dashboardOpensItsPagesOnItsOwnStack_data();
    void dashboardOpensItsPagesOnItsOwnStack();
    void homeRefreshesAsItShowsAgain();
    void eventInItsPirepWindowOpensThePirepForm();
    void tabsMakeTheirPagesWhenFirstShown();
    void ownFlightLinkLandsOnTheMap_data();
    void ownFlightLinkLandsOnTheMap();
    void liveMapShowsTheBannerAndTheSelectedFlightsBar();
    void backKeysPopOnePage_data();
    void backKeysPopOnePage();
    void listRowsFromTheKeyboard_data();
    void listRowsFromTheKeyboard();
    void noticeMarkedReadKeepsTheKeyboard_data();
    void noticeMarkedReadKeepsTheKeyboard();
    void workbenchOpensAReviewAndGoesBack_data();
    void workbenchOpensAReviewAndGoesBack();
    void staffReachTheMembersAnswersToAnEvent();
    void firstLoginFormsLandOnTheDashboard();
    void logbookSheetOverTheAccountTab();
    void routesMapOnTheDashboardAndInTheLogbook();
    void routesMapOfAMemberWithoutRoutes();
    void savedAccountFromTheSignInForm();
    void switcherBesideTheDashboardAndTheWorkbench();
    void secondAccountSavedFromThePopover();
    void reportComesBackAfterTheSessionEnds();
    void reportFromTheKeyboardAlone();

private:
    Sample::Service &service() { return m_site.service(); }
    // The window's root view, made as the app makes it; its account state starts the restore at once.
    bool showWindowRoot();
    // Signs in through the window root's own account state, once its restore has ended.
    bool signIn(const QString &username, const QString &password);
    // Waits until every keyed load of the dashboard has ended.
    void waitForTheDashboard();
    // The window, the member signed in and his dashboard with every load ended.
    bool showDashboard(const QString &username);
    // Brings the table's screen on: the sign-in form, a refused sign-in, the dashboard and what opens from
    // it, or the update prompt over the dashboard.
    void showScreen(const QString &screen);
    // The update prompt over the window, offering 2.4.0 with these notes to version 2.3.0.
    bool showUpdatePrompt(const QString &notes);
    // The stack of pages of a tab that has pages of its own.
    PageStackModel *pagesOf(MemberTab tab) const;
    // Tab (or Shift+Tab, `back`) until the keyboard is on that control or in it; false when more than a
    // round of the form's controls goes by without it.
    bool tabTo(const QString &control, bool back = false);

    ShellSite m_site;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<UpdateCheck> m_updater;
    std::unique_ptr<QQuickItem> m_prompt;
    QQuickItem *m_root = nullptr;
    AppState *m_app = nullptr;
};

// The two keys that go back one page: Escape and Alt+Left.
static void addBackKeys()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Alt+Left") << int(Qt::Key_Left) << int(Qt::AltModifier);
}

void ViewsTest::initTestCase()
{
    // As the app does before its first window.
    ItemAccessibility::install();
    QVERIFY(m_site.start());
}

void ViewsTest::init() { m_site.reset(); }

void ViewsTest::cleanup()
{
    // A request a failed test left behind would take the next one to the map.
    FlightActivityNavigation::shared().clearOwnFlightRequest();
    m_app = nullptr;
    m_root = nullptr;
    m_prompt.reset();
    m_updater.reset();
    closeWindow(m_window, m_engine);
}

// Regression: Qt hands a password field's typed text to the accessibility bus, where any program of the
// member's session could read it.
void ViewsTest::passwordNeverReachesTheAccessibilityBus()
{
    QVERIFY(showWindowRoot());
    QTRY_VERIFY(!m_app->checking());
    auto *password = m_root->findChild<QQuickItem *>("login.password");
    QVERIFY(password);
    password->forceActiveFocus();
    for (const char typed : QByteArray("fly-vornalia"))
        QTest::keyClick(m_window.get(), typed);
    QCOMPARE(password->property("text").toString(), QString("fly-vornalia"));

    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(password);
    QVERIFY(field);
    QCOMPARE(field->role(), QAccessible::EditableText);
    QVERIFY(field->state().passwordEdit);
    QVERIFY(field->state().focused);
    QCOMPARE(field->text(QAccessible::Name), QString("密码"));
    for (const QAccessible::Text kind : {QAccessible::Value, QAccessible::Description, QAccessible::Help})
        QVERIFY(!field->text(kind).contains("fly"));
    QVERIFY(!field->textInterface());
    QVERIFY(!field->editableTextInterface());
    // The user name beside it is named too.
    QAccessibleInterface *username =
        QAccessible::queryAccessibleInterface(m_root->findChild<QQuickItem *>("login.username"));
    QCOMPARE(username->text(QAccessible::Name), QString("IFC 用户名"));
}

// What a screen reader hears of each screen's controls, through Qt's own accessibility interfaces: one row
// per control, so every new screen adds its rows here.
void ViewsTest::everyControlIsHeard_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("control"); // its objectName
    QTest::addColumn<QString>("name");    // exactly this, or empty: any name that mentions every one below
    QTest::addColumn<QStringList>("mentions");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("selected");

    const int button = QAccessible::Button;
    const int field = QAccessible::EditableText;
    const int heading = QAccessible::Heading;
    // The sign-in form comes up empty, so its submit button cannot be pressed yet.
    QTest::newRow("sign-in: user name") << "sign-in"
                                        << "login.username"
                                        << "IFC 用户名" << QStringList() << field << true << false;
    QTest::newRow("sign-in: password") << "sign-in"
                                       << "login.password"
                                       << "密码" << QStringList() << field << true << false;
    QTest::newRow("sign-in: submit") << "sign-in"
                                     << "login.submit"
                                     << "登录成员中心" << QStringList() << button << false << false;
    QTest::newRow("dashboard: bell") << "dashboard"
                                     << "home.notifications"
                                     << "通知" << QStringList() << button << true << false;
    QTest::newRow("dashboard: latest flight")
        << "dashboard"
        << "home.latest-flight"
        << "" << QStringList{"B-207CA", " → "} << button << true << false;
    QTest::newRow("dashboard: event")
        << "dashboard"
        << "home.event"
        << "" << QStringList{"ZSPD", "Airbus A330-300"} << button << true << false;
    QTest::newRow("dashboard: routes map's scope")
        << "dashboard"
        << "routes.scope"
        << "显示全部航线" << QStringList() << button << true << false;
    QTest::newRow("dashboard: routes map's full screen")
        << "dashboard"
        << "routes.fullScreen"
        << "全屏查看航线" << QStringList() << button << true << false;
    QTest::newRow("dashboard: account button") << "dashboard"
                                               << "account.avatar"
                                               << "切换账号" << QStringList() << button << true << false;
    QTest::newRow("dashboard: sidebar's open row") << "dashboard"
                                                   << "shell.tab.0"
                                                   << "首页" << QStringList() << button << true << true;
    QTest::newRow("dashboard: sidebar's other row") << "dashboard"
                                                    << "shell.tab.1"
                                                    << "PIREP" << QStringList() << button << true << false;
    QTest::newRow("inbox: back") << "inbox"
                                 << "inbox.back"
                                 << "返回" << QStringList() << button << true << false;
    QTest::newRow("inbox: heading") << "inbox"
                                    << "inbox.heading"
                                    << "通知" << QStringList() << heading << true << false;
    QTest::newRow("leaderboard: heading") << "leaderboard"
                                          << "rank.heading"
                                          << "排行榜" << QStringList() << heading << true << false;
    QTest::newRow("leaderboard: board")
        << "leaderboard"
        << "rank.board"
        << "排行榜" << QStringList() << int(QAccessible::PageTabList) << true << false;
    QTest::newRow("leaderboard: period")
        << "leaderboard"
        << "rank.period"
        << "时间范围" << QStringList() << int(QAccessible::PageTabList) << true << false;

    const int tab = QAccessible::PageTab;
    const int text = QAccessible::StaticText;
    // A refused sign-in is an alert, heard as soon as it shows.
    QTest::newRow("sign-in refused: notice")
        << "sign-in refused"
        << "login.notice"
        << "用户名或密码错误。" << QStringList() << int(QAccessible::AlertMessage) << true << false;
    // The update prompt: its title, its message with both versions and the notes, and its two buttons.
    QTest::newRow("update prompt: title") << "update prompt"
                                          << "alert.title"
                                          << "有新版本" << QStringList() << heading << true << false;
    QTest::newRow("update prompt: message")
        << "update prompt"
        << "alert.message"
        << "" << QStringList{"VORNA 2.4.0 已发布", "2.3.0", "· 更稳"} << text << true << false;
    QTest::newRow("update prompt: download") << "update prompt"
                                             << "update.download"
                                             << "下载" << QStringList() << button << true << false;
    QTest::newRow("update prompt: later") << "update prompt"
                                          << "update.later"
                                          << "稍后" << QStringList() << button << true << false;
    // The dashboard's header: the greeting, the member's name, the callsign line.
    QTest::newRow("dashboard: greeting") << "dashboard"
                                         << "home.greeting"
                                         << "欢迎回来，李辰" << QStringList() << text << true << false;
    QTest::newRow("dashboard: name") << "dashboard"
                                     << "home.name"
                                     << "李辰" << QStringList() << text << true << false;
    QTest::newRow("dashboard: callsign") << "dashboard"
                                         << "home.callsign"
                                         << "B-207CA · VORNA 成员" << QStringList() << text << true << false;
    // The dashboard's section headings.
    QTest::newRow("dashboard: heading of the latest flight")
        << "dashboard"
        << "section.heading>最近一次飞行"
        << "最近一次飞行" << QStringList() << heading << true << false;
    QTest::newRow("dashboard: heading of the events")
        << "dashboard"
        << "section.heading>将要举行的活动"
        << "将要举行的活动" << QStringList() << heading << true << false;
    // Segments of the pickers are tabs that can be pressed, the chosen one selected.
    QTest::newRow("leaderboard: chosen period") << "leaderboard"
                                                << "rank.period>全部"
                                                << "全部" << QStringList() << tab << true << true;
    QTest::newRow("leaderboard: other period") << "leaderboard"
                                               << "rank.period>最近 30 天"
                                               << "最近 30 天" << QStringList() << tab << true << false;
    QTest::newRow("leaderboard: chosen metric") << "leaderboard"
                                                << "rank.metric>飞行时长"
                                                << "飞行时长" << QStringList() << tab << true << true;
    // The member's own row says "我", as its chip shows.
    QTest::newRow("leaderboard: own row")
        << "leaderboard"
        << "rank.me"
        << "" << QStringList{"李辰", "我"} << int(QAccessible::ListItem) << true << false;
    QTest::newRow("event: heading") << "event"
                                    << "event.heading"
                                    << "活动详情" << QStringList() << heading << true << false;
}

void ViewsTest::everyControlIsHeard()
{
    QFETCH(QString, screen);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QStringList, mentions);
    QFETCH(int, role);
    QFETCH(bool, enabled);
    QFETCH(bool, selected);

    showScreen(screen);
    if (QTest::currentTestFailed())
        return;

    QQuickItem *item = nullptr;
    QTRY_VERIFY2((item = heardControl(m_window->contentItem(), control)), qPrintable(control));
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(item);
    QVERIFY(heard);
    const QString said = heard->text(QAccessible::Name);
    QVERIFY2(!said.trimmed().isEmpty(), qPrintable(control));
    if (!name.isEmpty())
        QCOMPARE(said, name);
    for (const QString &mention : mentions)
        QVERIFY2(said.contains(mention), qPrintable(said));
    QCOMPARE(int(heard->role()), role);
    QCOMPARE(!heard->state().disabled, enabled);
    QCOMPARE(bool(heard->state().selected), selected);
    if (role == QAccessible::Button) {
        QVERIFY(heard->actionInterface());
        QVERIFY(heard->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    // Qt 6.4 lists no press action for a page tab, only the focus a screen reader moves with; its press,
    // asked for all the same, chooses the segment as a click does.
    if (role == QAccessible::PageTab) {
        QVERIFY(heard->actionInterface());
        QVERIFY(
            heard->actionInterface()->actionNames().contains(QAccessibleActionInterface::setFocusAction()));
    }
    if (role == QAccessible::PageTab && !selected) {
        heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(QAccessible::queryAccessibleInterface(item)->state().selected);
    }
}

void ViewsTest::showScreen(const QString &screen)
{
    QVERIFY(showWindowRoot());
    if (screen == "sign-in" || screen == "sign-in refused") {
        QTRY_VERIFY(!m_app->checking());
        if (screen == "sign-in refused") {
            auto *form = m_root->findChild<SignInModel *>();
            QVERIFY(form);
            form->setUsername("lichen");
            form->setPassword("not-the-password");
            form->signIn();
            QTRY_VERIFY(shown(m_root, "login.notice"));
        }
        return;
    }
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    waitForTheDashboard();
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    if (screen == "inbox") {
        // Opened as a screen reader opens it: the bell's press action.
        QAccessibleInterface *bell =
            QAccessible::queryAccessibleInterface(shown(m_root, "home.notifications"));
        QVERIFY(bell && bell->actionInterface());
        bell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(shown(m_root, "inbox.heading"));
    } else if (screen == "leaderboard") {
        // The member reaches the leaderboard from the account tab.
        navigation->setSelected(MemberTab::Account);
        navigation->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard);
        QTRY_VERIFY(shown(m_root, "rank.period"));
    } else if (screen == "event") {
        auto *data = m_root->findChild<MemberData *>();
        QVERIFY(!data->events().isEmpty());
        navigation->openEvent(data->events().constFirst());
        QTRY_VERIFY(shown(m_root, "shell.event"));
    } else if (screen == "update prompt") {
        QVERIFY(showUpdatePrompt("· 更快\n· 更稳"));
        QTRY_VERIFY(shown(m_window->contentItem(), "update.download"));
    }
}

bool ViewsTest::showUpdatePrompt(const QString &notes)
{
    const QString path = UpdateCheck::manifestAddress(service().origin()).path();
    service().route("GET", path, [notes](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"version", "2.4.0"},
                                       {"build", 8},
                                       {"url", "https://vornalia.org/downloads/linux/vornalia.deb"},
                                       {"notes", notes}});
    });
    m_updater = std::make_unique<UpdateCheck>(
        UpdateCheck::Options{.manifest = UpdateCheck::manifestAddress(service().origin()),
                             .trustedCertificates = {Sample::Service::certificate()},
                             .build = "7",
                             .version = "2.3.0",
                             .clock = {}});
    QQmlComponent component(m_engine.get());
    component.setData("import Vorna.Updates\nUpdatePrompt {}", QUrl());
    m_prompt.reset(qobject_cast<QQuickItem *>(
        component.createWithInitialProperties({{"updater", QVariant::fromValue(m_updater.get())}})));
    if (!m_prompt) {
        qWarning("%s", qPrintable(component.errorString()));
        return false;
    }
    m_prompt->setParentItem(m_window->contentItem());
    m_prompt->setSize(m_window->contentItem()->size());
    return true;
}

void ViewsTest::focusLandsOnANamedElement_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("name"); // what the focused element is called, or empty: any name
    QTest::addColumn<int>("role");     // its role, or 0: any
    // Then, in the tab chosen (or -1: the dashboard), each step in turn: a control (as heardControl names
    // it) gets the focus and Space; a key name is pressed alone; "?objectName" waits until that shows.
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("presses");
    QTest::newRow("signed in: the dashboard") << "lichen"
                                              << ""
                                              << "成员中心" << 0 << -1 << QStringList{};
    QTest::newRow("signed in from the form with Return: the dashboard")
        << "lichen"
        << "typed"
        << "成员中心" << 0 << -1 << QStringList{};
    QTest::newRow("signed in: the workbench") << "wangfang"
                                              << ""
                                              << "审核工作台" << 0 << -1 << QStringList{};
    QTest::newRow("sign-in refused: its notice")
        << ""
        << "refused"
        << "用户名或密码错误。" << int(QAccessible::AlertMessage) << -1 << QStringList{};
    QTest::newRow("inbox opened by the bell") << "lichen"
                                              << "inbox"
                                              << "通知" << 0 << -1 << QStringList{};
    QTest::newRow("a notice opened") << "lichen"
                                     << "notice"
                                     << "" << 0 << -1 << QStringList{};
    QTest::newRow("update prompt closed by Escape") << "lichen"
                                                    << "escape"
                                                    << "成员中心" << 0 << -1 << QStringList{};
    QTest::newRow("update prompt closed by \"稍后\"") << "lichen"
                                                      << "later"
                                                      << "成员中心" << 0 << -1 << QStringList{};
    // Nothing had the keyboard under the prompt: the form's first field takes it.
    QTest::newRow("update prompt over the sign-in form closed by Escape")
        << ""
        << "escape"
        << "IFC 用户名" << 0 << -1 << QStringList{};

    // Each page or sheet that opens gives the keyboard to its heading or first named control; each that
    // closes gives it back to the control that opened it, or to the first named control of the page below.
    const int flights = int(MemberTab::Flights);
    const int account = int(MemberTab::Account);
    QTest::newRow("report form opened from the dashboard's flight card")
        << "lichen"
        << ""
        << "新建 PIREP" << 0 << int(MemberTab::Home) << QStringList{"home.latest-flight"};
    QTest::newRow("import sheet opened") << "lichen"
                                         << ""
                                         << "" << 0 << flights << QStringList{"pirep.new", "pirep.import"};
    QTest::newRow("import sheet closed")
        << "lichen"
        << ""
        << "使用 IF 飞行记录" << 0 << flights << QStringList{"pirep.new", "pirep.import", "Escape"};
    QTest::newRow("account page opened from the account popover")
        << "lichen"
        << ""
        << "个人主页" << 0 << account << QStringList{"account.avatar", "account.openProfile"};
    QTest::newRow("profile edit opened")
        << "lichen"
        << ""
        << "" << 0 << account << QStringList{"account.profile", "account.edit"};
    QTest::newRow("profile saved: its alert's \"好\"")
        << "lichen"
        << ""
        << "编辑个人资料" << 0 << account
        << QStringList{"account.profile", "account.edit", "profile.save", "?alert.title", "Return"};
    QTest::newRow("logbook sheet opened") << "lichen"
                                          << ""
                                          << "" << 0 << account << QStringList{"account.logbook"};
    QTest::newRow("logbook sheet closed")
        << "lichen"
        << ""
        << "飞行日志" << 0 << account << QStringList{"account.logbook", "Escape"};
    QTest::newRow("logbook menu closed on the other page")
        << "lichen"
        << ""
        << "Logbook" << 0 << account
        << QStringList{"account.logbook", "logbook.menu", "Down", "Down", "Return"};
    QTest::newRow("live aircraft page opened")
        << "lichen"
        << ""
        << "" << 0 << int(MemberTab::Live) << QStringList{"live.aircraft.org-vornalia/ac-101"};
    QTest::newRow("searched flight chosen")
        << "lichen"
        << ""
        << "搜索航班" << 0 << int(MemberTab::Map) << QStringList{"map.search", "Down", "Return"};
}

// Regression: after signing in, opening a page or closing the update prompt, the focus was on an unnamed
// pane or nowhere, so a screen reader said nothing of where the member now is.
void ViewsTest::focusLandsOnANamedElement()
{
    QFETCH(QString, username);
    QFETCH(QString, step);
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(int, tab);
    QFETCH(QStringList, presses);
    if (step == "refused") {
        showScreen("sign-in refused");
    } else {
        QVERIFY(showWindowRoot());
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        if (username.isEmpty()) {
            QTRY_VERIFY(shown(m_root, "login.username"));
        } else if (step == "typed") {
            // From the form, as a member signs in: the field that had the keyboard goes with the form.
            QQuickItem *field = nullptr;
            QTRY_VERIFY((field = shown(m_root, "login.username")));
            typeInto(field, username);
            QTest::keyClick(m_window.get(), Qt::Key_Tab);
            for (const QChar typed : QStringLiteral("fly-vornalia"))
                QTest::keyClick(m_window.get(), typed.toLatin1());
            QTest::keyClick(m_window.get(), Qt::Key_Return);
            QTRY_VERIFY(shown(m_root, "home.notifications"));
        } else {
            QVERIFY(signIn(username, "fly-vornalia"));
            QTRY_VERIFY(shown(m_root, username == "lichen" ? "home.notifications" : "shell.workbench"));
        }
    }
    if (step == "inbox" || step == "notice") {
        QQuickItem *bell = shown(m_root, "home.notifications");
        bell->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("通知"));
    }
    if (step == "notice") {
        QQuickItem *row = nullptr;
        QTRY_VERIFY((row = firstNotice(m_root)));
        row->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_VERIFY(!shown(m_root, "inbox.heading") || heardName(shown(m_root, "inbox.heading")) != "通知");
    }
    if (step == "escape" || step == "later") {
        if (!username.isEmpty())
            QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("成员中心"));
        QVERIFY(showUpdatePrompt(""));
        QQuickItem *later = nullptr;
        QTRY_VERIFY((later = shown(m_window->contentItem(), "update.later")));
        QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("下载"));
        if (step == "escape") {
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        } else {
            later->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window.get(), Qt::Key_Return);
        }
        QTRY_VERIFY(!shown(m_window->contentItem(), "update.later"));
    }
    if (tab >= 0) {
        waitForTheDashboard();
        m_root->findChild<MemberNavigation *>()->setSelected(MemberTab(tab));
    }
    for (const QString &press : presses) {
        const int key = QKeySequence::fromString(press)[0].toCombined();
        if (press.startsWith(QLatin1Char('?'))) {
            QTRY_VERIFY2(shown(m_window->contentItem(), press.mid(1)), qPrintable(press));
        } else if (press.contains(QLatin1Char('.')) || key == 0) {
            QQuickItem *control = nullptr;
            QTRY_VERIFY2((control = heardControl(m_window->contentItem(), press)), qPrintable(press));
            // A control made by a load still running is made again when it ends.
            QTRY_VERIFY2(control == heardControl(m_window->contentItem(), press) && control->isEnabled(),
                         qPrintable(press));
            control->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window.get(), Qt::Key_Space);
        } else {
            QTest::keyClick(m_window.get(), Qt::Key(key));
        }
        QTest::qWait(50);
    }

    QQuickItem *focused = nullptr;
    QTRY_VERIFY2((focused = m_window->activeFocusItem()) && focused->isVisible()
                     && !heardName(focused).trimmed().isEmpty(),
                 focused ? qPrintable(
                     QString::fromLatin1(focused->metaObject()->className()) + " " + focused->objectName()
                     + " in "
                     + (focused->parentItem() ? focused->parentItem()->metaObject()->className() : "nothing"))
                         : "nothing has the focus");
    if (!name.isEmpty())
        QTRY_COMPARE(heardName(m_window->activeFocusItem()), name);
    if (role != 0)
        QCOMPARE(int(QAccessible::queryAccessibleInterface(m_window->activeFocusItem())->role()), role);
    // The account popover saves the account signed in: the tests after this one start without it.
    if (m_app->savedAccountCount() > 0) {
        await(m_app->signOut());
        while (m_app->savedAccountCount() > 0)
            await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
    }
}

void ViewsTest::noticeMenuFromTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

// A notice is marked read from its context menu without a pointer: the key opens the menu, Return on its
// entry marks it.
void ViewsTest::noticeMenuFromTheKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    showScreen("inbox");
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QQuickItem *row = nullptr;
    QTRY_VERIFY((row = firstNotice(m_root)));
    const QString noticeId = row->property("noticeId").toString();
    row->forceActiveFocus(Qt::TabFocusReason);
    service().clearRequests();
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QQuickItem *entry = nullptr;
    QTRY_VERIFY((entry = shown(m_window->contentItem(), "inbox.menu.read")));
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QTRY_VERIFY(!shown(m_window->contentItem(), "inbox.menu.read"));
    QTRY_VERIFY(
        std::any_of(service().requests().cbegin(), service().requests().cend(), [&](const Request &r) {
            return r.method == "POST" && r.path == "/api/notifications/read"
                   && r.body.contains(noticeId.toUtf8());
        }));
}

bool ViewsTest::showWindowRoot()
{
    m_root = TestSupport::showWindowRoot(m_engine, m_window);
    if (!m_root)
        return false;
    m_app = m_root->findChild<AppState *>();
    return m_app != nullptr;
}

bool ViewsTest::signIn(const QString &username, const QString &password)
{
    if (!QTest::qWaitFor([this] { return !m_app->checking(); }))
        return false;
    try {
        await(m_app->signIn(username, password, false));
    } catch (const std::exception &error) {
        qWarning("sign-in failed: %s", error.what());
        return false;
    }
    return true;
}

void ViewsTest::waitForTheDashboard() { QVERIFY(memberLoadsEnd(m_root->findChild<MemberData *>())); }

bool ViewsTest::showDashboard(const QString &username)
{
    if (!showWindowRoot() || !signIn(username, QStringLiteral("fly-vornalia"))
        || !QTest::qWaitFor([this] { return shown(m_root, "home.notifications") != nullptr; }))
        return false;
    waitForTheDashboard();
    return !QTest::currentTestFailed();
}

PageStackModel *ViewsTest::pagesOf(MemberTab tab) const
{
    // The stacks are a repeater's: items of the scene, not children of the window root.
    for (QQuickItem *item : itemsBelow(m_root)) {
        auto *stack =
            item->objectName() == "shell.pages" ? item->property("model").value<PageStackModel *>() : nullptr;
        if (stack && stack->tab() == tab)
            return stack;
    }
    return nullptr;
}

// ---- what shows, and what can be pressed, where the screens make it conditional

void ViewsTest::controlsShownWhenTheyApply_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("enabled");  // shown and enabled
    QTest::addColumn<QStringList>("disabled"); // shown and disabled
    QTest::addColumn<QStringList>("hidden");   // not on screen
    QTest::addColumn<int>("mine");             // how many rows say "我"

    QTest::newRow("sign-in: empty form") << "sign-in" << QStringList() << QStringList{"login.submit"}
                                         << QStringList{"login.savedAccounts", "login.notice"} << 0;
    QTest::newRow("sign-in: user name of blanks")
        << "sign-in: blank name" << QStringList() << QStringList{"login.submit"} << QStringList() << 0;
    QTest::newRow("sign-in: password of blanks")
        << "sign-in: blank password" << QStringList{"login.submit"} << QStringList() << QStringList() << 0;
    QTest::newRow("sign-in: an account saved") << "sign-in: saved" << QStringList{"login.savedAccounts"}
                                               << QStringList{"login.submit"} << QStringList() << 0;
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

void ViewsTest::controlsShownWhenTheyApply()
{
    QFETCH(QString, scenario);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, hidden);
    QFETCH(int, mine);

    QVERIFY(showWindowRoot());
    if (scenario.startsWith("sign-in")) {
        QTRY_VERIFY(!m_app->checking());
        if (scenario == "sign-in: saved") {
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
        }
    } else {
        const QString username = scenario == "inbox: hejing" ? "hejing" : "lichen";
        if (scenario == "dashboard: no callsign")
            service().accountNamed("lichen")->profile["callsign"] = "";
        QVERIFY(signIn(username, "fly-vornalia"));
        QTRY_VERIFY(shown(m_root, "home.notifications"));
        waitForTheDashboard();
        auto *navigation = m_root->findChild<MemberNavigation *>();
        if (scenario.startsWith("inbox")) {
            QMetaObject::invokeMethod(shown(m_root, "home.notifications"), "clicked");
            QTRY_VERIFY(shown(m_root, "inbox.markAll"));
            QTest::qWait(200); // the inbox's own load on showing
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
        QTRY_VERIFY2((item = shown(m_root, control)), qPrintable(control + " is not shown"));
        QTRY_VERIFY2(item->isEnabled(), qPrintable(control + " is disabled"));
    }
    for (const QString &control : disabled) {
        QQuickItem *item = nullptr;
        QTRY_VERIFY2((item = shown(m_root, control)), qPrintable(control + " is not shown"));
        QVERIFY2(!item->isEnabled(), qPrintable(control + " is enabled"));
    }
    for (const QString &control : hidden)
        QVERIFY2(!shown(m_root, control), qPrintable(control + " is shown"));
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

void ViewsTest::shellOpensEachPageAndGoesBack_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("page");       // on its stack, in place of the tab's root
    QTest::addColumn<QString>("title");      // a text the page shows
    QTest::addColumn<QString>("root");       // a control of the tab's root page
    QTest::addColumn<QStringList>("others"); // what the other pages show
    QTest::newRow("event") << int(MemberTab::Home) << "shell.event"
                           << "活动详情"
                           << "home.notifications"
                           << QStringList{"pirep.detail.back", "account.page", "rank.period"};
    QTest::newRow("report") << int(MemberTab::Flights) << "pirep.detail.back"
                            << "报告详情"
                            << "pirep.new" << QStringList{"shell.event", "account.page", "rank.period"};
    QTest::newRow("profile") << int(MemberTab::Account) << "account.page"
                             << "个人主页"
                             << "account.leaderboard"
                             << QStringList{"shell.event", "pirep.detail.back", "rank.period"};
    QTest::newRow("leaderboard") << int(MemberTab::Account) << "rank.period"
                                 << "排行榜"
                                 << "account.leaderboard"
                                 << QStringList{"shell.event", "pirep.detail.back", "account.page"};
}

// Regression: two pages swapped in the shell's table still passed every test; each route shows its own
// page, and the page's way back shows the tab's root again.
void ViewsTest::shellOpensEachPageAndGoesBack()
{
    QFETCH(int, tab);
    QFETCH(QString, page);
    QFETCH(QString, title);
    QFETCH(QString, root);
    QFETCH(QStringList, others);
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);
    navigation->setSelected(MemberTab(tab));
    QTRY_VERIFY(shown(m_root, root));
    if (page == "shell.event") {
        QVERIFY(!data->events().isEmpty());
        navigation->openEvent(data->events().constFirst());
    } else if (page == "pirep.detail.back") {
        QTRY_VERIFY(!data->pireps().isEmpty());
        navigation->push(NavigationStack::FlightStack, PirepRoute{data->pireps().constFirst()});
    } else if (page == "account.page") {
        navigation->pushPage(NavigationStack::AccountStack, ShellPage::Profile);
    } else {
        navigation->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard);
    }
    QTRY_VERIFY2(shown(m_root, page), qPrintable(page));
    QTRY_VERIFY2(textsShown(m_root).contains(title), qPrintable(title));
    QVERIFY(!shown(m_root, root));
    for (const QString &other : others)
        QVERIFY2(!shown(m_root, other), qPrintable(other));

    // The page's own "返回" at its top.
    const auto backOnTop = [this]() -> QQuickItem * {
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (item->isVisible() && item->inherits("QQuickAbstractButton")
                && item->property("text").toString() == QStringLiteral("返回"))
                return item;
        }
        return nullptr;
    };
    QQuickItem *backButton = nullptr;
    QTRY_VERIFY((backButton = backOnTop()));
    QVERIFY(QMetaObject::invokeMethod(backButton, "clicked"));
    QTRY_VERIFY(shown(m_root, root));
    QTRY_VERIFY(!shown(m_root, page));
}

// ---- the window root

void ViewsTest::windowRootScreenForEachState_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("gateStatus"); // the gate page fails with this status; 0: it answers
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("nobody: sign-in") << ""
                                     << "" << 0 << "login.submit" << QStringList{"成员登录", "登录成员中心"};
    QTest::newRow("gate password") << "zhouning"
                                   << "temporary-123" << 0 << "portal.password"
                                   << QStringList{"设置新密码",
                                                  "首次登录请将邮件中的临时密码改为自己的密码。",
                                                  "邮件中的临时密码", "设置密码并继续", "退出登录"};
    QTest::newRow("gate profile") << "xuhang"
                                  << "fly-vornalia" << 0 << "portal.profile"
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
        << "fly-vornalia" << 503 << "portal.gateWaiting"
        << QStringList{"正在确认账号要求", "账号状态暂时不可用，请重试。", "重试", "重新登录"};
}

void ViewsTest::windowRootScreenForEachState()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(int, gateStatus);
    QFETCH(QString, screen);
    QFETCH(QStringList, texts);
    const QStringList screens{"portal.checking",    "login.submit",       "portal.password", "portal.profile",
                              "portal.gateWaiting", "home.notifications", "shell.workbench"};

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

void ViewsTest::introGoesOnceItHasPlayed()
{
    // Guards the played intro and its full-window art staying in the window behind every screen.
    QVERIFY(showWindowRoot());
    QVERIFY(m_root->findChild<QQuickItem *>("brand.intro"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_root->findChild<QQuickItem *>("brand.intro"), 10000);
    QTRY_VERIFY(!m_app->checking());
    QVERIFY(shown(m_root, "login.submit"));
}

// ---- the dashboard

void ViewsTest::dashboardTiles_data()
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

void ViewsTest::dashboardTiles()
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

    QVERIFY(showWindowRoot());
    QVERIFY(signIn(typed, "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    waitForTheDashboard();

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

void ViewsTest::firstShowingAsksOnce_data()
{
    QTest::addColumn<bool>("goneBefore");   // signed in before, until the gate found the session gone
    QTest::addColumn<int>("profileStatus"); // the profile fails with this status; 0: it answers
    QTest::newRow("first sign-in") << false << 0;
    QTest::newRow("again after the gate found the session gone") << true << 0;
    QTest::newRow("profile failing") << false << 503;
}

// Regression: the home page was made twice on its first showing, so the profile, its avatar and the saved
// live map went out twice after every sign-in, and a failing profile looked retried.
void ViewsTest::firstShowingAsksOnce()
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

// The account tab's leaderboard button opens the leaderboard on the tab's stack; its pickers answer the
// keyboard.
void ViewsTest::leaderboardFromTheAccountTab()
{
    QVERIFY(showDashboard("lichen"));
    m_window->requestActivate();
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->setSelected(MemberTab::Account);
    QQuickItem *open = nullptr;
    QTRY_VERIFY((open = shown(m_root, "account.leaderboard")));
    open->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);

    QQuickItem *periods = nullptr;
    QTRY_VERIFY((periods = shown(m_root, "rank.period")));
    QVERIFY(textsShown(m_root).contains("仅统计 Member 成员已批准的 PIREP。"));
    QVERIFY(shown(m_root, "rank.board") && shown(m_root, "rank.metric"));
    QList<QQuickItem *> segments;
    for (QQuickItem *item : itemsBelow(periods)) {
        if (item->inherits("QQuickAbstractButton"))
            segments.append(item);
    }
    QCOMPARE(segments.size(), 2);
    segments.at(1)->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QTRY_VERIFY(std::any_of(service().requests().cbegin(), service().requests().cend(), [](const Request &r) {
        return r.path == "/api/member/pirep-leaderboard" && r.query.queryItemValue("period") == "recent";
    }));

    navigation->pop(NavigationStack::AccountStack);
    QTRY_VERIFY(shown(m_root, "account.leaderboard"));
    QTRY_VERIFY(!m_root->findChild<QQuickItem *>("rank.period")); // the page left is gone
}

// Regression: going back rebuilt the page beneath from nothing, so its scroll position was lost and every
// load of the tab ran again.
void ViewsTest::pageBeneathStaysThroughPushAndPop()
{
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    PageStackModel *home = pagesOf(MemberTab::Home);
    QVERIFY(navigation && home);
    QPointer<QQuickItem> dashboard = home->top();
    QVERIFY(dashboard);
    // The home page scrolled down a little.
    QQuickItem *scroll = nullptr;
    for (QQuickItem *item : itemsBelow(dashboard)) {
        if (item->inherits("QQuickFlickable") && item->isVisible()
            && item->property("contentHeight").toReal() > item->height() + 60) {
            scroll = item;
            break;
        }
    }
    QVERIFY2(scroll, "the home page does not scroll in this window");
    scroll->setProperty("contentY", 60);
    QTest::qWait(200); // anything the home page still asks for arrives
    service().clearRequests();

    FlightEvent event;
    event.id = "e-1";
    navigation->openEvent(event);
    QQuickItem *eventPage = nullptr;
    QTRY_VERIFY((eventPage = shown(m_root, "shell.event")));
    QPointer<QQuickItem> opened = eventPage;
    QVERIFY(!shown(m_root, "home.notifications"));
    QVERIFY(textsShown(m_root).contains("活动详情"));

    navigation->pop(NavigationStack::EventStack);
    QTRY_VERIFY(opened.isNull()); // the page popped is destroyed
    QVERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(home->top(), dashboard.data());
    QCOMPARE(scroll->property("contentY").toReal(), 60.0);
    QTest::qWait(200);
    // Shown again, the home page refreshes as each of its appearances does: each of its loads once, and
    // nothing of the page that has gone.
    QStringList asked;
    for (const Request &request : service().requests())
        asked.append(request.path);
    for (const char *load : {"/api/profile", "/api/pireps", "/api/notifications", "/api/events/upcoming"})
        QCOMPARE(asked.count(QString::fromLatin1(load)), 1);
    QCOMPARE(QSet<QString>(asked.cbegin(), asked.cend()).size(), asked.size());
    QVERIFY(!asked.contains("/api/events/e-1"));
}

void ViewsTest::dashboardOpensItsPagesOnItsOwnStack_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("tab");           // the tab the page stands on
    QTest::addColumn<QString>("page");      // a control of the page opened
    QTest::addColumn<QStringList>("texts"); // what it shows of what was opened
    QTest::newRow("a report notice") << "report notice" << int(MemberTab::Home) << "pirep.detail.back"
                                     << QStringList{}; // the notice's own route
    QTest::newRow("完善资料") << "profile" << int(MemberTab::Home) << "account.profileEdit" << QStringList{};
    QTest::newRow("提交 PIREP in the air")
        << "live flight" << int(MemberTab::Flights) << "pirep.departure" << QStringList{"提交 PIREP"};
}

// Regression: a report notice opened a stand-in page, "完善资料" moved the member to the 其他 tab, and the
// latest-flight card of a flight under way landed on the list of reports, not on the form.
void ViewsTest::dashboardOpensItsPagesOnItsOwnStack()
{
    QFETCH(QString, road);
    QFETCH(int, tab);
    QFETCH(QString, page);
    QFETCH(QStringList, texts);
    if (road == "profile")
        service().accountNamed("lichen")->profile["callsign"] = "";
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);

    if (road == "report notice") {
        QVERIFY(QMetaObject::invokeMethod(shown(m_root, "home.notifications"), "clicked"));
        // A report's notice: "PIREP 已批准 · ZBAA → ZSPD" and the like.
        QTRY_VERIFY(firstNotice(m_root));
        // One whose report the member's list holds (a notice of a report gone opens the notice itself).
        const auto listed = [data](const QString &noticeId) {
            const QList<SiteNotice> &notices = data->inbox()->notifications;
            const auto notice = std::find_if(notices.cbegin(), notices.cend(),
                                             [&](const SiteNotice &n) { return n.id == noticeId; });
            return notice != notices.cend()
                   && std::any_of(data->pireps().cbegin(), data->pireps().cend(),
                                  [&](const Pirep &report) { return report.id == notice->entityId; });
        };
        QQuickItem *notice = nullptr;
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (!notice && item->isVisible() && item->inherits("QQuickSwipeDelegate")
                && item->property("title").toString().startsWith("PIREP")
                && listed(item->property("noticeId").toString()))
                notice = item;
        }
        QVERIFY(notice);
        const QString route = notice->property("title").toString().section(" · ", 1);
        texts = QStringList{"报告详情", route.section(" → ", 0, 0), route.section(" → ", 1)};
        QVERIFY(QMetaObject::invokeMethod(notice, "clicked"));
    } else if (road == "profile") {
        QQuickItem *banner = nullptr;
        QTRY_VERIFY((banner = shown(m_root, "home.profileBanner")));
        QQuickItem *button = nullptr;
        for (QQuickItem *item : itemsBelow(banner)) {
            if (item->isVisible() && item->inherits("QQuickAbstractButton")
                && item->property("text").toString() == "完善资料")
                button = item;
        }
        QVERIFY(button);
        QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
    } else {
        // The sample member is flying now: the card is his flight under way.
        QTRY_VERIFY(data->latestFlight() && std::holds_alternative<LiveLatestFlight>(*data->latestFlight()));
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = shown(m_root, "home.latest-flight")));
        QTRY_VERIFY(textsShown(card).join(' ').contains("提交 PIREP"));
        QVERIFY(QMetaObject::invokeMethod(card, "clicked"));
    }
    QTRY_VERIFY2(shown(m_root, page), qPrintable(page + ": " + textsShown(m_root).join(" | ")));
    QCOMPARE(int(navigation->selected()), tab);
    for (const QString &text : std::as_const(texts))
        QTRY_VERIFY2(textsShown(m_root).join(' ').contains(text), qPrintable(text));
    QVERIFY(!shown(m_root, "home.notifications"));
    QVERIFY(navigation->accountPath().isEmpty());
    QVERIFY(!textsShown(m_root).contains("此页面尚在准备中。"));
}

// The home page loads again each time it comes on screen (back on its tab) and on its refresh button.
void ViewsTest::homeRefreshesAsItShowsAgain()
{
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    const auto asked = [this](const char *path) {
        return service().requestsTo(QString::fromLatin1(path)).size();
    };

    service().clearRequests();
    navigation->setSelected(MemberTab::Account);
    QTRY_VERIFY(shown(m_root, "account.logbook"));
    QCOMPARE(asked("/api/pireps"), 0);
    navigation->setSelected(MemberTab::Home);
    QTRY_COMPARE(asked("/api/pireps"), 1);
    QTRY_COMPARE(asked("/api/profile"), 1);
    waitForTheDashboard();

    QQuickItem *refresh = shown(m_root, "home.refresh");
    QVERIFY(refresh);
    QVERIFY(QMetaObject::invokeMethod(refresh, "clicked"));
    QTRY_COMPARE(asked("/api/pireps"), 2);
    waitForTheDashboard();
    // F5 too, while the page shows.
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QTRY_COMPARE(asked("/api/pireps"), 3);
}

// The event page that the shell shows for the event under way that "lichen" attends: its report button
// takes him to the report form on the flights tab.
void ViewsTest::eventInItsPirepWindowOpensThePirepForm()
{
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);
    const auto under = std::find_if(data->events().cbegin(), data->events().cend(),
                                    [](const FlightEvent &event) { return event.id == "ev-302"; });
    QVERIFY(under != data->events().cend());

    navigation->openEvent(*under);
    QTRY_VERIFY(shown(m_root, "shell.event"));
    QQuickItem *report = nullptr;
    QTRY_VERIFY([&] {
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (item->isVisible() && item->inherits("QQuickAbstractButton")
                && item->property("text").toString() == QStringLiteral("提交本次活动 PIREP（×1.5）"))
                report = item;
        }
        return report != nullptr;
    }());
    QMetaObject::invokeMethod(report, "clicked");
    QCOMPARE(navigation->selected(), MemberTab::Flights);
    QCOMPARE(navigation->flightPath(), (QList<Destination>{EventSubmissionRoute{*under}}));
    QTRY_VERIFY(shown(m_root, "pirep.submit"));
}

// Regression: a ShellPage value without its row in the table showed an empty place.
void ViewsTest::tabsMakeTheirPagesWhenFirstShown()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);

    auto *table = m_root->findChild<PageTable *>();
    QVERIFY(table);
    const QMetaEnum pages = QMetaEnum::fromType<ShellPage>();
    for (int i = 0; i < pages.keyCount(); ++i) {
        const auto page = ShellPage(pages.value(i));
        QVERIFY2((table->component(page) != nullptr) == (page != ShellPage::NoPage), pages.key(i));
    }

    // Only the home tab has shown: no other tab made a page.
    for (const MemberTab tab : {MemberTab::Flights, MemberTab::Live, MemberTab::Map, MemberTab::Account}) {
        QVERIFY(pagesOf(tab));
        QCOMPARE(pagesOf(tab)->count(), 0);
    }
    QVERIFY(!m_root->findChild<QQuickItem *>("account.leaderboard"));
    QVERIFY(!m_root->findChild<QQuickItem *>("shell.map"));
    QPointer<QQuickItem> dashboard = pagesOf(MemberTab::Home)->top();

    navigation->setSelected(MemberTab::Account);
    QTRY_VERIFY(shown(m_root, "account.leaderboard"));
    QCOMPARE(pagesOf(MemberTab::Account)->count(), 1);
    QVERIFY(!shown(m_root, "home.notifications"));
    QCOMPARE(pagesOf(MemberTab::Map)->count(), 0);

    // A tab shown before keeps its pages while another shows.
    navigation->setSelected(MemberTab::Home);
    QVERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(pagesOf(MemberTab::Home)->top(), dashboard.data());
    QVERIFY(!shown(m_root, "account.leaderboard"));
}

void ViewsTest::ownFlightLinkLandsOnTheMap_data()
{
    QTest::addColumn<bool>("beforeSignIn");
    QTest::newRow("link opened before the member tabs") << true;
    QTest::newRow("link opened while they show") << false;
}

void ViewsTest::ownFlightLinkLandsOnTheMap()
{
    QFETCH(bool, beforeSignIn);
    QVERIFY(showWindowRoot());
    // The map loads only while the app is active: its window in front.
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    if (beforeSignIn)
        QVERIFY(FlightActivityNavigation::shared().open(QUrl("vorna://live-map/own-flight")));
    QVERIFY(signIn("lichen", "fly-vornalia"));
    if (!beforeSignIn) {
        QTRY_VERIFY(shown(m_root, "home.notifications"));
        QVERIFY(FlightActivityNavigation::shared().open(QUrl("VORNA://Live-Map/own-flight")));
    }
    QQuickItem *page = nullptr;
    QTRY_VERIFY((page = shown(m_root, "shell.map")));
    QVERIFY(!shown(m_root, "home.notifications"));
    // Straight to the map: the home page was never made on the way.
    if (beforeSignIn)
        QVERIFY(!m_root->findChild<QQuickItem *>("home.notifications"));

    // The map loads the snapshot of the sample service and selects the member's own flight in it.
    auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
    QVERIFY(map);
    QTRY_VERIFY_WITH_TIMEOUT(map->hasSelection(), 15000);
    QCOMPARE(map->selected()->id, QString("lv-207"));
    QCOMPARE(map->selected()->callsign, std::optional<QString>("B-207CA"));
    QVERIFY(map->flightCount() >= 1500);
    QVERIFY(FlightActivityNavigation::shared().ownFlightRequest().isEmpty());
    // A close-up region of 2 by 2 degrees around it; its plan and flown track on the map.
    QCOMPARE(map->region().latitudeSpan, 2.0);
    QTRY_VERIFY(map->planPath().size() >= 2);
    QVERIFY(map->routePath().size() >= 2);
}

// The map tab lays the banner along its top and, in this wide window, the selected flight's bar over the
// map's bottom; the bar's close button hands the selection back.
void ViewsTest::liveMapShowsTheBannerAndTheSelectedFlightsBar()
{
    QVERIFY(showWindowRoot());
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->setSelected(MemberTab::Map);
    QQuickItem *page = nullptr;
    QTRY_VERIFY((page = shown(m_root, "shell.map")));
    auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
    QVERIFY(map);

    // The banner, 12 points in from the sides and 4 from the top, with the snapshot's count.
    QQuickItem *banner = shown(page, "map.banner");
    QVERIFY(banner);
    const QRectF placed = banner->mapRectToItem(page, QRectF(0, 0, banner->width(), banner->height()));
    QCOMPARE(placed.left(), 12.0);
    QCOMPARE(placed.top(), 4.0);
    QCOMPARE(placed.right(), page->width() - 12);
    QTRY_VERIFY_WITH_TIMEOUT(map->flightCount() >= 1500, 15000);
    QTRY_VERIFY(textsShown(banner).contains(QString("%1 架飞机").arg(map->flightCount())));
    QVERIFY(shown(banner, "map.search"));
    QVERIFY(shown(banner, "map.style"));
    // The short header the map had before is gone: one search button, one style button.
    QCOMPARE(page->findChildren<QQuickItem *>("map.style").size(), 1);
    // The bar stands by, out of sight, until a flight is selected.
    auto *bar = page->findChild<QQuickItem *>("map.flightBar");
    QVERIFY(bar);
    QCOMPARE(bar->opacity(), 0.0);

    // A selected flight: the bar below the banner with its callsign; the count line gives way.
    const LiveFlight chosen = map->snapshot()->flights.at(0);
    QVERIFY(chosen.callsign);
    map->select(chosen, false);
    QTRY_COMPARE(bar->opacity(), 1.0);
    QTRY_VERIFY(textsShown(bar).contains(*chosen.callsign));
    QTRY_VERIFY(!textsShown(banner).contains(QString("%1 架飞机").arg(map->flightCount())));
    QVERIFY(bar->mapRectToItem(page, QRectF(0, 0, bar->width(), bar->height())).top() > placed.bottom());

    // Searching from the banner opens the side card and clears the selection.
    QQuickItem *search = shown(banner, "map.search");
    QVERIFY(search);
    QMetaObject::invokeMethod(search, "clicked");
    QVERIFY(map->searching());
    QVERIFY(!map->hasSelection());
    QTRY_VERIFY(shown(page, "map.sideCard"));
    QTRY_COMPARE(bar->opacity(), 0.0);
}

void ViewsTest::backKeysPopOnePage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    for (const char *page : {"account pages", "live aircraft", "inbox", "event from the inbox"}) {
        QTest::addRow("%s: Escape", page) << QString(page) << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::addRow("%s: Alt+Left", page) << QString(page) << int(Qt::Key_Left) << int(Qt::AltModifier);
    }
}

// Regression: after a push or a pop the focus was nowhere, so the next Tab started at the top of the sidebar.
// Regression: the keys did nothing on the Live tab's aircraft page, which stands on the Live page's own
// stack.
void ViewsTest::backKeysPopOnePage()
{
    QFETCH(QString, page);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    if (page != "account pages") {
        // Opened from the keyboard, each goes back to the control that opened it.
        QPointer<QQuickItem> opener;
        QString leaving; // what only the page left shows
        QString below;   // what shows once it has gone
        if (page == "live aircraft") {
            navigation->setSelected(MemberTab::Live);
            QQuickItem *live = nullptr;
            QTRY_VERIFY((live = shown(m_root, "live.native")));
            // The board as its loads leave it: a card of a load still running is made again by the next.
            QTRY_VERIFY(!live->property("model").value<QObject *>()->property("busy").toBool());
            QTRY_VERIFY((opener = shown(m_root, "live.aircraft.org-vornalia/ac-101")));
            leaving = "live.aircraft.back";
            below = "live.tabs";
        } else {
            waitForTheDashboard();
            opener = shown(m_root, "home.notifications");
            leaving = "inbox.markAll";
            below = "home.notifications";
        }
        opener->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_VERIFY(shown(m_root, leaving));
        if (page == "event from the inbox") {
            // The notice of a published event opens the event's page.
            const auto eventNotice = [this] {
                for (QQuickItem *item : itemsBelow(m_root)) {
                    if (item->isVisible() && item->inherits("QQuickSwipeDelegate")
                        && item->property("symbol").toString() == "calendar")
                        return item;
                }
                return static_cast<QQuickItem *>(nullptr);
            };
            QTRY_VERIFY((opener = eventNotice()));
            opener->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window.get(), Qt::Key_Space);
            QTRY_VERIFY(shown(m_root, "event.heading"));
            below = leaving;
            leaving = "event.heading";
        }
        QTRY_VERIFY(!shown(m_root, below));
        QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY2(!shown(m_root, leaving), qPrintable(leaving));
        QTRY_VERIFY(shown(m_root, below));
        QTRY_COMPARE(m_window->activeFocusItem(), opener.data());
        QVERIFY(opener->property("visualFocus").toBool());
        return;
    }
    navigation->setSelected(MemberTab::Account);
    QQuickItem *open = nullptr;
    QTRY_VERIFY((open = shown(m_root, "account.leaderboard")));
    open->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(shown(m_root, "rank.period"));
    PageStackModel *account = pagesOf(MemberTab::Account);
    QPointer<QQuickItem> leaderboard = account->top();
    // The focus went into the page pushed.
    // The keyboard goes on in the page pushed (it went to the top of the sidebar).
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QQuickItem *focused = m_window->activeFocusItem();
    QVERIFY2(focused && leaderboard->isAncestorOf(focused),
             focused ? focused->metaObject()->className() : "nothing");

    // While the account popover shows, the key is not the stack's: the leaderboard stays.
    QQuickItem *shell = nullptr;
    for (QQuickItem *item : itemsBelow(m_root)) {
        if (QByteArray(item->metaObject()->className()).startsWith("MemberShell"))
            shell = item;
    }
    QVERIFY(shell);
    shell->setProperty("showingAccounts", true);
    QTRY_VERIFY(shown(m_window->contentItem(), "account.logout"));
    // The switcher saves the current account as it appears; while that runs the panel stays.
    QTRY_VERIFY(!m_app->accountBusy());
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (key == Qt::Key_Escape)
        QTRY_VERIFY(!shell->property("showingAccounts").toBool()); // Escape closes the popover instead
    shell->setProperty("showingAccounts", false);
    QTRY_VERIFY(!shown(m_window->contentItem(), "account.logout"));
    QCOMPARE(account->top(), leaderboard.data());
    QCOMPARE(navigation->accountPath(), QList<Destination>{PlainRoute{ShellPage::Leaderboard}});
    focused->forceActiveFocus(Qt::TabFocusReason);

    navigation->setPath(NavigationStack::AccountStack,
                        {PlainRoute{ShellPage::Leaderboard}, PlainRoute{ShellPage::Profile}});
    QCOMPARE(account->count(), 3);
    QPointer<QQuickItem> profile = account->top();
    QVERIFY(textsShown(m_root).contains("个人主页"));

    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(profile.isNull());
    QCOMPARE(navigation->accountPath(), QList<Destination>{PlainRoute{ShellPage::Leaderboard}});
    QCOMPARE(account->top(), leaderboard.data());
    QVERIFY(shown(m_root, "rank.period"));
    QCOMPARE(m_window->activeFocusItem(), focused); // where the keyboard was when the profile came

    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(leaderboard.isNull());
    QVERIFY(navigation->accountPath().isEmpty());
    // Back on the button that opened it, with its ring: the keyboard opened it.
    QCOMPARE(m_window->activeFocusItem(), open);
    QVERIFY(open->property("visualFocus").toBool());

    // Nothing left to go back to: the key changes nothing.
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(navigation->selected(), MemberTab::Account);
    QVERIFY(shown(m_root, "account.leaderboard"));
}

void ViewsTest::listRowsFromTheKeyboard_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("screenReader"); // the row pressed by a screen reader, not by Return
    for (const char *list : {"aircraft", "livery", "inbox"}) {
        QTest::addRow("%s: Down and Return", list) << QString(list) << false;
        QTest::addRow("%s: a screen reader's press", list) << QString(list) << true;
    }
}

// Regression: the arrows moved the current row of the report form's aircraft and livery lists and of the
// inbox without drawing it, so Return took a row the member could not see; a screen reader could press none
// of the rows.
void ViewsTest::listRowsFromTheKeyboard()
{
    QFETCH(QString, list);
    QFETCH(bool, screenReader);
    QVERIFY(showDashboard("lichen"));
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);

    PirepFormModel *form = nullptr;
    QQuickItem *view = nullptr; // the list
    if (list == "inbox") {
        QMetaObject::invokeMethod(shown(m_root, "home.notifications"), "clicked");
        QQuickItem *first = nullptr;
        QTRY_VERIFY((first = firstNotice(m_root)));
        view = first->parentItem()->parentItem();
        first->forceActiveFocus(Qt::TabFocusReason);
    } else {
        navigation->setSelected(MemberTab::Flights);
        navigation->startPirep();
        QTRY_VERIFY(shown(m_root, "pirep.pickLivery"));
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (auto *model = qobject_cast<PirepFormModel *>(item->property("model").value<QObject *>()))
                form = model;
        }
        QVERIFY(form);
        form->setAircraft(list == "livery" ? "Airbus A320" : "Airbus A3");
        QQuickItem *button = shown(m_root, list == "livery" ? "pirep.pickLivery" : "pirep.pickAircraft");
        QTRY_VERIFY(button->isEnabled());
        button->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QQuickItem *search = nullptr;
        QTRY_VERIFY((search = shown(m_window->contentItem(), "catalog.search")));
        QTRY_COMPARE(m_window->activeFocusItem(), search);
        for (QQuickItem *item : itemsBelow(search->parentItem())) {
            if (item->inherits("QQuickListView"))
                view = item;
        }
        QVERIFY(view);
        QTRY_VERIFY(view->property("count").toInt() >= 3);
        // Down leaves the search for the first row.
        QTest::keyClick(m_window.get(), Qt::Key_Down);
    }
    const auto current = [view] { return view->property("currentItem").value<QQuickItem *>(); };
    QTRY_VERIFY(current() && current()->property("visualFocus").toBool());
    QCOMPARE(view->property("currentIndex").toInt(), 0);

    QTest::keyClick(m_window.get(), Qt::Key_Down);
    QCOMPARE(view->property("currentIndex").toInt(), 1);
    QPointer<QQuickItem> row = current();
    QCOMPARE(m_window->activeFocusItem(), row);
    // Drawn as the keyboard's: its ring shows, and no other row's.
    QVERIFY(row->property("visualFocus").toBool());
    int rings = 0;
    for (QQuickItem *item : itemsBelow(view)) {
        if (QByteArray(item->metaObject()->className()).startsWith("FocusRing") && item->isVisible()) {
            QVERIFY(row->isAncestorOf(item));
            ++rings;
        }
    }
    QCOMPARE(rings, 1);

    // What each notice opens, as the inbox itself opens it, on a stack of this test's; the keyboard goes on
    // down to the first whose page is not the first notice's.
    QList<Destination> opened;
    if (list == "inbox") {
        MemberNotificationsModel *inbox = nullptr;
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (auto *model =
                    item->findChild<MemberNotificationsModel *>(QString(), Qt::FindDirectChildrenOnly))
                inbox = model;
        }
        QVERIFY(inbox);
        MemberNavigation elsewhere;
        for (int index = 0; rowAt(view, index); ++index)
            inbox->openNoticePage(&elsewhere, NavigationStack::EventStack,
                                  rowAt(view, index)->property("noticeId").toString());
        opened = elsewhere.eventPath();
        int other = 1;
        while (other < opened.size() && opened.at(other) == opened.first())
            ++other;
        QVERIFY(other < opened.size());
        for (int index = 1; index < other; ++index)
            QTest::keyClick(m_window.get(), Qt::Key_Down);
        row = current();
        QCOMPARE(m_window->activeFocusItem(), row);
        QVERIFY(row->property("visualFocus").toBool());
        opened = {opened.first(), opened.at(other)};
    }
    const QString name = heardName(row);
    if (screenReader) {
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(row);
        QVERIFY(heard && heard->actionInterface());
        heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        QTest::keyClick(m_window.get(), Qt::Key_Return);
    }
    if (list == "inbox") {
        // The page of that notice opens, not the first's.
        QTRY_COMPARE(navigation->eventPath().size(), 2);
        QVERIFY(navigation->eventPath().last() == opened.last());
        return;
    }
    QTRY_VERIFY(!shown(m_window->contentItem(), "catalog.search"));
    QCOMPARE(list == "livery" ? form->livery() : form->aircraft(), name);
    QVERIFY(!name.isEmpty());
}

void ViewsTest::noticeMarkedReadKeepsTheKeyboard_data()
{
    QTest::addColumn<bool>("read"); // the menu's entry taken, not the menu closed by Escape
    QTest::newRow("menu closed by Escape") << false;
    QTest::newRow("marked read") << true;
}

// Regression: once the notice's menu had closed, the keyboard was on the window's unnamed root, or on a row
// without its ring, so the next key went nowhere the member could see.
void ViewsTest::noticeMarkedReadKeepsTheKeyboard()
{
    QFETCH(bool, read);
    showScreen("inbox");
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QQuickItem *first = nullptr;
    QTRY_VERIFY((first = firstNotice(m_root)));
    QQuickItem *view = first->parentItem()->parentItem();
    QTRY_VERIFY(rowAt(view, 2));
    const QString next = rowAt(view, 2)->property("noticeId").toString();
    // The second notice, reached as Tab reaches it.
    first->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QPointer<QQuickItem> row = m_window->activeFocusItem();
    QCOMPARE(row.data(), rowAt(view, 1));
    QTest::keyClick(m_window.get(), Qt::Key_Menu);
    QTRY_VERIFY(shown(m_window->contentItem(), "inbox.menu.read"));
    QTest::keyClick(m_window.get(), read ? Qt::Key_Return : Qt::Key_Escape);
    QTRY_VERIFY(!shown(m_window->contentItem(), "inbox.menu.read"));
    if (read) {
        // The row goes; the one taking its place has the keyboard.
        QTRY_VERIFY(row.isNull() || !row->isVisible());
        QTRY_COMPARE(m_window->activeFocusItem(), view->property("currentItem").value<QQuickItem *>());
        QCOMPARE(m_window->activeFocusItem()->property("noticeId").toString(), next);
    } else {
        QTRY_COMPARE(m_window->activeFocusItem(), row.data());
    }
    QVERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
    QVERIFY(!heardName(m_window->activeFocusItem()).isEmpty());
}

void ViewsTest::workbenchOpensAReviewAndGoesBack_data() { addBackKeys(); }

// A staff member's home is the queue; a report opens its review over it and the back keys return to the
// report's card, the keyboard on it.
void ViewsTest::workbenchOpensAReviewAndGoesBack()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("wangfang", "fly-vornalia"));
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QQuickItem *card = nullptr;
    QTRY_VERIFY((card = shown(m_root, "admin.report.p-24436")));
    QTRY_VERIFY(textsShown(m_root).contains("王芳 · 管理员"));
    card->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(shown(m_root, "admin.review.save"));
    QVERIFY(!shown(m_root, "admin.report.p-24436"));
    QTRY_VERIFY(textsShown(m_root).contains("申请人：zhouning"));
    // The page takes the keyboard as every pushed page does; Tab reaches its back button first.
    QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "shell.review"));
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QCOMPARE(m_window->activeFocusItem(), shown(m_root, "admin.review.back"));

    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(!shown(m_root, "admin.review.save"));
    QTRY_VERIFY((card = shown(m_root, "admin.report.p-24436")));
    QCOMPARE(m_window->activeFocusItem(), card);
}

// Regression: staff had no way to any event, so the members' answers to it were never seen.
void ViewsTest::staffReachTheMembersAnswersToAnEvent()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("wangfang", "fly-vornalia"));
    QQuickItem *button = nullptr;
    QTRY_VERIFY((button = shown(m_root, "admin.events")));
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
    QQuickItem *card = nullptr;
    QTRY_VERIFY((card = shown(m_root, "events.event")));
    QVERIFY(!shown(m_root, "shell.workbench"));
    // Staff answer nothing themselves.
    QVERIFY(!textsShown(m_root).contains("感兴趣"));
    QVERIFY(service().requestsTo("/api/member/event-responses").isEmpty());

    QVERIFY(QMetaObject::invokeMethod(card, "clicked"));
    QTRY_VERIFY(shown(m_root, "shell.event"));
    QTRY_VERIFY(shown(m_root, "event.responses.attending"));
    QCOMPARE(service().requestsTo("/api/admin/event-responses").size(), 1);

    // Back twice: the list, then the workbench.
    auto *navigation = m_root->findChild<MemberNavigation *>();
    navigation->back();
    QTRY_VERIFY(shown(m_root, "events.event"));
    navigation->back();
    QTRY_VERIFY(shown(m_root, "shell.workbench"));
}

// ---- the first-login forms

void ViewsTest::firstLoginFormsLandOnTheDashboard()
{
    // The must-change account: the password form, then the dashboard by itself.
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("zhouning", "temporary-123"));
    QTRY_VERIFY(shown(m_root, "portal.password"));
    auto *password = m_root->findChild<PasswordForm *>();
    QVERIFY(password);
    password->setCurrent("temporary-123");
    password->setNext("my-own-password-1");
    password->setConfirmation("my-own-password-1");
    QVERIFY(QMetaObject::invokeMethod(shown(m_root, "password.save"), "clicked"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    QVERIFY(!shown(m_root, "portal.password"));
    cleanup();

    // The profile set-up: the forum avatar, the two required fields, the dashboard by itself.
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("xuhang", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "portal.profile"));
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

// The account tab's "Logbook" row opens the logbook sheet with a stack of its own; a report opens its detail
// there, and closing the sheet leaves the account tab as it was.
void ViewsTest::logbookSheetOverTheAccountTab()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->setSelected(MemberTab::Account);
    QQuickItem *row = nullptr;
    QTRY_VERIFY((row = shown(m_root, "account.logbook")));
    QVERIFY(QMetaObject::invokeMethod(row, "clicked"));
    QVERIFY(navigation->showingLogbook());
    QQuickItem *logbook = nullptr;
    QTRY_VERIFY((logbook = shown(m_window->contentItem(), "shell.logbook")));
    // The member leaves it on the other status filter, searching.
    auto *records = logbook->property("logbook").value<QObject *>();
    QVERIFY(records);
    records->setProperty("filter", 2);
    records->setProperty("search", "ZBAA");

    auto *data = m_root->findChild<MemberData *>();
    QTRY_VERIFY(!data->pireps().isEmpty());
    navigation->push(NavigationStack::LogbookStack, PirepRoute{data->pireps().constFirst()});
    QTRY_VERIFY(!shown(m_window->contentItem(), "shell.logbook")); // the detail stands over it
    QVERIFY(navigation->accountPath().isEmpty());

    QVERIFY(QMetaObject::invokeMethod(shown(m_window->contentItem(), "logbook.close"), "clicked"));
    QVERIFY(!navigation->showingLogbook());
    QTRY_VERIFY(shown(m_root, "account.logbook"));

    // Regression: the logbook opened again where it was left. Each opening starts on the records, "全部".
    for (const int page : {1, 0}) {
        QVERIFY(QMetaObject::invokeMethod(shown(m_root, "account.logbook"), "clicked"));
        QTRY_VERIFY((logbook = shown(m_window->contentItem(), "shell.logbook")));
        QCOMPARE(logbook->property("page").toInt(), 0);
        records = logbook->property("logbook").value<QObject *>();
        QCOMPARE(records->property("filter").toInt(), 0);
        QCOMPARE(records->property("search").toString(), QString());
        logbook->setProperty("page", page);
        QVERIFY(QMetaObject::invokeMethod(shown(m_window->contentItem(), "logbook.close"), "clicked"));
        QTRY_VERIFY(!shown(m_window->contentItem(), "shell.logbook"));
    }
}

// The routes map of the sample member's approved routes stands on the dashboard, with its full-screen
// cover, and on the logbook's map page, without one.
void ViewsTest::routesMapOnTheDashboardAndInTheLogbook()
{
    QVERIFY(showDashboard("lichen"));
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(data && data->state(MemberLoad::Routes).loaded);
    // Many routes, one of them across the 180° meridian.
    QVERIFY(data->routes().size() >= 6);
    QVERIFY(std::any_of(data->routes().cbegin(), data->routes().cend(),
                        [](const FlownRoute &route) { return route.identity() == "ZBAA-KSFO"; }));

    QQuickItem *routes = nullptr;
    QTRY_VERIFY((routes = shown(m_root, "home.routes")));
    QCOMPARE(routes->height(), 420.0); // the regular width's height
    QQuickItem *map = nullptr;
    QTRY_VERIFY((map = shown(routes, "routes.map")));
    const auto lines = [](QQuickItem *in) {
        const QList<QQuickItem *> items = itemsBelow(in);
        return qsizetype(std::count_if(items.cbegin(), items.cend(),
                                       [](QQuickItem *item) { return item->inherits("MapPolyline"); }));
    };
    QCOMPARE(lines(map), data->routes().size());
    QTRY_VERIFY(!map->property("moving").toBool());
    // Framed over the North Pacific: Chengdu to San Francisco across 180°, not round the other way.
    const double longitude = map->property("center").value<QGeoCoordinate>().longitude();
    QVERIFY2(longitude > 150 || longitude < -170, qPrintable(QString::number(longitude)));
    QVERIFY(shown(routes, "routes.scope"));

    // A drag on the map pans the map, not the page around it.
    QQuickItem *scroll = routes->parentItem();
    while (scroll && !scroll->inherits("QQuickFlickable"))
        scroll = scroll->parentItem();
    QVERIFY(scroll);
    const double top =
        routes->mapToItem(scroll->property("contentItem").value<QQuickItem *>(), QPointF()).y();
    const double bottom = scroll->property("contentHeight").toDouble() - scroll->height();
    scroll->setProperty("contentY", std::min(top - 20, bottom));
    QTest::qWait(100);
    QTRY_VERIFY(!scroll->property("moving").toBool());
    const double contentY = scroll->property("contentY").toDouble();
    const QRectF viewport = scroll->mapRectToScene(QRectF(0, 0, scroll->width(), scroll->height()));
    QVERIFY(viewport.contains(routes->mapRectToScene(QRectF(0, 0, routes->width(), routes->height()))));
    const double latitude = map->property("center").value<QGeoCoordinate>().latitude();
    const QPoint middle = map->mapToScene(QPointF(map->width() / 2, map->height() / 2)).toPoint();
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, middle);
    for (int dy = 10; dy <= 120; dy += 10)
        QTest::mouseMove(m_window.get(), middle + QPoint(0, dy));
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, middle + QPoint(0, 120));
    QCOMPARE(scroll->property("contentY").toDouble(), contentY);
    QVERIFY(map->property("center").value<QGeoCoordinate>().latitude() > latitude + 1);

    // Its full-screen view covers the whole window; "完成" brings the dashboard back.
    QQuickItem *expand = shown(routes, "routes.fullScreen");
    QVERIFY(expand);
    QVERIFY(QMetaObject::invokeMethod(expand, "clicked"));
    QQuickItem *cover = nullptr;
    QTRY_VERIFY((cover = shown(m_window->contentItem(), "routes.coverMap")));
    QTRY_COMPARE(cover->mapToScene(QPointF(0, cover->height())).y(), 720.0);
    QCOMPARE(cover->width(), 1100.0);
    QVERIFY(!shown(cover, "routes.fullScreen"));
    QTRY_COMPARE(lines(cover), data->routes().size());
    QVERIFY(QMetaObject::invokeMethod(shown(m_window->contentItem(), "routes.done"), "clicked"));
    QTRY_VERIFY(!shown(m_window->contentItem(), "routes.coverMap"));
    QVERIFY(shown(m_root, "home.routes"));

    // The logbook's map page: the same routes, filling the page, with no full-screen button.
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->openLogbook();
    QQuickItem *logbook = nullptr;
    QTRY_VERIFY((logbook = shown(m_window->contentItem(), "shell.logbook")));
    QQuickItem *page = nullptr;
    for (QQuickItem *item : itemsBelow(logbook)) {
        if (QByteArray(item->metaObject()->className()).startsWith("MemberLogbookPage"))
            page = item;
    }
    QVERIFY(page);
    QVERIFY(!shown(logbook, "logbook.routes"));
    page->setProperty("page", 1);
    QQuickItem *logbookRoutes = nullptr;
    QTRY_VERIFY((logbookRoutes = shown(logbook, "logbook.routes")));
    QTRY_VERIFY((map = shown(logbookRoutes, "routes.map")));
    QCOMPARE(lines(map), data->routes().size());
    QVERIFY(shown(logbookRoutes, "routes.scope"));
    QVERIFY(!shown(logbookRoutes, "routes.fullScreen"));
    QVERIFY(logbookRoutes->mapToItem(logbook, QPointF(0, logbookRoutes->height())).y()
            >= logbook->height() - 1);

    // Its refresh asks the service once more.
    service().clearRequests();
    QQuickItem *refresh = shown(logbook, "logbook.refreshRoutes");
    QVERIFY(refresh && refresh->isEnabled());
    QVERIFY(QMetaObject::invokeMethod(refresh, "clicked"));
    QTRY_COMPARE(service().requestsTo("/api/member/routes").size(), 1);
}

// A member without approved reports has no routes: the empty state stands in the map's place.
void ViewsTest::routesMapOfAMemberWithoutRoutes()
{
    QVERIFY(showDashboard("hejing"));
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(data->state(MemberLoad::Routes).loaded);
    QVERIFY(data->routes().isEmpty());
    QQuickItem *routes = shown(m_root, "home.routes");
    QVERIFY(routes);
    QTRY_VERIFY(shown(routes, "routes.empty"));
    QVERIFY(!shown(routes, "routes.map"));
    QVERIFY(!shown(routes, "routes.scope"));
    QVERIFY(!shown(routes, "routes.fullScreen"));
    QVERIFY(textsShown(routes).contains("还没有已批准的航线"));
}

// "使用已保存账号" on the sign-in form opens the account switcher; a saved account signs in from there.
void ViewsTest::savedAccountFromTheSignInForm()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    await(m_app->rememberCurrentAccount());
    await(m_app->addAccount("hejing", "fly-vornalia"));
    QCOMPARE(m_app->savedAccountCount(), 2);
    await(m_app->signOut()); // hejing leaves the list, lichen stays saved
    QCOMPARE(m_app->savedAccountCount(), 1);
    const QString lichen = m_app->savedAccounts().constFirst().id();

    QQuickItem *button = nullptr;
    QTRY_VERIFY((button = shown(m_root, "login.savedAccounts")));
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
    QQuickItem *row = nullptr;
    QTRY_VERIFY((row = shown(m_window->contentItem(), "account.saved." + lichen)));
    QVERIFY(!shown(m_window->contentItem(), "account.logout")); // nobody to sign out
    QTRY_VERIFY(!m_app->accountBusy());
    QVERIFY(QMetaObject::invokeMethod(row, "clicked"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(m_app->username(), QString("lichen"));
    QTRY_VERIFY(!shown(m_window->contentItem(), "account.switcher"));
}

// The account button beside the member's dashboard and beside the staff's workbench opens the switcher; a
// saved account switches from either, and the home tab shows the new account's home page.
void ViewsTest::switcherBesideTheDashboardAndTheWorkbench()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
    // The staff member added from the switcher: the workbench is his home.
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
void ViewsTest::secondAccountSavedFromThePopover()
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
void ViewsTest::reportComesBackAfterTheSessionEnds()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, "home.notifications"));
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
    PirepFormModel *form = nullptr;
    for (QQuickItem *item : itemsBelow(m_root)) {
        if (auto *model = qobject_cast<PirepFormModel *>(item->property("model").value<QObject *>()))
            form = model;
    }
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

bool ViewsTest::tabTo(const QString &control, bool back)
{
    for (int press = 0; press < 80; ++press) {
        QQuickItem *target = shown(m_window->contentItem(), control);
        QQuickItem *focused = m_window->activeFocusItem();
        if (target && focused && (target == focused || target->isAncestorOf(focused)))
            return true;
        // Shift+Tab comes as Backtab, as from a keyboard.
        if (back)
            QTest::keyClick(m_window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(m_window.get(), Qt::Key_Tab);
    }
    qWarning("the keyboard never reached %s", qPrintable(control));
    return false;
}

// A member fills the report form and sends it with the keyboard alone: Tab and Shift+Tab from control to
// control (past the several lines of the note too), typing, Space and Return.
void ViewsTest::reportFromTheKeyboardAlone()
{
    QVERIFY(showDashboard("lichen"));
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    navigation->setSelected(MemberTab::Flights);
    navigation->startPirep();
    QTRY_VERIFY(shown(m_root, "pirep.submit"));
    QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("新建 PIREP"));

    const auto type = [this](const QString &text) {
        for (const QChar key : text)
            QTest::keyClick(m_window.get(), key.toLatin1());
    };
    // The flight from the member's recent ones, in the sheet the import row opens.
    QVERIFY(tabTo("pirep.import"));
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(shown(m_window->contentItem(), "pirep.importFlight"));
    QVERIFY(tabTo("pirep.importFlight"));
    const QString flight = heardName(m_window->activeFocusItem());
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(!shown(m_window->contentItem(), "pirep.importFlight"));
    const QString departure = shown(m_root, "pirep.departure")->property("text").toString();
    QVERIFY2(!departure.isEmpty() && flight.startsWith(departure), qPrintable(flight));

    // The callsign, and a note of several lines: Tab leaves it, Shift+Tab too, and Tab comes back into it.
    QVERIFY(tabTo("pirep.callsign"));
    type("CES501");
    QVERIFY(tabTo("pirep.note"));
    type("Smooth ride");
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    type("at FL390");
    QVERIFY(tabTo("pirep.checkOptions", true));
    QVERIFY(tabTo("pirep.note"));
    QVERIFY(tabTo("pirep.submit"));
    QVERIFY(shown(m_root, "pirep.submit")->isEnabled());
    service().clearRequests();
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    // The alert asks first, its "上传" ready for Return.
    QTRY_COMPARE(m_window->activeFocusItem(), shown(m_window->contentItem(), "pirep.confirmUpload"));
    QTest::keyClick(m_window.get(), Qt::Key_Return);

    QTRY_VERIFY(shown(m_window->contentItem(), "pirep.done"));
    const auto sent =
        std::find_if(service().requests().cbegin(), service().requests().cend(),
                     [](const Request &r) { return r.method == "POST" && r.path == "/api/pireps"; });
    QVERIFY(sent != service().requests().cend());
    for (const QByteArray &field :
         {departure.toUtf8(), QByteArray("CES501"), QByteArray("Smooth ride\nat FL390")})
        QVERIFY2(sent->body.contains(field), field.constData());
}

int main(int argc, char *argv[])
{
    // Sessions and settings of this run stay in a folder of their own, away from the keychain and the
    // files of whoever runs it: without a session bus the sessions go to private files there.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vorna-tst-views");
    qputenv("LANGUAGE", "zh_CN");
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle("Basic");
    ViewsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_views.moc"
