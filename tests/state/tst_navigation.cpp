// Moving between tabs and pages, and the own-flight link.
#include "Installed.h"
#include "MemberNavigation.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)

namespace {

Pirep report(const QString &id)
{
    Pirep pirep;
    pirep.id = id;
    pirep.departureCode = "ZBAA";
    pirep.arrivalCode = "ZSPD";
    pirep.status = "pending";
    return pirep;
}

FlightEvent flightEvent(const QString &id)
{
    FlightEvent flightEvent;
    flightEvent.id = id;
    return flightEvent;
}

RecentFlight recent(const QString &id)
{
    RecentFlight flight;
    flight.id = id;
    return flight;
}

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsAtHome();
    void requestsReplaceTheirPath();
    void routesCompareByCaseAndPayload();
    void ownFlightLink_data();
    void ownFlightLink();
    void everyOwnFlightRequestIsNew();
    void viewsSeeTheOneProcessWideRequest();
    void pagesOfEachTab();
    void ownFlightRequestShowsTheMap();
    void leaderboardStandsOnTheAccountStack();
    void reportPagesOnTheFlightStack();
    void backPopsTheSelectedTabsStack_data();
    void backPopsTheSelectedTabsStack();
    void pushedPagesReadTheirRoute();
    void accountRowsAndOpeners();

private:
    // The own-flight request main/ would install, this test's own.
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
};

void NavigationTest::startsAtHome()
{
    const MemberNavigation navigation;
    QCOMPARE(navigation.selected(), MemberTab::Home);
    QVERIFY(navigation.flightPath().isEmpty() && navigation.logbookPath().isEmpty());
    QVERIFY(navigation.eventPath().isEmpty() && navigation.accountPath().isEmpty());
    QVERIFY(!navigation.showingLogbook());
    QCOMPARE(navigation.flightPage(), FlightPage::Upload);
    QCOMPARE(navigation.accountPage(), AccountPage::Settings);
}

void NavigationTest::requestsReplaceTheirPath()
{
    MemberNavigation navigation;
    navigation.setAccountPage(AccountPage::About);
    navigation.setLogbookPath(
        {ReportRoute{report("a")}, ReportRoute{report("b")}, RecentFlightRoute{recent("c")}});
    navigation.openReport(report("p-9"));
    QCOMPARE(navigation.logbookPath(), QList<FlightRoute>{ReportRoute{report("p-9")}});
    QCOMPARE(navigation.selected(), MemberTab::Account);
    QVERIFY(navigation.showingLogbook());
    QCOMPARE(navigation.accountPage(), AccountPage::About); // not a request's business

    navigation.setFlightPage(FlightPage::Log);
    navigation.setFlightPath({ReportRoute{report("x")}});
    navigation.openSubmission();
    QVERIFY(navigation.flightPath().isEmpty());
    QCOMPARE(navigation.flightPage(), FlightPage::Upload);
    QCOMPARE(navigation.selected(), MemberTab::Flights);

    navigation.openEvent(flightEvent("e-1"));
    navigation.openEvent(flightEvent("e-2"));
    QCOMPARE(navigation.eventPath(), QList<FlightEvent>{flightEvent("e-2")});
    QCOMPARE(navigation.selected(), MemberTab::Home);

    navigation.openPrefilledReport(recent("f-1"));
    QCOMPARE(navigation.flightPath(), QList<FlightRoute>{RecentFlightRoute{recent("f-1")}});
    navigation.openEventSubmission(flightEvent("e-3"));
    QCOMPARE(navigation.flightPath(), QList<FlightRoute>{EventSubmissionRoute{flightEvent("e-3")}});
    QCOMPARE(navigation.selected(), MemberTab::Flights);

    QSignalSpy logbook(&navigation, &MemberNavigation::showingLogbookChanged);
    navigation.setShowingLogbook(false);
    navigation.openLogbook();
    QVERIFY(navigation.logbookPath().isEmpty());
    QVERIFY(navigation.showingLogbook());
    QCOMPARE(logbook.count(), 2);
    QVERIFY(navigation.accountPath().isEmpty()); // no request touches the account stack
}

