// The app's own views against the sample member service from the keyboard: where it lands, on an element a
// screen reader names, as the member signs in and pages, sheets and the update prompt open and close; the
// notice menu without a pointer; and a report filled and sent with the keyboard alone.

#include "ShellViewsFixture.h"

#include <QAccessible>
#include <QKeySequence>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

using namespace TestSupport;
using Sample::Request;

namespace {

// The popup's own item an item stands in, or none.
QQuickItem *popupAround(QQuickItem *item)
{
    while (item && !item->inherits("QQuickPopupItem"))
        item = item->parentItem();
    return item;
}

// Qt Quick's file dialog as the window shows it, or none.
QObject *fileDialogShown(QQuickWindow *window)
{
    for (QObject *object : window->findChildren<QObject *>()) {
        if (object->inherits("QQuickFileDialogImpl") && object->property("visible").toBool())
            return object;
    }
    return nullptr;
}

} // namespace

class ViewsKeyboardTest : public ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void focusLandsOnANamedElement_data();
    void focusLandsOnANamedElement();
    void noticeMenuFromTheKeyboard_data();
    void noticeMenuFromTheKeyboard();
    void noticeMarkedReadKeepsTheKeyboard_data();
    void noticeMarkedReadKeepsTheKeyboard();
    void reportFromTheKeyboardAlone();
    void escapeGivesTheKeyboardBackWithItsRing_data();
    void escapeGivesTheKeyboardBackWithItsRing();
    void mapChoicesStayInsideTheWindow_data();
    void mapChoicesStayInsideTheWindow();
    void searchRowTakingTheKeyboardComesIntoView();
    void signedOutTypesIntoTheForm_data();
    void signedOutTypesIntoTheForm();
    void removedScreenshotLeavesTheKeyboardNearby_data();
    void removedScreenshotLeavesTheKeyboardNearby();
    void removedAccountLeavesTheKeyboardInTheSwitcher();
    void pickedPicturesGiveTheKeyboardBack_data();
    void pickedPicturesGiveTheKeyboardBack();

private:
    // Tab (or Shift+Tab, `back`) until the keyboard is on that control or in it; false when more than a
    // round of the form's controls goes by without it.
    bool tabTo(const QString &control, bool back = false);
    // Each in turn: a control (as heardControl names it) gets the focus and Space; a key name is pressed
    // alone; "?objectName" waits until that shows.
    void pressAll(const QStringList &presses);
    // With the screen `inside` shows open from `control`: the keyboard is where `lands` and `holder` say; the
    // `closing` presses close it and give the keyboard back to `control` with its ring.
    void opensAndGivesBack(QQuickItem *control, const QString &inside, const QString &lands,
                           const QString &holder, const QStringList &closing);
};

void ViewsKeyboardTest::focusLandsOnANamedElement_data()
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
    // Return in the user name goes on to the password; Return there signs in.
    QTest::newRow("signed in from the form with Return in each field")
        << "lichen"
        << "returned"
        << "成员中心" << 0 << -1 << QStringList{};
    // A first login that must set a password or the profile first: the form takes it, on a control or its
    // page named. Regression: the profile form opened with the keyboard on the window's unnamed loader.
    QTest::newRow("first login: the password form") << "zhouning"
                                                    << "typed"
                                                    << "" << 0 << -1 << QStringList{};
    QTest::newRow("first login: the profile form") << "xuhang"
                                                   << "typed"
                                                   << "" << 0 << -1 << QStringList{};
    QTest::newRow("signed in: the workbench") << "wangfang"
                                              << ""
                                              << "审核工作台" << 0 << -1 << QStringList{};
    QTest::newRow("sign-in refused: its notice")
        << ""
        << "refused"
        << "用户名或密码错误。" << int(QAccessible::AlertMessage) << -1 << QStringList{};
    // Regression: "重试" hid its notice and kept the keyboard on itself, unseen, so Tab went to the sidebar.
    QTest::newRow("a notice's 重试 that took it away: the page")
        << "lichen"
        << "retried"
        << "成员中心" << 0 << -1 << QStringList{"home.pirepsError>重试"};
    // Inside a sheet, the keyboard stays in the sheet's page: the logbook's report detail, whose pictures
    // would not load as it opened. Guards the page around the notice being passed over for the window's first
    // heading, behind the sheet.
    QTest::newRow("a notice's 重试 that took it away in the logbook sheet: the page")
        << "lichen"
        << "retried in the logbook"
        << "报告详情" << int(QAccessible::Pane) << -1 << QStringList{"pirep.detail.error>重试"};
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
        << "Logbook" << 0 << account << QStringList{"account.logbook", "Escape"};
    QTest::newRow("logbook menu closed on the other page")
        << "lichen"
        << ""
        << "Logbook" << 0 << account
        << QStringList{"account.logbook", "logbook.menu", "Down", "Down", "Return"};
    QTest::newRow("live aircraft page opened")
        << "lichen"
        << ""
        << "" << 0 << int(MemberTab::Live) << QStringList{"live.aircraft.org-vornalia/ac-101"};
    // The flight's bar takes it in the search's place: the first row's flight, which has no callsign.
    QTest::newRow("searched flight chosen") << "lichen"
                                            << ""
                                            << "航班" << int(QAccessible::Grouping) << int(MemberTab::Map)
                                            << QStringList{"map.search", "Down", "Return"};
    // 王芳 flies two flights: her button opens the picker, which takes the keyboard on its first flight, and
    // Tab goes on inside it. Regression: it held it on its list, unnamed to the desktop, and Tab went to the
    // sidebar.
    QTest::newRow("own flights' picker opened: its first flight")
        << "wangfang"
        << ""
        << "" << int(QAccessible::ListItem) << int(MemberTab::Map) << QStringList{"map.ownFlights"};
    QTest::newRow("own flights' picker: Tab goes on to its next flight")
        << "wangfang"
        << ""
        << "" << int(QAccessible::ListItem) << int(MemberTab::Map) << QStringList{"map.ownFlights", "Tab"};
    // The arrows in the sidebar choose the tab below or above and take the keyboard there.
    QTest::newRow("sidebar: Down from the dashboard's row")
        << "lichen"
        << ""
        << "PIREP" << int(QAccessible::Button) << int(MemberTab::Home) << QStringList{"shell.tab.0", "Down"};
    QTest::newRow("sidebar: Up from the reports' row")
        << "lichen"
        << ""
        << "首页" << int(QAccessible::Button) << int(MemberTab::Flights) << QStringList{"shell.tab.1", "Up"};
}

