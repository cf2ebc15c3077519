#pragma once

// Every screen of the member's window that the shell's tabs and stacks reach, as a member (lichen) or staff
// (wangfang) brings each on from their home page: for the tests that read one rule on every screen.
#include "MemberData.h"
#include "MemberNavigation.h"
#include "SceneTestSupport.h"

#include <QList>
#include <QQuickItem>
#include <QtTest>

#include <functional>

namespace TestSupport {

// A screen: how it is brought on, and an item only it shows once it is on (none: the tab's root shows).
struct ShellScreen
{
    const char *name;
    // The member's navigation, the window's content, the member's data.
    std::function<void(MemberNavigation *, QQuickItem *, MemberData *)> open;
    const char *shows;
};

// Presses a control on screen as a click does, once it is there and enabled.
inline void pressShown(QQuickItem *scene, const QString &name)
{
    QQuickItem *control = awaitItem([&] { return heardControl(scene, name); },
                                    [](QQuickItem *item) { return item->isEnabled(); });
    QVERIFY2(control, qPrintable(name + " is not shown"));
    QVERIFY(QMetaObject::invokeMethod(control, "clicked"));
}

// Opens a report of the staff's queue from the home page (through its tile, if given) and waits for the
// service's checks, which the review fetches as it opens.
inline void openReview(QQuickItem *scene, const QString &tile, const QString &report)
{
    if (!tile.isEmpty())
        pressShown(scene, tile);
    pressShown(scene, report);
    QTRY_VERIFY(modelOf(scene, "PirepReviewModel"));
    QTRY_VERIFY(!modelOf(scene, "PirepReviewModel")->property("checking").toBool()
                && !modelOf(scene, "PirepReviewModel")->property("checkLines").toList().isEmpty());
}

inline QList<ShellScreen> shellScreens(const QString &username)
{
    using Open = std::function<void(MemberNavigation *, QQuickItem *, MemberData *)>;
    const auto page = [](MemberTab tab, ShellPage shellPage) -> Open {
        return [tab, shellPage](MemberNavigation *shell, QQuickItem *, MemberData *) {
            shell->setSelected(tab);
            if (shellPage != ShellPage::NoPage)
                shell->pushPage(tab == MemberTab::Home ? NavigationStack::HomeStack
                                                       : NavigationStack::AccountStack,
                                shellPage);
        };
    };
    const Open liveTab = [](MemberNavigation *shell, QQuickItem *scene, MemberData *) {
        shell->setSelected(MemberTab::Live);
        QTRY_VERIFY(shown(scene, "live.tabs"));
    };
    // An application's review, from the Live tab's reviewers' board.
    const auto liveReview = [liveTab](const char *card) -> Open {
        return [liveTab, card](MemberNavigation *shell, QQuickItem *scene, MemberData *data) {
            liveTab(shell, scene, data);
            QObject *live = modelOf(scene, "LiveTabModel");
            QVERIFY(live);
            live->setProperty("tab", 1);
            pressShown(scene, QString::fromLatin1(card));
        };
    };
    QList<ShellScreen> screens{
        {"home", page(MemberTab::Home, ShellPage::NoPage), nullptr},
        {"inbox", page(MemberTab::Home, ShellPage::Inbox), "inbox.heading"},
        {"account", page(MemberTab::Account, ShellPage::NoPage), "shell.account"},
        {"profile", page(MemberTab::Account, ShellPage::Profile), "account.page"},
        {"profile form", page(MemberTab::Account, ShellPage::ProfileEdit), "account.profileEdit"},
        {"settings", page(MemberTab::Account, ShellPage::Settings), "account.preferences"},
        {"information", page(MemberTab::Account, ShellPage::Information), "information.version"},
        {"legal text",
         [](MemberNavigation *shell, QQuickItem *, MemberData *) {
             shell->setSelected(MemberTab::Account);
             shell->pushLegal(0);
         },
         "account.legal"},
        {"leaderboard", page(MemberTab::Account, ShellPage::Leaderboard), "rank.period"},
        {"logbook", [](MemberNavigation *shell, QQuickItem *, MemberData *) { shell->openLogbook(); },
         "shell.logbook"},
        {"switcher",
         [](MemberNavigation *shell, QQuickItem *scene, MemberData *) {
             shell->setSelected(MemberTab::Home);
             pressShown(scene, "account.avatar");
         },
         "account.switcher"},
        {"map", page(MemberTab::Map, ShellPage::NoPage), "shell.map"},
        {"map search",
         [](MemberNavigation *shell, QQuickItem *scene, MemberData *) {
             shell->setSelected(MemberTab::Map);
             pressShown(scene, "map.search");
         },
         "flightSearch.query"},
        {"Live", liveTab, "live.tabs"},
    };
    if (username == "lichen") {
        screens += {
            {"flights", page(MemberTab::Flights, ShellPage::NoPage), "pirep.new"},
            {"report form",
             [](MemberNavigation *shell, QQuickItem *, MemberData *) {
                 shell->setSelected(MemberTab::Flights);
                 shell->startPirep();
             },
             "pirep.submit"},
            {"report detail",
             [](MemberNavigation *shell, QQuickItem *, MemberData *data) {
                 const QList<Pirep> reports = data->pireps();
                 const auto held = std::find_if(reports.cbegin(), reports.cend(),
                                                [](const Pirep &report) { return report.id == "p-24421"; });
                 QVERIFY(held != reports.cend());
                 shell->setSelected(MemberTab::Flights);
                 shell->push(NavigationStack::FlightStack, PirepRoute{*held});
             },
             "pirep.detail.pick"},
            {"event",
             [](MemberNavigation *shell, QQuickItem *, MemberData *data) {
                 shell->openEvent(data->events().constFirst());
             },
             "shell.event"},
            {"Live aircraft",
             [liveTab](MemberNavigation *shell, QQuickItem *scene, MemberData *data) {
                 liveTab(shell, scene, data);
                 pressShown(scene, "live.aircraft.org-vornalia/ac-101");
             },
             "live.aircraft.back"},
            {"Live application",
             [liveTab](MemberNavigation *shell, QQuickItem *scene, MemberData *data) {
                 liveTab(shell, scene, data);
                 pressShown(scene, "live.aircraft.org-vornalia/ac-101");
                 pressShown(scene, "live.aircraft.apply");
             },
             "live.departure"},
        };
    } else {
        screens += {
            {"map, own flights",
             [](MemberNavigation *shell, QQuickItem *scene, MemberData *) {
                 shell->setSelected(MemberTab::Map);
                 pressShown(scene, "map.ownFlights");
             },
             nullptr},
            {"review",
             [](MemberNavigation *shell, QQuickItem *scene, MemberData *) {
                 shell->setSelected(MemberTab::Home);
                 openReview(scene, {}, "admin.report.p-24436");
             },
             "shell.review"},
            {"Live review", liveReview("live.review.app-10"), "live.review.save"},
            // A report held for more proof, whose callsign the flight service could not check.
            {"review, held",
             [](MemberNavigation *shell, QQuickItem *scene, MemberData *) {
                 shell->setSelected(MemberTab::Home);
                 openReview(scene, "admin.tile.1", "admin.report.p-24421");
             },
             "shell.review"},
            // An application in processing: the reviewer's verification, an outcome already chosen.
            {"Live verification", liveReview("live.review.app-09"), "live.review.outcome"},
        };
    }
    return screens;
}

} // namespace TestSupport