void NavigationTest::routesCompareByCaseAndPayload()
{
    const FlightRoute a = ReportRoute{report("p-1")};
    QCOMPARE(a, FlightRoute(ReportRoute{report("p-1")}));
    QCOMPARE(qHash(a), qHash(FlightRoute(ReportRoute{report("p-1")})));
    QVERIFY(a != FlightRoute(ReportRoute{report("p-2")}));
    QVERIFY(FlightRoute(RecentFlightRoute{recent("p-1")}) != a);

    const AccountRoute terms = LegalRoute{LegalDocument::Terms};
    QVERIFY(terms != AccountRoute(LegalRoute{LegalDocument::Privacy}));
    QVERIFY(qHash(terms) != qHash(AccountRoute(LegalRoute{LegalDocument::Privacy})));
    QCOMPARE(AccountRoute(EditProfileRoute{}), AccountRoute(EditProfileRoute{}));
    QVERIFY(AccountRoute(EditProfileRoute{}) != AccountRoute(ProfileRoute{}));
}

void NavigationTest::ownFlightLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("ownFlight");
    QTest::newRow("plain") << "vorna://live-map/own-flight" << true;
    QTest::newRow("upper-case scheme and host, query") << "VORNA://LIVE-MAP/own-flight?x=1" << true;
    QTest::newRow("fragment and port") << "vorna://live-map:8080/own-flight#f" << true;
    QTest::newRow("path case") << "vorna://live-map/Own-Flight" << false;
    QTest::newRow("longer path") << "vorna://live-map/own-flight/extra" << false;
    QTest::newRow("other host") << "vorna://map/own-flight" << false;
    QTest::newRow("no host") << "vorna:own-flight" << false;
    QTest::newRow("other scheme") << "https://live-map/own-flight" << false;
}

void NavigationTest::ownFlightLink()
{
    QFETCH(QString, link);
    QFETCH(bool, ownFlight);
    QCOMPARE(FlightActivityLink::isOwnFlight(QUrl(link)), ownFlight);
}

void NavigationTest::everyOwnFlightRequestIsNew()
{
    FlightActivityNavigation &navigation = FlightActivityNavigation::shared();
    QSignalSpy changed(&navigation, &FlightActivityNavigation::ownFlightRequestChanged);
    QVERIFY(!navigation.open(QUrl("vorna://map/own-flight")));
    QVERIFY(navigation.ownFlightRequest().isEmpty());
    QVERIFY(navigation.open(QUrl("vorna://live-map/own-flight")));
    const QString first = navigation.ownFlightRequest();
    QVERIFY(navigation.open(QUrl("vorna://live-map/own-flight")));
    QVERIFY(navigation.ownFlightRequest() != first);
    QCOMPARE(changed.count(), 2);
    navigation.clearOwnFlightRequest();
    QVERIFY(navigation.ownFlightRequest().isEmpty());
}

// Regression: QML made an instance of its own, so a link handed over by a second start never reached
// the member tabs.
void NavigationTest::viewsSeeTheOneProcessWideRequest()
{
    QQmlEngine engine;
    engine.addImportPath("qrc:/qt/qml");
    QQmlComponent component(&engine);
    component.setData("import QtQml\nimport Vorna.State\nQtObject { property string request: "
                      "FlightActivityNavigation.ownFlightRequest }",
                      QUrl());
    std::unique_ptr<QObject> view(component.create());
    QVERIFY2(view, qPrintable(component.errorString()));
    FlightActivityNavigation::shared().requestOwnFlight();
    QCOMPARE(view->property("request").toString(), FlightActivityNavigation::shared().ownFlightRequest());
    FlightActivityNavigation::shared().clearOwnFlightRequest();
}