// Regression: after signing in, opening a page or closing the update prompt, the focus was on an unnamed
// pane or nowhere, so a screen reader said nothing of where the member now is.
void ViewsKeyboardTest::focusLandsOnANamedElement()
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
        QVERIFY(activateWindow());
        if (username.isEmpty()) {
            QTRY_VERIFY(shown(m_root, "login.username"));
        } else if (step == "typed" || step == "returned") {
            // From the form, as a member signs in: the field that had the keyboard goes with the form.
            QQuickItem *field = nullptr;
            QTRY_VERIFY((field = shown(m_root, "login.username")));
            typeInto(field, username);
            QTest::keyClick(m_window.get(), step == "typed" ? Qt::Key_Tab : Qt::Key_Return);
            QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "login.password"));
            typeKeys(m_window.get(), username == "zhouning" ? "temporary-123" : "fly-vornalia");
            QTest::keyClick(m_window.get(), Qt::Key_Return);
            QTRY_VERIFY(shown(m_root, username == "zhouning" ? "gate.password"
                                      : username == "xuhang" ? "gate.profile"
                                                             : "home.notifications"));
        } else {
            QVERIFY(signIn(username, "fly-vornalia"));
            QTRY_VERIFY(shown(m_root, username == "lichen" ? "home.notifications" : "shell.workbench"));
        }
    }
    if (step == "retried") {
        // The reports would not load; the retry will.
        service().setFault("/api/pireps", {.status = 500, .times = 1, .method = "GET"});
        m_root->findChild<MemberData *>()->reload(MemberLoad::Pireps);
        QTRY_VERIFY(shown(m_root, "home.pirepsError"));
    }
    if (step == "retried in the logbook") {
        // The held report's pictures will not load as its page opens; the retry will.
        service().setFault("/api/pireps/p-24421/evidence", {.status = 500, .times = 1, .method = "GET"});
        waitForTheDashboard();
        QVERIFY(showHeldReportInTheLogbook());
        QTRY_VERIFY(shown(m_window->contentItem(), "pirep.detail.error"));
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
        // Staff have the workbench for their home, with no dashboard to wait for.
        if (!shown(m_root, "shell.workbench"))
            waitForTheDashboard();
        m_root->findChild<MemberNavigation *>()->setSelected(MemberTab(tab));
    }
    // Inside a sheet, where the keyboard goes on its way: never behind the sheet, not even for a moment.
    QList<QPointer<QQuickItem>> passedThrough;
    QMetaObject::Connection watching;
    if (step == "retried in the logbook") {
        watching = connect(m_window.get(), &QQuickWindow::activeFocusItemChanged, this,
                           [&] { passedThrough.append(m_window->activeFocusItem()); });
    }
    pressAll(presses);
    if (QTest::currentTestFailed())
        return;

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
    QObject::disconnect(watching);
    for (const QPointer<QQuickItem> &item : std::as_const(passedThrough)) {
        QVERIFY2(!item || popupAround(item), qPrintable("the keyboard left the sheet for " + heardName(item)
                                                        + " " + item->metaObject()->className()));
    }
    // Put there by the notice as it went, for the key that pressed 重试: not taken back by the sheet after a
    // try to hand it to the window's first heading, behind the sheet, where Qt would not let it go.
    if (step == "retried in the logbook")
        QCOMPARE(m_window->activeFocusItem()->property("focusReason").toInt(), int(Qt::TabFocusReason));
    // The account popover saves the account signed in: the tests after this one start without it.
    if (m_app->savedAccountCount() > 0) {
        await(m_app->signOut());
        while (m_app->savedAccountCount() > 0)
            await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
    }
}

