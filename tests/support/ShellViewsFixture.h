#pragma once

// What each test of the app's own views stands on (tests/shell/tst_views_*): the window root made as the app
// makes it, in a window of its own against the sample member service, signed in through its own account
// state, the member's dashboard with every load ended, the update prompt over the window; and the main of
// such a test. A test's class derives from ShellViewsFixture, and its file names it in
// VORNA_SHELL_VIEWS_TEST_MAIN(ThatClass) where a test of its own would have QTEST_MAIN.
#include "AppState.h"
#include "ItemAccessibility.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "PageStackModel.h"
#include "PirepFormModel.h"
#include "SceneTestSupport.h"
#include "ShellTestSite.h"
#include "SignInModel.h"
#include "UpdateCheck.h"
#include "WindowRootTestSupport.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>

namespace TestSupport {

// The inbox's first notice on screen.
inline QQuickItem *firstNotice(QQuickItem *root)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->isVisible() && item->inherits("QQuickSwipeDelegate"))
            return item;
    }
    return nullptr;
}

// The row of a list at an index, if the list has made it.
inline QQuickItem *rowAt(QQuickItem *list, int index)
{
    QQuickItem *row = nullptr;
    QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, index));
    return row;
}

class ShellViewsFixture : public QObject
{
    Q_OBJECT

protected Q_SLOTS:
    // QtTest calls these by name around each test function: the private slots of the class that derives.
    void initTestCase()
    {
        // As the app does before its first window.
        ItemAccessibility::install();
        QVERIFY(m_site.start());
    }

    void init() { m_site.reset(); }

    void cleanup()
    {
        // A request a failed test left behind would take the next one to the map.
        FlightActivityNavigation::shared().clearOwnFlightRequest();
        // Answers a test held back go out before its window does.
        m_site.service().clearFaults();
        m_site.service().release();
        m_app = nullptr;
        m_root = nullptr;
        m_prompt.reset();
        m_updater.reset();
        closeWindow(m_window, m_engine);
    }

protected:
    Sample::Service &service() { return m_site.service(); }

    // Whether the service has had a request that matches.
    template <typename Matches>
    bool requestSent(Matches &&matches)
    {
        const QList<Sample::Request> requests = service().requests();
        return std::any_of(requests.cbegin(), requests.cend(), std::forward<Matches>(matches));
    }

    // The window's root view, made as the app makes it; its account state starts the restore at once.
    bool showWindowRoot()
    {
        m_root = TestSupport::showWindowRoot(m_engine, m_window);
        if (!m_root)
            return false;
        m_app = m_root->findChild<AppState *>();
        return m_app != nullptr;
    }

    // Brings the window to the front and waits until it has the keyboard.
    bool activateWindow()
    {
        m_window->requestActivate();
        return QTest::qWaitForWindowActive(m_window.get(), TestSupport::patience);
    }

    // Signs in through the window root's own account state, once its restore has ended.
    bool signIn(const QString &username, const QString &password)
    {
        return TestSupport::waitFor([this] { return !m_app->checking(); })
               && TestSupport::signInThrough(m_app, username, password);
    }

    // Waits until every keyed load of the dashboard has ended.
    void waitForTheDashboard() { QVERIFY(memberLoadsEnd(m_root->findChild<MemberData *>())); }

    // The window and the member signed in, their dashboard on screen.
    bool showSignedIn(const QString &username)
    {
        return showWindowRoot() && signIn(username, QStringLiteral("fly-vornalia"))
               && TestSupport::waitFor([this] { return shown(m_root, "home.notifications") != nullptr; });
    }

    // The window, the member signed in and their dashboard with every load ended.
    bool showDashboard(const QString &username)
    {
        return showSignedIn(username) && memberLoadsEnd(m_root->findChild<MemberData *>());
    }

