// The app's own views against the sample member service as a screen reader meets them: what it hears of each
// screen's controls, never a password typed, and the rows of the lists that it, or the keyboard, can press.

#include "MemberNotificationsModel.h"
#include "PirepFormModel.h"
#include "ShellViewsFixture.h"

#include <QAccessible>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

using namespace TestSupport;

class ViewsAccessTest : public ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void passwordNeverReachesTheAccessibilityBus();
    void everyControlIsHeard_data();
    void everyControlIsHeard();
    void listRowsFromTheKeyboard_data();
    void listRowsFromTheKeyboard();
    void picturesAreToldApart();
};

// Regression: Qt hands a password field's typed text to the accessibility bus, where any program of the
// member's session could read it. What is typed is not drawn either.
void ViewsAccessTest::passwordNeverReachesTheAccessibilityBus()
{
    QVERIFY(showWindowRoot());
    QTRY_VERIFY(!m_app->checking());
    auto *password = m_root->findChild<QQuickItem *>("login.password");
    QVERIFY(password);
    typeInto(password, "fly-vornalia");
    QCOMPARE(password->property("text").toString(), QString("fly-vornalia"));
    // Nor is it drawn: the field shows one mask character for each one typed.
    const QString mask = password->property("passwordCharacter").toString();
    QCOMPARE(mask.size(), 1);
    QCOMPARE(password->property("displayText").toString(), mask.repeated(12));

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
void ViewsAccessTest::everyControlIsHeard_data()
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

void ViewsAccessTest::everyControlIsHeard()
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

void ViewsAccessTest::listRowsFromTheKeyboard_data()
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
void ViewsAccessTest::listRowsFromTheKeyboard()
{
    QFETCH(QString, list);
    QFETCH(bool, screenReader);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
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
        form = pirepForm();
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
            inbox->openNoticePage(&elsewhere, NavigationStack::HomeStack,
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

// Regression: every picture picked was heard as "飞行截图" and its button as "移除", so a screen reader could
// not tell which one it would remove.
void ViewsAccessTest::picturesAreToldApart()
{
    QVERIFY(showDashboard("lichen"));
    QQuickItem *page = showHeldReport();
    QVERIFY(page);
    const QList<QUrl> files{m_site.scratchPicture("takeoff.png"), m_site.scratchPicture("landing.png")};
    QVERIFY(!files.contains(QUrl()));
    auto *detail = page->property("model").value<QObject *>();
    QVERIFY(detail);
    // The picture the member sent before reads apart from those picked now.
    QTRY_VERIFY(heardControl(m_root, "pirep.detail.evidence>已上传截图 1"));
    QVERIFY(QMetaObject::invokeMethod(detail, "pickPhotos", Q_ARG(QList<QUrl>, files)));
    QTRY_COMPARE(detail->property("fileCount").toInt(), 2);

    for (const QString &name : QStringList{"飞行截图 1", "移除飞行截图 1", "飞行截图 2", "移除飞行截图 2"})
        QTRY_VERIFY2(heardControl(m_root, "pirep.detail.evidenceUpload>" + name), qPrintable(name));
    // The second button removes the second picture.
    QAccessibleInterface *second = QAccessible::queryAccessibleInterface(
        heardControl(m_root, "pirep.detail.evidenceUpload>移除飞行截图 2"));
    QVERIFY(second && second->actionInterface());
    QCOMPARE(int(second->role()), int(QAccessible::Button));
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(detail->property("fileCount").toInt(), 1);
    QTRY_VERIFY(!heardControl(m_root, "pirep.detail.evidenceUpload>飞行截图 2"));
}

VORNA_SHELL_VIEWS_TEST_MAIN(ViewsAccessTest)

#include "tst_views_access.moc"