void ViewsKeyboardTest::noticeMenuFromTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

// A notice is marked read from its context menu without a pointer: the key opens the menu, Return on its
// entry marks it.
void ViewsKeyboardTest::noticeMenuFromTheKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    showScreen("inbox");
    QVERIFY(activateWindow());
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
    QTRY_VERIFY(requestSent([&](const Request &r) {
        return r.method == "POST" && r.path == "/api/notifications/read"
               && r.body.contains(noticeId.toUtf8());
    }));
}

void ViewsKeyboardTest::escapeGivesTheKeyboardBackWithItsRing_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QSize>("window");       // the window's size; empty: as it opens
    QTest::addColumn<QStringList>("before"); // pressed before the opener, as focusLandsOnANamedElement does
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QStringList>("then"); // pressed once the opener has opened its screen
    QTest::addColumn<QString>("inside");   // what shows while the screen is open
    // What the element the keyboard lands on in a popup screen is called (a named dialog); empty: unchecked.
    QTest::addColumn<QString>("lands");
    QTest::addColumn<QString>("holder"); // the keyboard is on a named item in it while open; empty: unchecked
    QTest::addColumn<QStringList>("closing");
    QTest::addColumn<QString>("member"); // signed in
    const QStringList escape{"Escape"};
    QTest::newRow("account popover") << int(MemberTab::Home) << QSize() << QStringList() << "account.avatar"
                                     << QStringList() << "account.logout"
                                     << "账号"
                                     << "" << escape << "lichen";
    QTest::newRow("logbook sheet") << int(MemberTab::Account) << QSize() << QStringList() << "account.logbook"
                                   << QStringList() << "logbook.close"
                                   << "Logbook"
                                   << "" << escape << "lichen";
    QTest::newRow("dashboard's full-screen routes map")
        << int(MemberTab::Home) << QSize() << QStringList() << "routes.fullScreen" << QStringList()
        << "routes.done"
        << "完成"
        << "" << escape << "lichen";
    const int map = int(MemberTab::Map);
    QTest::newRow("map search's livery list")
        << map << QSize() << QStringList{"map.search"} << "flightFilter.livery" << QStringList()
        << "flightFilter.livery.choices"
        << ""
        << "" << escape << "lichen";
    // The selected flight's card in a window narrower than the regular class (only a test makes one: the
    // app's window is at least 760 wide), the bar in any other; the bar closes by Escape too, or by its ×,
    // Tab away.
    const QSize narrow(600, 540);
    const QSize smallest(760, 540);
    const QStringList closeButton{"Tab", "Space"};
    QTest::newRow("own flight's card, narrow")
        << map << narrow << QStringList() << "map.ownFlights" << QStringList() << "flight.identity"
        << ""
        << "map.sheet" << escape << "lichen";
    QTest::newRow("own flight's bar, the smallest window")
        << map << smallest << QStringList() << "map.ownFlights" << QStringList() << "flight.identity"
        << ""
        << "map.flightBar" << escape << "lichen";
    QTest::newRow("own flight's bar")
        << map << QSize() << QStringList() << "map.ownFlights" << QStringList() << "flight.identity"
        << ""
        << "map.flightBar" << closeButton << "lichen";
    // A flight picked in the search takes the keyboard in its place: closed, it goes back to the search's
    // button.
    const QStringList pick{"Down", "Return"};
    QTest::newRow("searched flight's card, narrow")
        << map << narrow << QStringList() << "map.search" << pick << "flight.identity"
        << ""
        << "map.sheet" << escape << "lichen";
    QTest::newRow("searched flight's bar")
        << map << QSize() << QStringList() << "map.search" << pick << "flight.identity"
        << ""
        << "map.flightBar" << closeButton << "lichen";
    // In a wide window the search and the picker of the member's own flights stand in the side card: Escape
    // closes them too. Regression: only the narrow window's sheet took it; the side card stayed up.
    const QSize wide(1100, 700);
    QTest::newRow("map search, wide")
        << map << wide << QStringList() << "map.search" << QStringList() << "flightSearch.query"
        << ""
        << "map.sideCard" << escape << "lichen";
    // 王芳 flies two flights: her button opens the picker.
    QTest::newRow("own flights' picker, wide")
        << map << wide << QStringList() << "map.ownFlights" << QStringList() << "ownFlights.close"
        << ""
        << "map.sideCard" << escape << "wangfang";
    // The application form, closed as it opened, or after the service refused what was sent: codes it does
    // not take (two letters), or an aircraft in storage (403). The sheet stays with the refusal, which has
    // the keyboard; Escape gives it back to "申请这架飞机". Regression: after a refusal it went to the page's
    // title.
    const int live = int(MemberTab::Live);
    const QStringList aircraft{"live.aircraft.org-vornalia/ac-101"};
    QTest::newRow("Live application form")
        << live << QSize() << aircraft << "live.aircraft.apply" << QStringList() << "live.apply.submit"
        << ""
        << "live.apply" << escape << "lichen";
    const QStringList refusedCodes{"?live.departure",    "Z", "B", "Tab", "Z", "S", "live.apply.submit",
                                   "?live.apply.message"};
    QTest::newRow("Live application form, refused")
        << live << QSize() << aircraft << "live.aircraft.apply" << refusedCodes << "live.apply.message"
        << ""
        << "live.apply" << escape << "lichen";
    const QStringList refusedAircraft{
        "?live.departure",    "Z", "B", "A", "A", "Tab", "Z", "S", "S", "S", "live.apply.submit",
        "?live.apply.message"};
    QTest::newRow("Live application form, the aircraft in storage")
        << live << QSize() << QStringList{"live.aircraft.org-vornalia/ac-107"} << "live.aircraft.apply"
        << refusedAircraft << "live.apply.message"
        << ""
        << "live.apply" << escape << "lichen";
}

