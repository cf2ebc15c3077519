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
    void busyPageKeepsItsPlace();
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
}

void NavigationTest::requestsReplaceTheirPath()
{
    MemberNavigation navigation;
    navigation.setPath(NavigationStack::LogbookStack,
                       {PirepRoute{report("a")}, PirepRoute{report("b")}, RecentFlightRoute{recent("c")}});
    navigation.openPirep(report("p-9"));
    QCOMPARE(navigation.logbookPath(), QList<Destination>{PirepRoute{report("p-9")}});
    QCOMPARE(navigation.selected(), MemberTab::Account);
    QVERIFY(navigation.showingLogbook());

    navigation.setPath(NavigationStack::FlightStack, {PirepRoute{report("x")}});
    // During a live flight the latest-flight card opens the empty form.
    navigation.openSubmission();
    QCOMPARE(navigation.flightPath(), QList<Destination>{PlainRoute{ShellPage::PirepForm}});
    QCOMPARE(navigation.selected(), MemberTab::Flights);

    navigation.openEvent(flightEvent("e-1"));
    navigation.openEvent(flightEvent("e-2"));
    QCOMPARE(navigation.eventPath(), QList<Destination>{EventRoute{flightEvent("e-2")}});
    QCOMPARE(navigation.selected(), MemberTab::Home);

    navigation.openPrefilledPirep(recent("f-1"));
    QCOMPARE(navigation.flightPath(), QList<Destination>{RecentFlightRoute{recent("f-1")}});
    navigation.openEventSubmission(flightEvent("e-3"));
    QCOMPARE(navigation.flightPath(), QList<Destination>{EventSubmissionRoute{flightEvent("e-3")}});
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
    const Destination a = PirepRoute{report("p-1")};
    QCOMPARE(a, Destination(PirepRoute{report("p-1")}));
    QCOMPARE(qHash(a), qHash(Destination(PirepRoute{report("p-1")})));
    QVERIFY(a != Destination(PirepRoute{report("p-2")}));
    QVERIFY(Destination(RecentFlightRoute{recent("p-1")}) != a);

    const Destination terms = LegalRoute{LegalDocument::Terms};
    QVERIFY(terms != Destination(LegalRoute{LegalDocument::Privacy}));
    QVERIFY(qHash(terms) != qHash(Destination(LegalRoute{LegalDocument::Privacy})));
    const Destination edit = PlainRoute{ShellPage::ProfileEdit};
    QCOMPARE(edit, Destination(PlainRoute{ShellPage::ProfileEdit}));
    QVERIFY(edit != Destination(PlainRoute{ShellPage::Profile}));
    QVERIFY(qHash(edit) != qHash(Destination(PlainRoute{ShellPage::Profile})));
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
    navigation.openPrefilledPirep(recent("f-1"));
    QCOMPARE(navigation.rootPage(), ShellPage::Flights);
    QCOMPARE(navigation.stackPage(), ShellPage::PirepForm);
    QCOMPARE(navigation.depth(NavigationStack::HomeStack), 1);
    navigation.setPath(NavigationStack::FlightStack,
                       {RecentFlightRoute{recent("f-1")}, PirepRoute{report("p-1")}});
    QCOMPARE(navigation.stackPage(), ShellPage::PirepDetail);
    navigation.pop(NavigationStack::FlightStack);
    navigation.pop(NavigationStack::FlightStack);
    QCOMPARE(navigation.stackPage(), ShellPage::NoPage);

    navigation.setSelected(MemberTab::Map);
    QCOMPARE(navigation.rootPage(), ShellPage::Map);
    QCOMPARE(navigation.stackDepth(), 0);
    navigation.setSelected(MemberTab::Live);
    QCOMPARE(navigation.rootPage(), ShellPage::Live);
    navigation.setSelected(MemberTab::Account);
    QCOMPARE(navigation.rootPage(), ShellPage::Account);
    navigation.setPath(NavigationStack::AccountStack, {PlainRoute{ShellPage::ProfileEdit}});
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
    navigation.pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard);
    QCOMPARE(navigation.accountPath(), QList<Destination>{PlainRoute{ShellPage::Leaderboard}});
    QCOMPARE(navigation.rootPage(), ShellPage::Account);
    QCOMPARE(navigation.stackPage(), ShellPage::Leaderboard);
    navigation.pop(NavigationStack::AccountStack);
    QCOMPARE(navigation.stackPage(), ShellPage::NoPage);

    navigation.setPath(NavigationStack::AccountStack,
                       {PlainRoute{ShellPage::Leaderboard}, PlainRoute{ShellPage::Profile}});
    QCOMPARE(navigation.stackPage(), ShellPage::Profile); // the page on top counts
}