    // Brings the table's screen on: the sign-in form, a refused sign-in, the dashboard and what opens from
    // it, or the update prompt over the dashboard.
    void showScreen(const QString &screen)
    {
        if (screen == "sign-in" || screen == "sign-in refused") {
            QVERIFY(showWindowRoot());
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
        QVERIFY(showDashboard("lichen"));
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

    // The update prompt over the window, offering 2.4.0 with these notes to version 2.3.0.
    bool showUpdatePrompt(const QString &notes)
    {
        const QString path = UpdateCheck::manifestAddress(service().origin()).path();
        service().route("GET", path, [notes](Sample::Service &, const Sample::Request &) {
            return Sample::Reply::json(
                QJsonObject{{"version", "2.4.0"},
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

    // The stack of pages of a tab that has pages of its own.
    PageStackModel *pagesOf(MemberTab tab) const
    {
        // The stacks are a repeater's: items of the scene, not children of the window root.
        for (QQuickItem *item : itemsBelow(m_root)) {
            auto *stack = item->objectName() == "shell.pages"
                              ? item->property("model").value<PageStackModel *>()
                              : nullptr;
            if (stack && stack->tab() == tab)
                return stack;
        }
        return nullptr;
    }

    // The flights tab with the member's held report open (the one under inquiry, which takes more pictures)
    // and its picker on screen: the report's detail page, or null.
    QQuickItem *showHeldReport()
    {
        auto *navigation = m_root->findChild<MemberNavigation *>();
        const QList<Pirep> reports = m_root->findChild<MemberData *>()->pireps();
        const auto held = std::find_if(reports.cbegin(), reports.cend(),
                                       [](const Pirep &report) { return report.id == "p-24421"; });
        if (!navigation || held == reports.cend())
            return nullptr;
        navigation->setSelected(MemberTab::Flights);
        navigation->push(NavigationStack::FlightStack, PirepRoute{*held});
        PageStackModel *flights = pagesOf(MemberTab::Flights);
        const bool open = TestSupport::waitFor(
            [flights] { return flights->count() == 2 && shown(flights->top(), "pirep.detail.pick"); });
        return open ? flights->top() : nullptr;
    }

    // The same report opened from the dashboard's "去补充", pressed from the keyboard: in the logbook sheet.
    // The report's detail page, or null.
    QQuickItem *showHeldReportInTheLogbook()
    {
        QQuickItem *add = nullptr;
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (item->isVisible() && item->inherits("QQuickAbstractButton") && heardName(item) == "去补充")
                add = item;
        }
        if (!add)
            return nullptr;
        add->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QQuickItem *pick = nullptr;
        if (!TestSupport::waitFor(
                [&] { return (pick = shown(m_window->contentItem(), "pirep.detail.pick")); }))
            return nullptr;
        for (QQuickItem *item = pick; item; item = item->parentItem()) {
            if (item->property("pageSending").isValid())
                return item;
        }
        return nullptr;
    }

    // The report form's model: that of the last item below the window root that has one.
    PirepFormModel *pirepForm() const
    {
        PirepFormModel *form = nullptr;
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (auto *model = qobject_cast<PirepFormModel *>(item->property("model").value<QObject *>()))
                form = model;
        }
        return form;
    }

    ShellSite m_site;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    // The window root in the window, and its account state.
    QQuickItem *m_root = nullptr;
    AppState *m_app = nullptr;
    // The update prompt over the window, and the check it shows.
    std::unique_ptr<UpdateCheck> m_updater;
    std::unique_ptr<QQuickItem> m_prompt;
};

// Runs a test of the views. Sessions and settings of its run stay in a folder of their own, away from the
// keychain and the files of whoever runs it: without a session bus the sessions go to private files there.
template <typename Test>
int runShellViewsTest(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vorna-tst-views");
    qputenv("LANGUAGE", "zh_CN");
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle("Basic");
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace TestSupport

// The main of a test of the views, with the app's QML modules that its window loads linked in: once, at the
// end of the test's file, as QTEST_MAIN.
#define VORNA_SHELL_VIEWS_TEST_MAIN(TestObject)                                                              \
    Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)                                                                      \
    Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)                                                                   \
    Q_IMPORT_QML_PLUGIN(Vorna_ImagesPlugin)                                                                  \
    Q_IMPORT_QML_PLUGIN(Vorna_HomePlugin)                                                                    \
    Q_IMPORT_QML_PLUGIN(Vorna_ShellPlugin)                                                                   \
    Q_IMPORT_QML_PLUGIN(Vorna_UpdatesPlugin)                                                                 \
    int main(int argc, char *argv[]) { return TestSupport::runShellViewsTest<TestObject>(argc, argv); }