// Opened from the keyboard, the account popover, the logbook sheet, the full-screen routes map, the map
// search's lists and the selected flight's panels put it on a named element of theirs; closed with Escape (or
// their own close button), they give the keyboard back to the control that opened them, with its ring (the
// app's own window, which hands it back differently: tst_app_window).
// Regression: the full-screen map opened unnamed, the keyboard left behind it on nothing a screen reader
// names; the map search's lists gave it back without the ring; the flight's card and bar took no keyboard (it
// stayed on the hidden button that opened them), Escape left the bar up, and closed, the keyboard was on a
// loader on its way out, or on the sidebar.
void ViewsKeyboardTest::escapeGivesTheKeyboardBackWithItsRing()
{
    QFETCH(int, tab);
    QFETCH(QSize, window);
    QFETCH(QStringList, before);
    QFETCH(QString, opener);
    QFETCH(QStringList, then);
    QFETCH(QString, inside);
    QFETCH(QString, lands);
    QFETCH(QString, holder);
    QFETCH(QStringList, closing);
    QFETCH(QString, member);
    if (member == "lichen") {
        QVERIFY(showDashboard(member));
    } else {
        // Staff: the workbench is their home.
        QVERIFY(showWindowRoot());
        QVERIFY(signIn(member, "fly-vornalia"));
        QTRY_VERIFY(shown(m_root, "shell.workbench"));
    }
    if (window.isValid()) {
        m_window->resize(window);
        m_root->setSize(window);
    }
    QVERIFY(activateWindow());
    m_root->findChild<MemberNavigation *>()->setSelected(MemberTab(tab));
    pressAll(before);
    QQuickItem *control = nullptr;
    QTRY_VERIFY((control = heardControl(m_window->contentItem(), opener)));
    control->forceActiveFocus(Qt::TabFocusReason);
    // Twice: a popup opened again puts the keyboard back where it last was by itself, without the ring.
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        pressAll(then);
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(shown(m_window->contentItem(), inside));
        opensAndGivesBack(control, inside, lands, holder, closing);
        if (QTest::currentTestFailed())
            return;
    }
}

void ViewsKeyboardTest::opensAndGivesBack(QQuickItem *control, const QString &inside, const QString &lands,
                                          const QString &holder, const QStringList &closing)
{
    if (!lands.isEmpty()) {
        QTRY_COMPARE(heardName(m_window->activeFocusItem()), lands);
        QQuickItem *screen = popupAround(m_window->activeFocusItem());
        QVERIFY(screen && screen == popupAround(shown(m_window->contentItem(), inside)));
        // A dialog, named by its title as a screen reader calls a popup (tst_item_accessibility).
        QCOMPARE(QAccessible::queryAccessibleInterface(screen)->role(), QAccessible::Dialog);
        QVERIFY(!screen->parent()->property("title").toString().isEmpty());
        // A button the keyboard lands on shows its ring.
        if (m_window->activeFocusItem()->inherits("QQuickAbstractButton"))
            QTRY_VERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
    }
    if (!holder.isEmpty()) {
        const auto heldThere = [&] {
            QQuickItem *held = shown(m_window->contentItem(), holder);
            QQuickItem *focused = m_window->activeFocusItem();
            return held && focused && held->isAncestorOf(focused) && !heardName(focused).isEmpty();
        };
        QTRY_VERIFY2(heldThere(), qPrintable("the keyboard is not on a named item in " + holder));
    }
    // The switcher saves the current account as it appears; while that runs the panel stays.
    QTRY_VERIFY(!m_app->accountBusy());
    pressAll(closing);
    QTRY_VERIFY(!shown(m_window->contentItem(), inside));
    QTRY_COMPARE(m_window->activeFocusItem(), control);
    QTRY_VERIFY(control->property("visualFocus").toBool());
}