void NavigationTest::reportPagesOnTheFlightStack()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.setSelected(MemberTab::Flights);
    // "+" twice before the form shows opens one form.
    navigation.startPirep();
    navigation.startPirep();
    QCOMPARE(navigation.flightPath(), QList<Destination>{PlainRoute{ShellPage::PirepForm}});
    QCOMPARE(navigation.stackPage(), ShellPage::PirepForm);
    const PageRoute form = navigation.routeAt(NavigationStack::FlightStack, 0);
    QVERIFY(navigation.routeOf<PlainRoute>(form));
    QVERIFY(!navigation.routeOf<PirepRoute>(form));
    navigation.back();
    QCOMPARE(navigation.depth(NavigationStack::FlightStack), 0);
    navigation.startPirep();
    QCOMPARE(navigation.depth(NavigationStack::FlightStack), 1); // after going back, "+" opens a fresh form

    // A row of the list opens its report's detail on the stack the list stands in.
    navigation.setPath(NavigationStack::FlightStack, {});
    navigation.push(NavigationStack::FlightStack, PirepRoute{report("p-7")});
    QCOMPARE(navigation.stackPage(), ShellPage::PirepDetail);
    navigation.push(NavigationStack::LogbookStack, PirepRoute{report("p-8")});
    QCOMPARE(navigation.logbookPath(), QList<Destination>{PirepRoute{report("p-8")}});
    QCOMPARE(navigation.depth(NavigationStack::FlightStack), 1);
}

void NavigationTest::backPopsTheSelectedTabsStack_data()
{
    QTest::addColumn<MemberTab>("tab");
    QTest::addColumn<QList<int>>("depthsAfter"); // flight, logbook, event, account, live
    QTest::newRow("home: the event") << MemberTab::Home << QList<int>{2, 1, 1, 2, 2};
    QTest::newRow("flights") << MemberTab::Flights << QList<int>{1, 1, 2, 2, 2};
    QTest::newRow("account: its own stack, not the logbook")
        << MemberTab::Account << QList<int>{2, 1, 2, 1, 2};
    QTest::newRow("map has no stack") << MemberTab::Map << QList<int>{2, 1, 2, 2, 2};
    QTest::newRow("live: the review above the aircraft") << MemberTab::Live << QList<int>{2, 1, 2, 2, 1};
}

// Escape and Alt+Left go back one page in the tab on screen, and in no other tab's stack.
void NavigationTest::backPopsTheSelectedTabsStack()
{
    QFETCH(MemberTab, tab);
    QFETCH(QList<int>, depthsAfter);
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.setPath(NavigationStack::FlightStack,
                       {PirepRoute{report("a")}, RecentFlightRoute{recent("b")}});
    navigation.setPath(NavigationStack::LogbookStack, {PirepRoute{report("c")}});
    navigation.setPath(NavigationStack::HomeStack,
                       {EventRoute{flightEvent("e-1")}, EventRoute{flightEvent("e-2")}});
    navigation.setPath(NavigationStack::AccountStack,
                       {PlainRoute{ShellPage::Leaderboard}, PlainRoute{ShellPage::Profile}});
    navigation.openLiveAircraft("ac-1", &navigation);
    navigation.openLiveReview("app-1", &navigation);
    navigation.setSelected(tab);
    QSignalSpy paths(&navigation, &MemberNavigation::pathChanged);

    navigation.back();
    QCOMPARE((QList<int>{navigation.depth(NavigationStack::FlightStack),
                         navigation.depth(NavigationStack::LogbookStack),
                         navigation.depth(NavigationStack::HomeStack),
                         navigation.depth(NavigationStack::AccountStack),
                         navigation.depth(NavigationStack::LiveStack)}),
             depthsAfter);
    const bool popped = MemberNavigation::stackOf(tab) != NavigationStack::NoStack;
    QCOMPARE(paths.count(), popped ? 1 : 0);
    if (popped)
        QCOMPARE(paths.first().first().value<NavigationStack>(), MemberNavigation::stackOf(tab));
    QCOMPARE(navigation.selected(), tab); // going back never changes the tab
}

