// Every popup of every screen — menus, lists of choices, sheets, alerts — stands inside the window, in a
// small window and a large one, and every entry of a list in it can be reached.
#include "ShellViewsFixture.h"

#include <QQuickItem>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

#include <functional>

using TestSupport::heardControl;
using TestSupport::itemsBelow;
using TestSupport::shown;

namespace {

// A screen: how it is brought on from the signed-in member's home page.
struct Screen
{
    const char *name;
    std::function<void(MemberNavigation *, QQuickItem *root)> open;
    const char *shows; // an item only it shows, once it is on
};

QRectF sceneRect(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

// Presses a control on screen as a click does, once it is there.
void press(QQuickItem *root, const QString &name)
{
    QQuickItem *control = TestSupport::awaitItem([&] { return heardControl(root, name); },
                                                 [](QQuickItem *item) { return item->isEnabled(); });
    QVERIFY2(control, qPrintable(name + " is not shown"));
    QVERIFY(QMetaObject::invokeMethod(control, "clicked"));
}

} // namespace

class PopupsInWindowTest : public TestSupport::ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void everyPopupStaysInTheWindow_data();
    void everyPopupStaysInTheWindow();

private:
    MemberNavigation *navigation() const { return m_root->findChild<MemberNavigation *>(); }
    // What leaves the window of the popups that can open now: each is opened in turn and closed again.
    QStringList popupsOutOfTheWindow(const QString &screen);
};

void PopupsInWindowTest::everyPopupStaysInTheWindow_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QSize>("size");
    for (const char *username : {"lichen", "wangfang"}) {
        for (const QSize size : {QSize(760, 540), QSize(1920, 1200)}) {
            QTest::addRow("%s, %d×%d", username, size.width(), size.height())
                << QString::fromLatin1(username) << size;
        }
    }
}

// Regression: the map search's aircraft and livery lists ran past the window's bottom, where their last
// entries could be neither seen nor reached.
void PopupsInWindowTest::everyPopupStaysInTheWindow()
{
    QFETCH(QString, username);
    QFETCH(QSize, size);
    const auto page = [](MemberTab tab, ShellPage shellPage) {
        return [tab, shellPage](MemberNavigation *shell, QQuickItem *) {
            shell->setSelected(tab);
            if (shellPage != ShellPage::NoPage)
                shell->pushPage(tab == MemberTab::Home ? NavigationStack::HomeStack
                                                       : NavigationStack::AccountStack,
                                shellPage);
        };
    };
    const auto liveTab = [](MemberNavigation *shell, QQuickItem *root) {
        shell->setSelected(MemberTab::Live);
        QTRY_VERIFY(shown(root, "live.tabs"));
    };
    QList<Screen> screens{
        {"home", page(MemberTab::Home, ShellPage::NoPage), nullptr},
        {"inbox", page(MemberTab::Home, ShellPage::Inbox), "inbox.heading"},
        {"account", page(MemberTab::Account, ShellPage::NoPage), "shell.account"},
        {"profile", page(MemberTab::Account, ShellPage::Profile), "account.page"},
        {"profile form", page(MemberTab::Account, ShellPage::ProfileEdit), "account.profileEdit"},
        {"settings", page(MemberTab::Account, ShellPage::Settings), "account.preferences"},
        {"information", page(MemberTab::Account, ShellPage::Information), "information.version"},
        {"leaderboard", page(MemberTab::Account, ShellPage::Leaderboard), "rank.period"},
        {"logbook", [](MemberNavigation *shell, QQuickItem *) { shell->openLogbook(); }, "shell.logbook"},
        {"switcher",
         [](MemberNavigation *shell, QQuickItem *root) {
             shell->setSelected(MemberTab::Home);
             press(root, "account.avatar");
         },
         "account.switcher"},
        {"map", page(MemberTab::Map, ShellPage::NoPage), "shell.map"},
        {"map search",
         [](MemberNavigation *shell, QQuickItem *root) {
             shell->setSelected(MemberTab::Map);
             press(root, "map.search");
         },
         "flightSearch.query"},
        {"Live", liveTab, "live.tabs"},
    };
    if (username == "lichen") {
        screens += {
            {"flights", page(MemberTab::Flights, ShellPage::NoPage), "pirep.new"},
            {"report form",
             [](MemberNavigation *shell, QQuickItem *) {
                 shell->setSelected(MemberTab::Flights);
                 shell->startPirep();
             },
             "pirep.submit"},
            {"event",
             [this](MemberNavigation *shell, QQuickItem *) {
                 shell->openEvent(m_root->findChild<MemberData *>()->events().constFirst());
             },
             "shell.event"},
            {"Live aircraft",
             [liveTab](MemberNavigation *shell, QQuickItem *root) {
                 liveTab(shell, root);
                 press(root, "live.aircraft.org-vornalia/ac-101");
             },
             "live.aircraft.back"},
            {"Live application",
             [liveTab](MemberNavigation *shell, QQuickItem *root) {
                 liveTab(shell, root);
                 press(root, "live.aircraft.org-vornalia/ac-101");
                 press(root, "live.aircraft.apply");
             },
             "live.departure"},
        };
    } else {
        screens += {
            {"map, own flights",
             [](MemberNavigation *shell, QQuickItem *root) {
                 shell->setSelected(MemberTab::Map);
                 press(root, "map.ownFlights");
             },
             nullptr},
            {"review",
             [](MemberNavigation *shell, QQuickItem *root) {
                 shell->setSelected(MemberTab::Home);
                 press(root, "admin.report.p-24436");
             },
             "shell.review"},
            {"Live review",
             [liveTab](MemberNavigation *shell, QQuickItem *root) {
                 liveTab(shell, root);
                 QObject *live = TestSupport::modelOf(root, "LiveTabModel");
                 QVERIFY(live);
                 live->setProperty("tab", 1);
                 press(root, "live.review.app-10");
             },
             "live.review.save"},
        };
    }

    QStringList out;
    for (const Screen &screen : std::as_const(screens)) {
        // Staff see the review workbench in place of the dashboard.
        QVERIFY(showWindowRoot() && signIn(username, QStringLiteral("fly-vornalia")));
        QTRY_VERIFY(shown(m_root, username == "lichen" ? "home.notifications" : "shell.workbench"));
        if (username == "lichen")
            QVERIFY(TestSupport::memberLoadsEnd(m_root->findChild<MemberData *>()));
        // The window's content: the window less its menu bar.
        m_window->resize(size);
        m_root->setSize(QSizeF(size.width(), size.height() - 40));
        screen.open(navigation(), m_window->contentItem());
        if (QTest::currentTestFailed())
            return;
        if (screen.shows)
            QTRY_VERIFY2(shown(m_window->contentItem(), screen.shows), screen.name);
        QVERIFY(QQuickTest::qWaitForPolish(m_window.get())); // laid out at the window's size
        out += popupsOutOfTheWindow(QString::fromLatin1(screen.name));
        cleanup();
        init();
    }
    QVERIFY2(out.isEmpty(), qPrintable(out.join('\n')));
}