void ViewsKeyboardTest::mapChoicesStayInsideTheWindow_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QString>("picker");
    // The last choice reached by the arrows, else by the wheel and a click.
    QTest::addColumn<bool>("keyboard");
    const QSize smallest(760, 540);
    const QSize large(1920, 1200);
    const QString aircraft("flightFilter.aircraft");
    const QString livery("flightFilter.livery");
    QTest::newRow("aircraft, the smallest window, by the keyboard") << smallest << aircraft << true;
    QTest::newRow("aircraft, the smallest window, by the mouse") << smallest << aircraft << false;
    // Below its row in a large window, where it always had room; its choice there takes the ring.
    QTest::newRow("aircraft, a large window, by the keyboard") << large << aircraft << true;
    QTest::newRow("livery, the smallest window, by the keyboard") << smallest << livery << true;
    QTest::newRow("livery, the smallest window, by the mouse") << smallest << livery << false;
    QTest::newRow("livery, a large window, by the keyboard") << large << livery << true;
    QTest::newRow("livery, a large window, by the mouse") << large << livery << false;
}

// The map search's aircraft and livery lists open inside the window, and their last choice is seen and taken
// by the keyboard or by the mouse.
// Regression: they opened below their row whatever room it had, past the window's bottom: in the smallest
// window nothing after "Lockheed C-130 Hercules" could be seen or clicked, and the livery list showed three
// entries; in a large window the livery list ran past the bottom too.
void ViewsKeyboardTest::mapChoicesStayInsideTheWindow()
{
    QFETCH(QSize, window);
    QFETCH(QString, picker);
    QFETCH(bool, keyboard);
    QVERIFY(showDashboard("lichen"));
    m_window->resize(window);
    m_root->setSize(window);
    QVERIFY(activateWindow());
    m_root->findChild<MemberNavigation *>()->setSelected(MemberTab::Map);
    pressAll({"map.search", "?" + picker});
    if (QTest::currentTestFailed())
        return;
    const QRectF inWindow(QPointF(0, 0), window);
    // The menu's list while it is open, looked up at each step.
    const auto choices = [&] { return shown(m_window->contentItem(), picker + ".choices"); };
    // The menu's own rectangle: the popup's item around the list.
    const auto menu = [&] { return sceneRect(choices()->parentItem()->parentItem()); };
    QQuickItem *control = shown(m_window->contentItem(), picker);
    QVERIFY(control);
    if (keyboard) {
        control->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
    } else {
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, sceneRect(control).center().toPoint());
    }
    QTRY_VERIFY(choices() && choices()->height() > 0);
    QTRY_VERIFY2(inWindow.contains(menu()), qPrintable(QString("the menu stands at %1, %2, %3 × %4")
                                                           .arg(menu().x())
                                                           .arg(menu().y())
                                                           .arg(menu().width())
                                                           .arg(menu().height())));
    const int count = choices()->property("count").toInt();
    QVERIFY(count > 4);
    const QString last = control->property("choices").toStringList().constLast();
    // The last choice, on screen inside the list and the window.
    const auto lastShown = [&]() -> QQuickItem * {
        QQuickItem *row = rowAt(choices(), count - 1);
        if (!row || !row->isVisible())
            return nullptr;
        const QRectF rect = sceneRect(row);
        return inWindow.contains(rect) && sceneRect(choices()).adjusted(-1, -1, 1, 1).contains(rect)
                   ? row
                   : nullptr;
    };
    if (keyboard) {
        QTRY_VERIFY(m_window->activeFocusItem() && choices()->isAncestorOf(m_window->activeFocusItem()));
        // Drawn once, as a member sees it before pressing on.
        QSignalSpy drawn(m_window.get(), &QQuickWindow::frameSwapped);
        m_window->update();
        QTRY_VERIFY(!drawn.isEmpty());
        // A press at a time, each taken as a member's would be, the list following it.
        for (int press = 1; press < count; ++press) {
            QTest::keyClick(m_window.get(), Qt::Key_Down);
            QTRY_COMPARE(choices()->property("currentIndex").toInt(), press);
        }
        QTRY_VERIFY(lastShown());
        QTRY_COMPARE(m_window->activeFocusItem(), lastShown());
        QVERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
        QTest::keyClick(m_window.get(), Qt::Key_Return);
    } else {
        for (int turn = 0; turn < 4 * count && !lastShown(); ++turn) {
            // A turn of the wheel down over the list.
            const QPointF at = sceneRect(choices()).center();
            QWheelEvent turned(at, m_window->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                               Qt::NoModifier, Qt::NoScrollPhase, false);
            // Turns a moment apart, as a hand makes them: the list scrolls by each.
            turned.setTimestamp(ulong(QDateTime::currentMSecsSinceEpoch()));
            QGuiApplication::sendEvent(m_window.get(), &turned);
            QTest::qWait(30);
        }
        QVERIFY2(lastShown(), "the wheel did not bring the last choice into view");
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, sceneRect(lastShown()).center().toPoint());
    }
    QTRY_VERIFY(!choices());
    QTRY_COMPARE(shown(m_window->contentItem(), picker)->property("current").toString(), last);
}