// Regression: the back keys took the report form away while it sent, so the service's answer was never seen
// and what the member typed was lost with it.
void NavigationTest::busyPageKeepsItsPlace()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    navigation.setSelected(MemberTab::Flights);
    navigation.setPath(NavigationStack::FlightStack,
                       {PirepRoute{report("p-1")}, RecentFlightRoute{recent("f-1")}});
    const PageRoute form = navigation.routeAt(NavigationStack::FlightStack, 1);
    QVERIFY(navigation.canGoBack());
    QSignalSpy pages(&navigation, &MemberNavigation::pagesChanged);
    navigation.setBusy(form, true);
    QVERIFY(navigation.held(NavigationStack::FlightStack));
    QVERIFY(!navigation.canGoBack());
    QCOMPARE(pages.count(), 1);

    // The back keys, its own way back and requests that would replace it leave it where it is.
    const QList<Destination> sending = navigation.flightPath();
    navigation.back();
    navigation.leave(form);
    navigation.openPrefilledPirep(recent("f-2"));
    navigation.openEventSubmission(flightEvent("e-1"));
    navigation.setPath(NavigationStack::FlightStack, {PirepRoute{report("p-1")}});
    QCOMPARE(navigation.flightPath(), sending);
    QCOMPARE(navigation.selected(), MemberTab::Flights);
    // Other stacks go on; a page above it may come and go.
    navigation.openEvent(flightEvent("e-2"));
    QCOMPARE(navigation.depth(NavigationStack::HomeStack), 1);
    navigation.setSelected(MemberTab::Flights);
    navigation.push(NavigationStack::FlightStack, PirepRoute{report("p-2")});
    QVERIFY(navigation.canGoBack());
    navigation.back();
    QCOMPARE(navigation.flightPath(), sending);

    // Done: it goes as any page.
    navigation.setBusy(form, false);
    QVERIFY(!navigation.held(NavigationStack::FlightStack));
    QVERIFY(navigation.canGoBack());
    navigation.back();
    QCOMPARE(navigation.depth(NavigationStack::FlightStack), 1);
    // A route that no longer stands is never busy.
    navigation.setBusy(form, true);
    QVERIFY(!navigation.held(NavigationStack::FlightStack));

    // The logbook sheet stays open over a busy page of its stack.
    navigation.openPirep(report("p-3"));
    const PageRoute detail = navigation.routeAt(NavigationStack::LogbookStack, 0);
    navigation.setBusy(detail, true);
    navigation.setShowingLogbook(false);
    QVERIFY(navigation.showingLogbook());
    navigation.openLogbook();
    QCOMPARE(navigation.logbookPath(), QList<Destination>{PirepRoute{report("p-3")}});
    navigation.setBusy(detail, false);
    navigation.setShowingLogbook(false);
    QVERIFY(!navigation.showingLogbook());
}

// A pushed page asks for what it shows through the route it was pushed with: only while a route of that kind
// still stands at its place.
void NavigationTest::pushedPagesReadTheirRoute()
{
    MemberNavigation navigation;
    navigation.openPrefilledPirep(recent("f-1"));
    const PageRoute form = navigation.routeAt(NavigationStack::FlightStack, 0);
    QCOMPARE(form.page, ShellPage::PirepForm);
    QCOMPARE(navigation.routeOf<RecentFlightRoute>(form), RecentFlightRoute{recent("f-1")});
    QVERIFY(!navigation.routeOf<EventSubmissionRoute>(form) && !navigation.routeOf<LegalRoute>(form));

    navigation.openEventSubmission(flightEvent("e-3"));
    QCOMPARE(navigation.routeOf<EventSubmissionRoute>(form), EventSubmissionRoute{flightEvent("e-3")});
    // A report's detail stands there now: the form's route is gone.
    navigation.setPath(NavigationStack::FlightStack, {PirepRoute{report("p-1")}});
    QVERIFY(!navigation.routeOf<EventSubmissionRoute>(form));
    QVERIFY(!navigation.routeOf<PirepRoute>(form)); // another page's route, though of that stack and place
    navigation.setPath(NavigationStack::FlightStack, {});
    QCOMPARE(navigation.routeAt(NavigationStack::FlightStack, 0), PageRoute{}); // nothing there
    QVERIFY(!navigation.routeOf<PlainRoute>(PageRoute{}));

    // The logbook's stack resolves the same routes to the same pages.
    navigation.openPirep(report("p-9"));
    const PageRoute detail = navigation.routeAt(NavigationStack::LogbookStack, 0);
    QCOMPARE(detail.page, ShellPage::PirepDetail);
    QCOMPARE(navigation.routeOf<PirepRoute>(detail), PirepRoute{report("p-9")});

    navigation.openEvent(flightEvent("e-7"));
    QCOMPARE(navigation.routeOf<EventRoute>(navigation.routeAt(NavigationStack::HomeStack, 0)),
             EventRoute{flightEvent("e-7")});

    navigation.setPath(NavigationStack::AccountStack,
                       {PlainRoute{ShellPage::Leaderboard}, LegalRoute{LegalDocument::Privacy}});
    const PageRoute legal = navigation.routeAt(NavigationStack::AccountStack, 1);
    QCOMPARE(legal.page, ShellPage::Legal);
    QCOMPARE(navigation.routeOf<LegalRoute>(legal), LegalRoute{LegalDocument::Privacy});
    QVERIFY(!navigation.routeOf<LegalRoute>(PageRoute{NavigationStack::AccountStack, 2, ShellPage::Legal}));

    // A Live card names its record by id and the Live page's model it was opened from, which may go first.
    auto liveTab = std::make_unique<QObject>();
    navigation.openLiveAircraft("org/ac-1", liveTab.get());
    navigation.openLiveReview("app-2", liveTab.get());
    const PageRoute aircraft = navigation.routeAt(NavigationStack::LiveStack, 0);
    const PageRoute review = navigation.routeAt(NavigationStack::LiveStack, 1);
    QCOMPARE(aircraft.page, ShellPage::LiveAircraft);
    QCOMPARE(review.page, ShellPage::LiveReview);
    QCOMPARE(navigation.liveCardAt(aircraft).id, "org/ac-1");
    QCOMPARE(navigation.liveCardAt(review).id, "app-2");
    QCOMPARE(navigation.liveCardAt(review).liveTabObject(), liveTab.get());
    QVERIFY(!navigation.routeOf<LiveReviewRoute>(aircraft));
    liveTab.reset();
    QCOMPARE(navigation.liveCardAt(review).liveTabObject(), nullptr);
    QVERIFY(navigation.liveCardAt(PageRoute{}).id.isEmpty());
}