QStringList PopupsInWindowTest::popupsOutOfTheWindow(const QString &screen)
{
    QStringList out;
    const QRectF window(0, 0, m_window->width(), m_window->height());
    // Popups belong to the items they are declared in (pages are made apart and put into the window as items,
    // so the window's objects do not hold them all).
    QList<QObject *> popups;
    for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
        for (QObject *child : item->children()) {
            if (child->inherits("QQuickPopup") && !popups.contains(child))
                popups.append(child);
        }
    }
    for (const QPointer<QObject> popup : popups) {
        if (!popup || popup->property("visible").toBool())
            continue;
        // Named by what it is called, else by the nearest named item it belongs to.
        QString called =
            popup->objectName().isEmpty() ? popup->property("title").toString() : popup->objectName();
        for (QObject *up = popup->parent(); called.isEmpty() && up; up = up->parent())
            called = up->objectName().isEmpty() ? QString() : "in " + up->objectName();
        const QString name = screen + ": the popup " + called;
        QMetaObject::invokeMethod(popup, "open");
        // A popup that opens only with what it shows (an alert's text) closes again at once.
        if (!TestSupport::waitFor([&] {
                return !popup || popup->property("opened").toBool() || !popup->property("visible").toBool();
            })
            || !popup || !popup->property("opened").toBool())
            continue;
        QQuickItem *shownItem = popup->property("contentItem").value<QQuickItem *>();
        QQuickItem *box = shownItem ? shownItem->parentItem() : nullptr; // the popup's own item
        if (box && !window.adjusted(-1, -1, 1, 1).contains(sceneRect(box))) {
            const QRectF rect = sceneRect(box);
            out += QStringLiteral("%1 stands at %2,%3 %4×%5")
                       .arg(name)
                       .arg(rect.x())
                       .arg(rect.y())
                       .arg(rect.width())
                       .arg(rect.height());
        }
        // Each list in it keeps its rows in reach: inside the popup, and scrolling where they do not fit.
        for (QQuickItem *item : box ? itemsBelow(box) : QList<QQuickItem *>()) {
            if (!item->isVisible() || !item->inherits("QQuickFlickable"))
                continue;
            if (!sceneRect(box).adjusted(-1, -1, 1, 1).contains(sceneRect(item)))
                out += name + ": a list reaches out of it";
            const bool fits = item->property("contentHeight").toReal() <= item->height() + 1;
            if (!fits && !item->property("interactive").toBool())
                out += name + ": a list's rows run past its end and it does not scroll";
        }
        if (popup)
            QMetaObject::invokeMethod(popup, "close");
        if (!TestSupport::waitFor([&] { return !popup || !popup->property("visible").toBool(); }))
            out += name + ": does not close";
    }
    return out;
}

VORNA_SHELL_VIEWS_TEST_MAIN(PopupsInWindowTest)
#include "tst_popups_in_window.moc"