void ViewsKeyboardTest::noticeMarkedReadKeepsTheKeyboard_data()
{
    QTest::addColumn<bool>("read"); // the menu's entry taken, not the menu closed by Escape
    QTest::newRow("menu closed by Escape") << false;
    QTest::newRow("marked read") << true;
}

// Regression: once the notice's menu had closed, the keyboard was on the window's unnamed root, or on a row
// without its ring, so the next key went nowhere the member could see.
void ViewsKeyboardTest::noticeMarkedReadKeepsTheKeyboard()
{
    QFETCH(bool, read);
    showScreen("inbox");
    QVERIFY(activateWindow());
    QQuickItem *first = nullptr;
    QTRY_VERIFY((first = firstNotice(m_root)));
    QQuickItem *view = first->parentItem()->parentItem();
    QTRY_VERIFY(rowAt(view, 2));
    const QString next = rowAt(view, 2)->property("noticeId").toString();
    // The second notice, reached as Tab reaches it from the first: that found again, as the inbox's own load
    // on showing may have made its rows anew meanwhile.
    QVERIFY((first = firstNotice(m_root)));
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

void ViewsKeyboardTest::pressAll(const QStringList &presses)
{
    for (const QString &press : presses) {
        const int key = QKeySequence::fromString(press)[0].toCombined();
        if (press.startsWith(QLatin1Char('?'))) {
            QTRY_VERIFY2(shown(m_window->contentItem(), press.mid(1)), qPrintable(press));
        } else if (press.contains(QLatin1Char('.')) || key == 0) {
            QTRY_VERIFY2(heardControl(m_window->contentItem(), press), qPrintable(press));
            // A control made by a load still running is made again when it ends: looked up at each try, and
            // pressed as found.
            QQuickItem *control = awaitItem([&] { return heardControl(m_window->contentItem(), press); },
                                            [](QQuickItem *found) { return found->isEnabled(); });
            QVERIFY2(control, qPrintable(press
                                         + (heardControl(m_window->contentItem(), press) ? " is disabled"
                                                                                         : " is not shown")));
            control->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window.get(), Qt::Key_Space);
        } else {
            QTest::keyClick(m_window.get(), Qt::Key(key));
        }
        QTest::qWait(50);
    }
}

bool ViewsKeyboardTest::tabTo(const QString &control, bool back)
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
void ViewsKeyboardTest::reportFromTheKeyboardAlone()
{
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    auto *navigation = m_root->findChild<MemberNavigation *>();
    navigation->setSelected(MemberTab::Flights);
    navigation->startPirep();
    QTRY_VERIFY(shown(m_root, "pirep.submit"));
    QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("新建 PIREP"));

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
    typeKeys(m_window.get(), "CES501");
    QVERIFY(tabTo("pirep.note"));
    typeKeys(m_window.get(), "Smooth ride");
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    typeKeys(m_window.get(), "at FL390");
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
    const auto requests = service().requests();
    const auto sent = std::find_if(requests.cbegin(), requests.cend(), [](const Request &r) {
        return r.method == "POST" && r.path == "/api/pireps";
    });
    QVERIFY(sent != requests.cend());
    for (const QByteArray &field :
         {departure.toUtf8(), QByteArray("CES501"), QByteArray("Smooth ride\nat FL390")})
        QVERIFY2(sent->body.contains(field), field.constData());
}

// Regression: in the smallest window with a filter set, Shift+Tab from the map search's "关闭" went to a
// result row only partly in view, its ring cut at the card's bottom. A row that takes the keyboard comes
// whole into view.
void ViewsKeyboardTest::searchRowTakingTheKeyboardComesIntoView()
{
    QVERIFY(showDashboard("lichen"));
    m_window->resize(760, 540);
    m_root->setSize(QSizeF(760, 500));
    QVERIFY(activateWindow());
    m_root->findChild<MemberNavigation *>()->setSelected(MemberTab::Map);
    pressAll({"map.search", "?flightSearch.result"});
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY(shown(m_window->contentItem(), "flightSearch.query")->hasActiveFocus());
    // An aircraft chosen: the filters grow by "清除筛选" and leave the list less room than a row.
    QObject *search = modelOf(m_window->contentItem(), "FlightSearchModel");
    QVERIFY(search);
    const QStringList aircraft = search->property("aircraftChoices").toStringList();
    QVERIFY(aircraft.size() > 1);
    search->setProperty("aircraft", aircraft.at(1));
    QTRY_VERIFY(shown(m_window->contentItem(), "flightFilter.clear"));
    QTest::keyClick(m_window.get(), Qt::Key_Backtab, Qt::ShiftModifier); // onto 关闭
    QTest::keyClick(m_window.get(), Qt::Key_Backtab, Qt::ShiftModifier); // round to the rows
    // The row with the keyboard and its ring, wholly inside the list that shows it (which cuts what runs past
    // it) and inside the card.
    const auto rowInView = [&] {
        QQuickItem *row = m_window->activeFocusItem();
        if (!row || row->objectName() != QLatin1String("flightSearch.result"))
            return false;
        QQuickItem *list = row->parentItem() ? row->parentItem()->parentItem() : nullptr;
        QQuickItem *card = list;
        while (card && card->objectName() != QLatin1String("map.sideCard"))
            card = card->parentItem();
        const QList<QQuickItem *> parts = row->findChildren<QQuickItem *>();
        const auto ring = std::find_if(parts.cbegin(), parts.cend(),
                                       [](QQuickItem *part) { return part->property("ringed").toBool(); });
        return card && ring != parts.cend()
               && sceneRect(list)
                      .intersected(sceneRect(card))
                      .adjusted(-0.5, -0.5, 0.5, 0.5)
                      .contains(sceneRect(*ring));
    };
    QTRY_VERIFY2(rowInView(), qPrintable(heardName(m_window->activeFocusItem())));
    QVERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
}