// The pages without a payload are pushed by their page alone; the account button opens a page alone there.
void NavigationTest::accountRowsAndOpeners()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    QVERIFY(navigation.pushPage(NavigationStack::AccountStack, ShellPage::Settings));
    QVERIFY(navigation.pushPage(NavigationStack::AccountStack, ShellPage::Information));
    navigation.pushLegal(1);
    QCOMPARE(navigation.accountPath(),
             (QList<Destination>{PlainRoute{ShellPage::Settings}, PlainRoute{ShellPage::Information},
                                 LegalRoute{LegalDocument::Privacy}}));
    QCOMPARE(navigation.routeAt(NavigationStack::AccountStack, 0).page, ShellPage::Settings);
    QCOMPARE(navigation.routeAt(NavigationStack::AccountStack, 1).page, ShellPage::Information);
    QCOMPARE(navigation.legalDocumentAt(navigation.routeAt(NavigationStack::AccountStack, 2)), 1);
    navigation.pushLegal(0);
    QCOMPARE(navigation.legalDocumentAt(navigation.routeAt(NavigationStack::AccountStack, 3)), 0);
    // A page that shows a record cannot be pushed without it, nor a tab's own page.
    for (const ShellPage page :
         {ShellPage::Event, ShellPage::PirepDetail, ShellPage::Review, ShellPage::Notice, ShellPage::Legal,
          ShellPage::NoPage, ShellPage::Dashboard, ShellPage::Workbench, ShellPage::Flights, ShellPage::Live,
          ShellPage::Map, ShellPage::Account, ShellPage::Logbook, ShellPage::LiveAircraft,
          ShellPage::LiveReview})
        QVERIFY(!navigation.pushPage(NavigationStack::AccountStack, page));
    QCOMPARE(navigation.depth(NavigationStack::AccountStack), 4);
    // A page's way back pops its stack; a page no stack made leaves nothing.
    navigation.leave(PageRoute{});
    QCOMPARE(navigation.depth(NavigationStack::AccountStack), 4);
    navigation.leave(navigation.routeAt(NavigationStack::AccountStack, 3));
    QCOMPARE(navigation.depth(NavigationStack::AccountStack), 3);
    navigation.pushLegal(0);

    navigation.setSelected(MemberTab::Home);
    navigation.openProfile();
    QCOMPARE(navigation.selected(), MemberTab::Account);
    QCOMPARE(navigation.accountPath(), QList<Destination>{PlainRoute{ShellPage::Profile}});
    QVERIFY(navigation.pushPage(NavigationStack::AccountStack, ShellPage::ProfileEdit));
    QCOMPARE(navigation.routeAt(NavigationStack::AccountStack, 1).page, ShellPage::ProfileEdit);

    // The dashboard's bell and profile banner push their pages on the home tab's own stack.
    navigation.setSelected(MemberTab::Home);
    QVERIFY(navigation.pushPage(NavigationStack::HomeStack, ShellPage::Inbox));
    QVERIFY(navigation.pushPage(NavigationStack::HomeStack, ShellPage::ProfileEdit));
    QCOMPARE(navigation.eventPath(),
             (QList<Destination>{PlainRoute{ShellPage::Inbox}, PlainRoute{ShellPage::ProfileEdit}}));
    QCOMPARE(navigation.stackPage(), ShellPage::ProfileEdit);
    QCOMPARE(navigation.selected(), MemberTab::Home);
}

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