void NavigationTest::pagesOfEachTab()
{
    MemberNavigation navigation;
    QCOMPARE(navigation.rootPage(), ShellPage::Workbench); // not known as a member: staff's home
    navigation.setMember(true);
    QCOMPARE(navigation.rootPage(), ShellPage::Dashboard);
    QCOMPARE(navigation.stackPage(), ShellPage::NoPage);

    QSignalSpy pages(&navigation, &MemberNavigation::pagesChanged);
    navigation.openEvent(flightEvent("e-1"));
    QCOMPARE(navigation.stackPage(), ShellPage::Event);
    QCOMPARE(navigation.stackDepth(), 1);
    QVERIFY(pages.count() > 0);

    // The flights tab has a stack of its own; the event stays on the home tab's.
    navigation.openPrefilledReport(recent("f-1"));
    QCOMPARE(navigation.rootPage(), ShellPage::Flights);
    QCOMPARE(navigation.stackPage(), ShellPage::ReportForm);
    QCOMPARE(navigation.depth(NavigationStack::EventStack), 1);
    navigation.setFlightPath({RecentFlightRoute{recent("f-1")}, ReportRoute{report("p-1")}});
    QCOMPARE(navigation.stackPage(), ShellPage::ReportDetail);
    navigation.popFlight();
    navigation.popFlight();
    QCOMPARE(navigation.stackPage(), ShellPage::NoPage);

    // The tabs without pages of their own show the home tab's pages, events on top.
    for (const MemberTab tab : {MemberTab::Logbook, MemberTab::Events, MemberTab::Leaderboard}) {
        navigation.setSelected(tab);
        QCOMPARE(navigation.place(), MemberTab::Home);
        QCOMPARE(navigation.rootPage(), ShellPage::Dashboard);
        QCOMPARE(navigation.stackPage(), ShellPage::Event);
    }

    navigation.setSelected(MemberTab::Map);
    QCOMPARE(navigation.rootPage(), ShellPage::Map);
    QCOMPARE(navigation.stackDepth(), 0);
    navigation.setSelected(MemberTab::Live);
    QCOMPARE(navigation.rootPage(), ShellPage::Live);
    navigation.setSelected(MemberTab::Account);
    QCOMPARE(navigation.rootPage(), ShellPage::Account);
    navigation.setAccountPath({EditProfileRoute{}});
    QCOMPARE(navigation.stackPage(), ShellPage::ProfileEdit);
    navigation.setSelected(MemberTab::Home);
    QCOMPARE(navigation.stackPage(), ShellPage::Event);
}

// A link that came before the member tabs, and one that comes while they show, both open the map.
void NavigationTest::ownFlightRequestShowsTheMap()
{
    FlightActivityNavigation::shared().requestOwnFlight();
    const MemberNavigation early;
    QCOMPARE(early.selected(), MemberTab::Map);
    FlightActivityNavigation::shared().clearOwnFlightRequest();

    MemberNavigation later;
    QCOMPARE(later.selected(), MemberTab::Home);
    FlightActivityNavigation::shared().clearOwnFlightRequest(); // clearing is no request
    QCOMPARE(later.selected(), MemberTab::Home);
    FlightActivityNavigation::shared().requestOwnFlight();
    QCOMPARE(later.selected(), MemberTab::Map);
    FlightActivityNavigation::shared().clearOwnFlightRequest();
}

void NavigationTest::leaderboardStandsOnTheAccountStack()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.setSelected(MemberTab::Account);
    navigation.pushLeaderboard();
    QCOMPARE(navigation.accountPath(), QList<AccountRoute>{LeaderboardRoute{}});
    QCOMPARE(navigation.rootPage(), ShellPage::Account);
    QCOMPARE(navigation.stackPage(), ShellPage::Leaderboard);
    navigation.popAccount();
    QCOMPARE(navigation.stackPage(), ShellPage::NoPage);

    navigation.setAccountPath({LeaderboardRoute{}, ProfileRoute{}});
    QCOMPARE(navigation.stackPage(), ShellPage::Profile); // the page on top counts
    // The leaderboard tab has no page of its own: another screen selecting it shows the home page.
    navigation.setSelected(MemberTab::Leaderboard);
    QCOMPARE(navigation.rootPage(), ShellPage::Dashboard);
    QCOMPARE(navigation.stackPage(), ShellPage::NoPage);
}