void ViewsKeyboardTest::signedOutTypesIntoTheForm_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("focused"); // what has the keyboard on the form
    QTest::newRow("the account popover's sign-out") << "popover"
                                                    << "login.username";
    // The notice that says why is an alert: it keeps the keyboard, to be read at once.
    QTest::newRow("an expired session") << "expired"
                                        << "login.notice";
}

// Regression: after a sign-out nothing had the keyboard until Tab, so what the member typed went nowhere; the
// sign-in form's user name takes it.
void ViewsKeyboardTest::signedOutTypesIntoTheForm()
{
    QFETCH(QString, how);
    QFETCH(QString, focused);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    if (how == "popover") {
        QQuickItem *button = shown(m_root, "account.avatar");
        button->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_VERIFY(shown(m_window->contentItem(), "account.switcher"));
        QTRY_VERIFY(!m_app->accountBusy()); // the current account is saved as the panel opens
        QVERIFY(tabTo("account.logout"));
        QTest::keyClick(m_window.get(), Qt::Key_Space);
    } else {
        // The next request finds the session gone.
        service().setFault("/api/pireps", {.status = 401, .times = 1});
        m_root->findChild<MemberData *>()->reload(MemberLoad::Pireps);
    }
    QQuickItem *control = nullptr;
    QTRY_VERIFY((control = shown(m_root, focused)));
    QTRY_COMPARE(m_window->activeFocusItem(), control);
    QTest::qWait(50); // nothing takes it from there
    QCOMPARE(m_window->activeFocusItem(), control);
    if (focused == "login.username") {
        typeKeys(m_window.get(), "hejing");
        QCOMPARE(control->property("text").toString(), QString("hejing"));
    }
    while (m_app->savedAccountCount() > 0)
        await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
}

// The control below an item that a screen reader calls by that name, on screen.
static QQuickItem *heardBelow(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->isVisible() && heardName(item) == name)
            return item;
    }
    return nullptr;
}

void ViewsKeyboardTest::removedScreenshotLeavesTheKeyboardNearby_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<int>("removed"); // from 1
    QTest::addColumn<QString>("focused");
    QTest::newRow("the first of three: the one after it, now the first") << 3 << 1 << "移除飞行截图 1";
    QTest::newRow("the last of three: the one before it") << 3 << 3 << "移除飞行截图 2";
    QTest::newRow("the only one: the button that picks them") << 1 << 1 << "选择飞行截图";
}

// Regression: removing a screenshot by the keyboard left it on the form's page, and the next Tab went to the
// sidebar: the member lost their place in the form.
void ViewsKeyboardTest::removedScreenshotLeavesTheKeyboardNearby()
{
    QFETCH(int, pictures);
    QFETCH(int, removed);
    QFETCH(QString, focused);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    auto *navigation = m_root->findChild<MemberNavigation *>();
    navigation->setSelected(MemberTab::Flights);
    QTRY_VERIFY(shown(m_root, "pirep.new"));
    navigation->startPirep();
    PageStackModel *flights = pagesOf(MemberTab::Flights);
    QTRY_COMPARE(flights->count(), 2);
    QQuickItem *page = flights->top();
    auto *form = page->property("model").value<PirepFormModel *>();
    QVERIFY(form);
    QList<QUrl> files;
    for (int i = 0; i < pictures; ++i)
        files.append(m_site.scratchPicture(QStringLiteral("shot-%1.png").arg(i)));
    form->pickPhotos(files);
    QTRY_COMPARE(form->fileCount(), pictures);

    QQuickItem *button = nullptr;
    QTRY_VERIFY((button = heardBelow(page, QStringLiteral("移除飞行截图 %1").arg(removed))));
    button->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_COMPARE(form->fileCount(), pictures - 1);
    QTRY_COMPARE(heardName(m_window->activeFocusItem()), focused);
    QVERIFY(page->isAncestorOf(m_window->activeFocusItem()));
    // With its ring: the keyboard put it there.
    QVERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
}

