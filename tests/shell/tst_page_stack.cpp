// A tab's stack of pages against its path, without a window: which pages it keeps, which it destroys and
// which it asks its view to make.
#include "Installed.h"
#include "MemberNavigation.h"
#include "PageStackModel.h"
#include "QuitQuestion.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

namespace {

FlightEvent flightEvent(const QString &id)
{
    FlightEvent flightEvent;
    flightEvent.id = id;
    return flightEvent;
}

// Stands in for the view: makes a page for every route asked for and places it.
class PageMaker : public QObject
{
public:
    explicit PageMaker(PageStackModel &model)
        : m_model(model)
    {
        connect(&model, &PageStackModel::push, this, [this](const PageRoute &route) {
            asked.append(route);
            auto *page = new QQuickItem(&m_parent);
            made.append(page);
            m_model.place(page);
        });
    }

    QQuickItem *root() { return new QQuickItem(&m_parent); }

    QList<PageRoute> asked;
    QList<QPointer<QQuickItem>> made;

private:
    PageStackModel &m_model;
    QQuickItem m_parent;
};

void settleDeletions() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class PageStackTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsThePagesWhoseRoutesStayed();
    void followsItsOwnPathOnly();
    void homeRootFollowsTheRole();
    void logbookSheetFollowsTheLogbookPath();
    void busyPageHoldsItsStack();

private:
    // The own-flight request main/ would install, this test's own.
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
};

// Regression: every change of the path made the page on top afresh, and going back rebuilt the page
// beneath from nothing.
void PageStackTest::keepsThePagesWhoseRoutesStayed()
{
    MemberNavigation navigation;
    PageStackModel model;
    model.setNavigation(&navigation);
    model.setTab(MemberTab::Home);
    PageMaker view(model);

    navigation.openEvent(flightEvent("e-1"));
    QVERIFY(view.asked.isEmpty()); // nothing is pushed before the root shows
    QPointer<QQuickItem> root = view.root();
    model.showRoot(root);
    // The path that stood before the root is pushed over it at once.
    QCOMPARE(view.asked, (QList<PageRoute>{{NavigationStack::HomeStack, 0, ShellPage::Event}}));
    QCOMPARE(model.count(), 2);
    QPointer<QQuickItem> first = view.made.at(0);
    QVERIFY(!root->isVisible() && first->isVisible());

    // The same event again: the page stays.
    navigation.openEvent(flightEvent("e-1"));
    QCOMPARE(view.asked.size(), 1);

    // A second event above it: only the new one is made.
    navigation.setPath(NavigationStack::HomeStack,
                       {EventRoute{flightEvent("e-1")}, EventRoute{flightEvent("e-2")}});
    QCOMPARE(view.asked.size(), 2);
    QCOMPARE(view.asked.last(), (PageRoute{NavigationStack::HomeStack, 1, ShellPage::Event}));
    QPointer<QQuickItem> second = view.made.at(1);
    QVERIFY(!first->isVisible() && second->isVisible());

    // Back: the page popped is destroyed, the one beneath is the same object, shown again.
    navigation.pop(NavigationStack::HomeStack);
    settleDeletions();
    QVERIFY(second.isNull());
    QCOMPARE(model.top(), first.data());
    QVERIFY(first->isVisible());
    QCOMPARE(view.asked.size(), 2);

    // Another event at the same place: its page is replaced, the root stays.
    navigation.openEvent(flightEvent("e-3"));
    settleDeletions();
    QVERIFY(first.isNull());
    QCOMPARE(view.asked.size(), 3);
    QCOMPARE(model.count(), 2);

    navigation.pop(NavigationStack::HomeStack);
    settleDeletions();
    QCOMPARE(model.count(), 1);
    QCOMPARE(model.top(), root.data());
    QVERIFY(root->isVisible());
}

void PageStackTest::followsItsOwnPathOnly()
{
    MemberNavigation navigation;
    PageStackModel model;
    model.setNavigation(&navigation);
    model.setTab(MemberTab::Account);
    PageMaker view(model);
    model.showRoot(view.root());

    navigation.openEvent(flightEvent("e-1"));
    navigation.openPrefilledPirep(RecentFlight{});
    navigation.openPirep(Pirep{});
    QVERIFY(view.asked.isEmpty());

    navigation.pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard);
    navigation.setPath(NavigationStack::AccountStack,
                       {PlainRoute{ShellPage::Leaderboard}, LegalRoute{LegalDocument::Terms}});
    QCOMPARE(view.asked, (QList<PageRoute>{{NavigationStack::AccountStack, 0, ShellPage::Leaderboard},
                                           {NavigationStack::AccountStack, 1, ShellPage::Legal}}));

    // A stack without routes: the map only ever shows its root.
    PageStackModel map;
    map.setNavigation(&navigation);
    map.setTab(MemberTab::Map);
    PageMaker mapView(map);
    map.showRoot(mapView.root());
    navigation.setPath(NavigationStack::AccountStack, {PlainRoute{ShellPage::Profile}});
    QVERIFY(mapView.asked.isEmpty());
    QCOMPARE(map.count(), 1);
    QCOMPARE(map.rootPage(), ShellPage::Map);
}

void PageStackTest::homeRootFollowsTheRole()
{
    MemberNavigation navigation;
    PageStackModel home;
    home.setNavigation(&navigation);
    PageStackModel flights;
    flights.setNavigation(&navigation);
    flights.setTab(MemberTab::Flights);
    QSignalSpy homeRoot(&home, &PageStackModel::rootPageChanged);
    QSignalSpy flightsRoot(&flights, &PageStackModel::rootPageChanged);

    QCOMPARE(home.rootPage(), ShellPage::Workbench);
    navigation.setMember(true);
    QCOMPARE(home.rootPage(), ShellPage::Dashboard);
    QCOMPARE(homeRoot.count(), 1);
    QCOMPARE(flights.rootPage(), ShellPage::Flights);
    QCOMPARE(flightsRoot.count(), 0); // only the home page changes with the role
}