void NavigationTest::reportPagesOnTheFlightStack()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.setSelected(MemberTab::Flights);
    // "+" twice before the form shows opens one form.
    navigation.startReport();
    navigation.startReport();
    QCOMPARE(navigation.flightPath(), QList<FlightRoute>{NewReportRoute{}});
    QCOMPARE(navigation.stackPage(), ShellPage::ReportForm);
    const PageRoute form = navigation.routeAt(NavigationStack::FlightStack, 0);
    QCOMPARE(navigation.flightRouteAt(form), std::optional<FlightRoute>(NewReportRoute{}));
    navigation.back();
    QCOMPARE(navigation.flightDepth(), 0);
    navigation.startReport();
    QCOMPARE(navigation.flightDepth(), 1); // after going back, "+" opens a fresh form

    // A row of the list opens its report's detail on the stack the list stands in.
    navigation.setFlightPath({});
    navigation.pushReport(NavigationStack::FlightStack, report("p-7"));
    QCOMPARE(navigation.stackPage(), ShellPage::ReportDetail);
    navigation.pushReport(NavigationStack::LogbookStack, report("p-8"));
    QCOMPARE(navigation.logbookPath(), QList<FlightRoute>{ReportRoute{report("p-8")}});
    QCOMPARE(navigation.flightDepth(), 1);
}

void NavigationTest::backPopsTheSelectedTabsStack_data()
{
    QTest::addColumn<MemberTab>("tab");
    QTest::addColumn<QList<int>>("depthsAfter"); // flight, logbook, event, account
    QTest::newRow("home: the event") << MemberTab::Home << QList<int>{2, 1, 1, 2};
    QTest::newRow("leaderboard tab shows home: the event")
        << MemberTab::Leaderboard << QList<int>{2, 1, 1, 2};
    QTest::newRow("flights") << MemberTab::Flights << QList<int>{1, 1, 2, 2};
    QTest::newRow("account: its own stack, not the logbook") << MemberTab::Account << QList<int>{2, 1, 2, 1};
    QTest::newRow("map has no stack") << MemberTab::Map << QList<int>{2, 1, 2, 2};
    QTest::newRow("live has no stack") << MemberTab::Live << QList<int>{2, 1, 2, 2};
}

// Escape and Alt+Left go back one page in the tab on screen, and in no other tab's stack.
void NavigationTest::backPopsTheSelectedTabsStack()
{
    QFETCH(MemberTab, tab);
    QFETCH(QList<int>, depthsAfter);
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.setFlightPath({ReportRoute{report("a")}, RecentFlightRoute{recent("b")}});
    navigation.setLogbookPath({ReportRoute{report("c")}});
    navigation.setEventPath({flightEvent("e-1"), flightEvent("e-2")});
    navigation.setAccountPath({LeaderboardRoute{}, ProfileRoute{}});
    navigation.setSelected(tab);
    QSignalSpy paths(&navigation, &MemberNavigation::pathChanged);

    navigation.back();
    QCOMPARE((QList<int>{navigation.flightDepth(), navigation.logbookDepth(), navigation.eventDepth(),
                         navigation.accountDepth()}),
             depthsAfter);
    const bool popped = MemberNavigation::stackOf(tab) != NavigationStack::NoStack;
    QCOMPARE(paths.count(), popped ? 1 : 0);
    if (popped)
        QCOMPARE(paths.first().first().value<NavigationStack>(), MemberNavigation::stackOf(tab));
    QCOMPARE(navigation.selected(), tab); // going back never changes the tab
}