// Regression: removing a saved account left nothing with the keyboard and told a screen reader nothing.
void ViewsKeyboardTest::removedAccountLeavesTheKeyboardInTheSwitcher()
{
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    await(m_app->rememberCurrentAccount());
    await(m_app->addAccount("hejing", "fly-vornalia"));
    QQuickItem *avatar = nullptr;
    QTRY_VERIFY((avatar = shown(m_root, "account.avatar")));
    avatar->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(shown(m_window->contentItem(), "account.switcher"));
    QTRY_VERIFY(!m_app->accountBusy());
    // lichen's row first, hejing's (signed in, no remove button) after it.
    QString lichen, hejing;
    for (const SavedLogin &login : m_app->savedAccounts())
        (login.user.username == "lichen" ? lichen : hejing) = login.id();
    QQuickItem *remove = nullptr;
    QTRY_VERIFY((remove = shown(m_window->contentItem(), "account.remove." + lichen)));
    remove->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_COMPARE(m_app->savedAccountCount(), 1);
    // The row that took its place.
    QTRY_COMPARE(m_window->activeFocusItem(), shown(m_window->contentItem(), "account.saved." + hejing));
    QTRY_VERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
    await(m_app->signOut());
    while (m_app->savedAccountCount() > 0)
        await(m_app->removeSavedAccount(m_app->savedAccounts().constFirst()));
}

void ViewsKeyboardTest::pickedPicturesGiveTheKeyboardBack_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("button"); // the control that opens the chooser
    // Qt's dialog, opened again for a next file, is closed ("完成") only once the first has converted.
    QTest::addColumn<bool>("convertedFirst");
    QTest::newRow("report form: 选择飞行截图") << "form"
                                               << "pirep.photos" << false;
    QTest::newRow("report detail on the PIREP tab") << "detail"
                                                    << "pirep.detail.pick" << false;
    QTest::newRow("report detail in the logbook sheet") << "sheet"
                                                        << "pirep.detail.pick" << false;
    QTest::newRow("profile form: 上传头像") << "profile"
                                            << "profile.pickPhoto" << false;
    QTest::newRow("report form, converted before 完成") << "form"
                                                        << "pirep.photos" << true;
    QTest::newRow("report detail, converted before 完成") << "detail"
                                                          << "pirep.detail.pick" << true;
}

// Regression: a simulator's screenshot picked in the file chooser was still converting as the chooser closed;
// the button that opened it was off meanwhile, so the page kept the keyboard, without a ring, and nothing
// gave it back to the button (the profile form, which said nothing of its work, left it to the sidebar's
// 首页).
void ViewsKeyboardTest::pickedPicturesGiveTheKeyboardBack()
{
    QFETCH(QString, place);
    QFETCH(QString, button);
    QFETCH(bool, convertedFirst);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QQuickItem *overlay = m_window->contentItem();
    if (place == "form") {
        navigation->setSelected(MemberTab::Flights);
        navigation->startPirep();
    } else if (place == "detail") {
        QVERIFY(showHeldReport());
    } else if (place == "sheet") {
        QVERIFY(showHeldReportInTheLogbook());
    } else {
        navigation->setSelected(MemberTab::Account);
        QVERIFY(navigation->pushPage(NavigationStack::AccountStack, ShellPage::ProfileEdit));
    }
    QQuickItem *control = nullptr;
    QTRY_VERIFY((control = shown(overlay, button)) && control->isEnabled());
    control->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QObject *chooser = nullptr;
    QTRY_VERIFY((chooser = fileDialogShown(m_window.get())));

    // A screenshot large enough that it still converts as the chooser goes.
    const QUrl screenshot = m_site.scratchScreenshot("screenshot.png");
    QVERIFY(!screenshot.isEmpty());
    chooser->setProperty("selectedFile", screenshot);
    QVERIFY(QMetaObject::invokeMethod(chooser, "accept"));
    // Qt's dialog takes a pick of several one file at a time, opening again until "完成".
    if (button != "profile.pickPhoto") {
        QVERIFY(TestSupport::waitFor([&] { return (chooser = fileDialogShown(m_window.get())) != nullptr; }));
        if (convertedFirst)
            QTRY_VERIFY(control->isEnabled());
        QVERIFY(QMetaObject::invokeMethod(chooser, "reject"));
    }
    QTRY_VERIFY(!fileDialogShown(m_window.get()));
    // Meanwhile the keyboard is on something named; the button is off until the picture has converted.
    QTRY_COMPARE(keyboardUnheard(m_window.get()), QString());
    QTRY_VERIFY(control->isEnabled());
    QTRY_COMPARE(m_window->activeFocusItem(), control);
    QVERIFY(control->property("visualFocus").toBool());
}

VORNA_SHELL_VIEWS_TEST_MAIN(ViewsKeyboardTest)

#include "tst_views_keyboard.moc"