// The logbook sheet's stack is no tab's: it names the logbook stack and its own root page.
void PageStackTest::logbookSheetFollowsTheLogbookPath()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    PageStackModel logbook;
    logbook.setNavigation(&navigation);
    logbook.setTab(MemberTab::Account);
    QSignalSpy rootChanged(&logbook, &PageStackModel::rootPageChanged);
    logbook.setStack(NavigationStack::LogbookStack);
    logbook.setOwnRoot(ShellPage::Logbook);
    QCOMPARE(logbook.stack(), NavigationStack::LogbookStack);
    QCOMPARE(logbook.rootPage(), ShellPage::Logbook);
    QCOMPARE(rootChanged.count(), 1);
    PageMaker view(logbook);

    // A report opened from the dashboard before the sheet shows: its page comes over the root at once.
    Pirep report;
    report.id = "P-1";
    navigation.openPirep(report);
    QVERIFY(navigation.showingLogbook());
    logbook.showRoot(view.root());
    QCOMPARE(view.asked, (QList<PageRoute>{{NavigationStack::LogbookStack, 0, ShellPage::PirepDetail}}));
    QCOMPARE(logbook.count(), 2);

    // The account tab's own path is not this stack's.
    navigation.setPath(NavigationStack::AccountStack, {PlainRoute{ShellPage::Profile}});
    QCOMPARE(view.asked.size(), 1);

    // Back on the logbook's first page, and a fresh opening empties the path.
    navigation.pop(NavigationStack::LogbookStack);
    settleDeletions();
    QCOMPARE(logbook.count(), 1);
    navigation.openPirep(report);
    QCOMPARE(logbook.count(), 2);
    navigation.openLogbook();
    settleDeletions();
    QCOMPARE(logbook.count(), 1);

    // The account tab's stack itself keeps its own root.
    PageStackModel account;
    account.setNavigation(&navigation);
    account.setTab(MemberTab::Account);
    QCOMPARE(account.stack(), NavigationStack::AccountStack);
    QCOMPARE(account.rootPage(), ShellPage::Account);
}

// A page says through its `pageBusy` when it is busy: the stack keeps it, a sheet showing the stack stays
// open, and a page that goes takes its mark with it.
void PageStackTest::busyPageHoldsItsStack()
{
    MemberNavigation navigation;
    navigation.setMember(true);
    PageStackModel logbook;
    logbook.setNavigation(&navigation);
    logbook.setStack(NavigationStack::LogbookStack);
    logbook.setOwnRoot(ShellPage::Logbook);
    QQmlEngine engine;
    QQmlComponent busyPage(&engine);
    busyPage.setData(
        "import QtQuick\nItem { property bool pageBusy: false; property bool pageSending: false }", QUrl());
    QVERIFY2(busyPage.isReady(), qPrintable(busyPage.errorString()));
    QQuickItem parent;
    QList<QPointer<QQuickItem>> made;
    connect(&logbook, &PageStackModel::push, &logbook, [&](const PageRoute &) {
        auto *page = qobject_cast<QQuickItem *>(busyPage.create());
        page->setParentItem(&parent);
        made.append(page);
        logbook.place(page);
    });
    logbook.showRoot(new QQuickItem(&parent));
    navigation.openPirep(Pirep{});
    QCOMPARE(made.size(), 1);
    QSignalSpy held(&logbook, &PageStackModel::heldChanged);

    QuitQuestion question;
    question.setNavigation(&navigation);
    made.first()->setProperty("pageBusy", true);
    QVERIFY(logbook.held());
    QCOMPARE(held.count(), 1);
    // Regression: quitting asked, and said a report was being sent, while the page only prepared pictures.
    QVERIFY(!question.asks());
    made.first()->setProperty("pageSending", true);
    QVERIFY(question.asks());
    QCOMPARE(question.title(), QStringLiteral("补充截图仍在上传"));
    // The message, too, speaks of the pictures, not of a report and what was typed into it.
    const QString pictures =
        QStringLiteral("现在退出将看不到这些截图是否上传成功；如果没有被接受，需要重新选择截图。");
    QCOMPARE(question.message(), pictures);
    navigation.pop(NavigationStack::LogbookStack);
    navigation.setShowingLogbook(false);
    QCOMPARE(logbook.count(), 2);
    QVERIFY(navigation.showingLogbook());

    made.first()->setProperty("pageSending", false);
    QVERIFY(!question.asks());
    // Regression: a question on its way out turned to "仍有内容在提交" once nothing was sending.
    QCOMPARE(question.title(), QStringLiteral("补充截图仍在上传"));
    QCOMPARE(question.message(), pictures);
    made.first()->setProperty("pageBusy", false);
    QVERIFY(!logbook.held());
    navigation.pop(NavigationStack::LogbookStack);
    settleDeletions();
    QCOMPARE(logbook.count(), 1);

    // A busy page made again from the same path (the sheet opened again) marks its place afresh; once the
    // pages go, the mark goes with them.
    navigation.openPirep(Pirep{});
    made.last()->setProperty("pageBusy", true);
    made.last()->setProperty("pageSending", true);
    QVERIFY(navigation.held(NavigationStack::LogbookStack));
    logbook.clear();
    QVERIFY(!navigation.held(NavigationStack::LogbookStack));
    QVERIFY(!question.asks());
    QVERIFY(!logbook.held());
}

QTEST_MAIN(PageStackTest)
#include "tst_page_stack.moc"