// The report form asks for the flight or event it was opened with, through the route it was pushed with.
void NavigationTest::pushedPagesReadTheirRoute()
{
    MemberNavigation navigation;
    navigation.openPrefilledReport(recent("f-1"));
    const PageRoute form = navigation.routeAt(NavigationStack::FlightStack, 0);
    QCOMPARE(form.page, ShellPage::ReportForm);
    QCOMPARE(navigation.flightRouteAt(form), std::optional<FlightRoute>(RecentFlightRoute{recent("f-1")}));
    QVERIFY(!navigation.eventAt(form) && !navigation.accountRouteAt(form));

    navigation.openEventSubmission(flightEvent("e-3"));
    QCOMPARE(navigation.flightRouteAt(form),
             std::optional<FlightRoute>(EventSubmissionRoute{flightEvent("e-3")}));
    // A report's detail stands there now: the form's route is gone.
    navigation.setFlightPath({ReportRoute{report("p-1")}});
    QCOMPARE(navigation.flightRouteAt(form), std::nullopt);
    navigation.openSubmission();
    QCOMPARE(navigation.flightRouteAt(form), std::nullopt);
    QCOMPARE(navigation.routeAt(NavigationStack::FlightStack, 0), PageRoute{}); // nothing there

    // The logbook's stack resolves the same routes to the same pages.
    navigation.openReport(report("p-9"));
    const PageRoute detail = navigation.routeAt(NavigationStack::LogbookStack, 0);
    QCOMPARE(detail.page, ShellPage::ReportDetail);
    QCOMPARE(navigation.flightRouteAt(detail), std::optional<FlightRoute>(ReportRoute{report("p-9")}));

    navigation.openEvent(flightEvent("e-7"));
    QCOMPARE(navigation.eventAt(navigation.routeAt(NavigationStack::EventStack, 0)), flightEvent("e-7"));

    navigation.setAccountPath({LeaderboardRoute{}, LegalRoute{LegalDocument::Privacy}});
    const PageRoute legal = navigation.routeAt(NavigationStack::AccountStack, 1);
    QCOMPARE(legal.page, ShellPage::Legal);
    QCOMPARE(navigation.accountRouteAt(legal),
             std::optional<AccountRoute>(LegalRoute{LegalDocument::Privacy}));
    QCOMPARE(navigation.accountRouteAt(PageRoute{NavigationStack::AccountStack, 2, ShellPage::Legal}),
             std::nullopt);
}

// The account tab's rows push their pages; the account button and the dashboard open a page alone there.
void NavigationTest::accountRowsAndOpeners()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.pushSettings();
    navigation.pushInformation();
    navigation.pushLegal(1);
    QCOMPARE(navigation.accountPath(),
             (QList<AccountRoute>{SettingsRoute{}, InformationRoute{}, LegalRoute{LegalDocument::Privacy}}));
    QCOMPARE(navigation.routeAt(NavigationStack::AccountStack, 0).page, ShellPage::Settings);
    QCOMPARE(navigation.routeAt(NavigationStack::AccountStack, 1).page, ShellPage::Information);
    QCOMPARE(navigation.legalDocumentAt(navigation.routeAt(NavigationStack::AccountStack, 2)), 1);
    navigation.pushLegal(0);
    QCOMPARE(navigation.legalDocumentAt(navigation.routeAt(NavigationStack::AccountStack, 3)), 0);
    QVERIFY(AccountRoute(SettingsRoute{}) != AccountRoute(InformationRoute{}));

    navigation.setSelected(MemberTab::Home);
    navigation.openProfile();
    QCOMPARE(navigation.selected(), MemberTab::Account);
    QCOMPARE(navigation.accountPath(), QList<AccountRoute>{ProfileRoute{}});
    navigation.pushEditProfile();
    QCOMPARE(navigation.routeAt(NavigationStack::AccountStack, 1).page, ShellPage::ProfileEdit);

    navigation.setSelected(MemberTab::Home);
    navigation.openEditProfile();
    QCOMPARE(navigation.selected(), MemberTab::Account);
    QCOMPARE(navigation.accountPath(), QList<AccountRoute>{EditProfileRoute{}});
}

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
