#pragma once

#include "AccountRecords.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QSet>
#include <QUrl>

#include <optional>
#include <variant>

// The member tabs, in order.
namespace MemberTabs {
Q_NAMESPACE
QML_NAMED_ELEMENT(MemberTab)
enum Tab { Home, Flights, Live, Map, Account };
Q_ENUM_NS(Tab)
} // namespace MemberTabs
using MemberTab = MemberTabs::Tab;

// The pages the shell shows: the root pages of the tabs and the pages their stacks resolve routes to.
// The shell's page table gives each one its component.
namespace ShellPages {
Q_NAMESPACE
QML_NAMED_ELEMENT(ShellPage)
enum Page {
    NoPage,
    Dashboard,
    Workbench,
    Flights,
    Live,
    Map,
    Account,
    Event,
    PirepDetail,
    PirepForm,
    Legal,
    ProfileEdit,
    Profile,
    Leaderboard,
    Settings,
    Information,
    Logbook,
    Inbox,
    Notice,
    Review,
    Events,
    LiveAircraft,
    LiveReview
};
Q_ENUM_NS(Page)
} // namespace ShellPages
using ShellPage = ShellPages::Page;

// The stacks of pages, one per path: the home tab's (events, the inbox, the staff's reviews), the flights
// tab's, the logbook sheet's, the account tab's and the Live tab's (an aircraft, a reviewer's application).
namespace NavigationStacks {
Q_NAMESPACE
QML_NAMED_ELEMENT(NavigationStack)
enum Stack { NoStack, FlightStack, LogbookStack, HomeStack, AccountStack, LiveStack };
Q_ENUM_NS(Stack)
} // namespace NavigationStacks
using NavigationStack = NavigationStacks::Stack;

// Where a pushed page stands: its stack, the index of its route in that stack's path, and what it shows.
// A page keeps it for its life: a path that changes at or below that index takes the page away.
struct PageRoute
{
    Q_GADGET
    QML_VALUE_TYPE(pageRoute)
    Q_PROPERTY(NavigationStacks::Stack stack MEMBER stack)
    Q_PROPERTY(int index MEMBER index)
    Q_PROPERTY(ShellPages::Page page MEMBER page)

public:
    NavigationStack stack = NavigationStack::NoStack;
    int index = -1;
    ShellPage page = ShellPage::NoPage;
    bool operator==(const PageRoute &) const = default;
};

// What a pushed page shows. A page that shows nothing handed to it (the inbox, the profile form and page,
// the leaderboard, settings, information, the empty report form, the staff's events) is a PlainRoute of
// its page: a new one is its ShellPage value and its row in the shell's page table. A page that shows a
// record is one type here and its arm in pageOf(), which does not compile without it.
struct PlainRoute
{
    ShellPage page = ShellPage::NoPage;
    bool operator==(const PlainRoute &) const = default;
};
struct PirepRoute
{
    Pirep report;
    bool operator==(const PirepRoute &) const = default;
};
struct EventSubmissionRoute
{
    FlightEvent event;
    bool operator==(const EventSubmissionRoute &) const = default;
};
struct RecentFlightRoute
{
    RecentFlight flight;
    bool operator==(const RecentFlightRoute &) const = default;
};
struct EventRoute
{
    FlightEvent event;
    bool operator==(const EventRoute &) const = default;
};
// A notice that has no page of its own.
struct NoticeRoute
{
    Q_GADGET
    QML_VALUE_TYPE(noticeRoute)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString detail MEMBER detail)
    Q_PROPERTY(QString time MEMBER time)

public:
    QString title;
    QString detail;
    QString time;
    bool operator==(const NoticeRoute &) const = default;
};
enum class LegalDocument { Terms, Privacy };
QString raw(LegalDocument document);
struct LegalRoute
{
    LegalDocument document;
    bool operator==(const LegalRoute &) const = default;
};
// The staff's review of one report of their queue.
struct ReviewRoute
{
    Pirep report;
    // The queue it was opened from, which loads again before the review closes after a decision.
    QPointer<QObject> queue;
    bool operator==(const ReviewRoute &) const = default;
};
// A card of the Live page's boards, by its id, and the Live page's model it was opened from: the page above
// reads the card's record from it, and it loads again after an application is sent or a review saved.
struct LiveCardRoute
{
    Q_GADGET
    QML_VALUE_TYPE(liveCardRoute)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QObject *liveTab READ liveTabObject)

public:
    QString id;
    QPointer<QObject> liveTab;
    QObject *liveTabObject() const { return liveTab.data(); }
    bool operator==(const LiveCardRoute &) const = default;
};
// An aircraft of the fleet board.
struct LiveAircraftRoute : LiveCardRoute
{
    bool operator==(const LiveAircraftRoute &) const = default;
};
// An application of the board a reviewer reviews.
struct LiveReviewRoute : LiveCardRoute
{
    bool operator==(const LiveReviewRoute &) const = default;
};
using Destination = std::variant<PlainRoute, PirepRoute, EventSubmissionRoute, RecentFlightRoute, EventRoute,
                                 NoticeRoute, LegalRoute, ReviewRoute, LiveAircraftRoute, LiveReviewRoute>;
size_t qHash(const Destination &route, size_t seed = 0) noexcept;
// The page a route opens.
ShellPage pageOf(const Destination &route);

// Where the signed-in member is: the selected tab and the stack of pages of each path. Requests from any
// screen move them; one exists per set of member tabs.
class MemberNavigation : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(MemberTabs::Tab selected READ selected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(bool showingLogbook READ showingLogbook WRITE setShowingLogbook NOTIFY showingLogbookChanged)
    Q_PROPERTY(bool member READ member WRITE setMember NOTIFY memberChanged)
    Q_PROPERTY(ShellPages::Page rootPage READ rootPage NOTIFY pagesChanged)
    Q_PROPERTY(ShellPages::Page stackPage READ stackPage NOTIFY pagesChanged)
    Q_PROPERTY(int stackDepth READ stackDepth NOTIFY pagesChanged)
    // Whether the back keys have a page to take away in the selected tab: one is there, and it is not busy.
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY pagesChanged)

public:
    // Follows the process-wide own-flight request: one that stands now, or comes later, shows the map.
    explicit MemberNavigation(QObject *parent = nullptr);

    MemberTab selected() const { return m_selected; }
    void setSelected(MemberTab tab);
    bool showingLogbook() const { return m_showingLogbook; }
    void setShowingLogbook(bool showing);

    // The path of each stack: the flights tab's, the logbook's, the home tab's and the account tab's. A new
    // path that would take a busy page away leaves it as it is.
    const QList<Destination> &path(NavigationStack stack) const;
    void setPath(NavigationStack stack, QList<Destination> path);
    const QList<Destination> &flightPath() const { return path(NavigationStack::FlightStack); }
    const QList<Destination> &logbookPath() const { return path(NavigationStack::LogbookStack); }
    const QList<Destination> &eventPath() const { return path(NavigationStack::HomeStack); }
    const QList<Destination> &accountPath() const { return path(NavigationStack::AccountStack); }

    // Whether the signed-in user is a member: their home page is the dashboard, staff's the workbench.
    bool member() const { return m_member; }
    void setMember(bool member);
    // The stack of a tab's pages; the map tab has none.
    static NavigationStack stackOf(MemberTab tab);
    // A tab's root page: home is the dashboard for members and the workbench for staff.
    ShellPage rootPageOf(MemberTab tab) const;
    // The selected tab's root page, and the page on top of its stack (NoPage when the stack is empty).
    ShellPage rootPage() const { return rootPageOf(m_selected); }
    ShellPage stackPage() const;
    // How many pages the selected tab's stack holds.
    int stackDepth() const { return depth(stackOf(m_selected)); }

    bool canGoBack() const;

    // A page that works on what the member gave it (a report being sent, pictures being converted) says so
    // while it works: it keeps its place until it is done. Its way back, the back keys and requests that
    // would replace it leave its stack as it is, and the logbook sheet stays open over it.
    Q_INVOKABLE void setBusy(const PageRoute &route, bool busy);
    // Whether a busy page stands in a stack.
    bool held(NavigationStack stack) const { return !m_busy.value(stack).isEmpty(); }
    // While what a page works on is on its way to the service (a report, evidence pictures), and only then:
    // quitting would leave its outcome unseen. A page that only prepares it (converts pictures) is busy
    // alone.
    Q_INVOKABLE void setSending(const PageRoute &route, bool sending);
    // The pages of every stack whose work is on its way, in no order: none once all have their answer.
    QList<ShellPage> sendingPages() const;

    // How many routes a stack's path holds, and the page that the route at an index resolves to.
    int depth(NavigationStack stack) const { return int(path(stack).size()); }
    ShellPage pageAt(NavigationStack stack, int index) const;
    Q_INVOKABLE PageRoute routeAt(NavigationStacks::Stack stack, int index) const;
    // The route at a pushed page's place in its path, when it is still of that type; none when what stands
    // there now is another, or is gone. The shell replaces a page as soon as its route changes, so a page
    // reads its own.
    template <typename T>
    std::optional<T> routeOf(const PageRoute &route) const
    {
        if (route.page == ShellPage::NoPage || pageAt(route.stack, route.index) != route.page)
            return std::nullopt;
        const T *found = std::get_if<T>(&path(route.stack).at(route.index));
        return found ? std::optional<T>(*found) : std::nullopt;
    }
    // The same through a navigation that may be none (a page made before its shell).
    template <typename T>
    static std::optional<T> routeIn(const MemberNavigation *navigation, const PageRoute &route)
    {
        return navigation ? navigation->routeOf<T>(route) : std::nullopt;
    }

    // On top of a stack, and back one page.
    void push(NavigationStack stack, Destination route);
    Q_INVOKABLE void pop(NavigationStacks::Stack stack);
    // The page at a route leaves its stack (its way back); nothing for a page that no stack made.
    Q_INVOKABLE void leave(const PageRoute &route);
    // Back one page in the selected tab's stack (Escape, Alt+Left); nothing when it is empty.
    Q_INVOKABLE void back();
    // A page that shows nothing handed to it on top of a stack (a PlainRoute); false for a tab's root page
    // and for a page that shows a record.
    Q_INVOKABLE bool pushPage(NavigationStacks::Stack stack, ShellPages::Page page);
    // A legal text (0 terms, 1 privacy) on top of the account stack, and the document of a legal page's
    // route.
    Q_INVOKABLE void pushLegal(int document);
    Q_INVOKABLE int legalDocumentAt(const PageRoute &route) const;
    // The texts of a notice page's route.
    Q_INVOKABLE NoticeRoute noticeAt(const PageRoute &route) const
    {
        return routeOf<NoticeRoute>(route).value_or(NoticeRoute{});
    }
    // The staff's review of a report of their queue, on top of the home tab's stack.
    void openReview(const Pirep &report, QObject *queue = nullptr);
    // A card of the Live page (`liveTab`, its model) on top of the Live tab's stack: the aircraft of the
    // fleet with that id, the application with that id for its review. The card's route of a Live page.
    Q_INVOKABLE void openLiveAircraft(const QString &itemId, QObject *liveTab);
    Q_INVOKABLE void openLiveReview(const QString &applicationId, QObject *liveTab);
    Q_INVOKABLE LiveCardRoute liveCardAt(const PageRoute &route) const;
    // The flights tab's "+": an empty report form on top of the flights stack, a fresh one each time.
    Q_INVOKABLE void startPirep();

    // Requests: each replaces the whole path it sets.
    // The account button's "个人信息": the account tab with the member's profile page on it alone.
    Q_INVOKABLE void openProfile();
    void openPirep(const Pirep &report);
    void openPrefilledPirep(const RecentFlight &flight);
    Q_INVOKABLE void openSubmission();
    void openEvent(const FlightEvent &event);
    Q_INVOKABLE void openLogbook();
    void openEventSubmission(const FlightEvent &event);

Q_SIGNALS:
    void selectedChanged();
    void showingLogbookChanged();
    void memberChanged();
    void pagesChanged();
    // A path changed.
    void pathChanged(NavigationStacks::Stack stack);
    // A page of a stack became busy or sending, or done.
    void heldChanged(NavigationStacks::Stack stack);

private:
    MemberTab m_selected = MemberTab::Home;
    bool m_member = false;
    bool m_showingLogbook = false;
    QHash<NavigationStack, QList<Destination>> m_paths;
    using Places = QHash<NavigationStack, QSet<int>>;
    // Marks the page at a route in one of the sets below, or takes it out.
    void mark(Places &places, const PageRoute &route, bool on);
    // The places in each path of the pages that are busy, and of those whose work is on its way.
    Places m_busy;
    Places m_sending;
};

// The one process-wide request to show the member's own flight on the live map. A fresh id each time,
// so a second request is noticed even when the first was never taken up. main/ makes it and installs it
// (Installed.h); a test installs its own.
class FlightActivityNavigation : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString ownFlightRequest READ ownFlightRequest NOTIFY ownFlightRequestChanged)

public:
    // No default: QML would make an instance of its own with it instead of asking create().
    explicit FlightActivityNavigation(QObject *parent);
    // The installed instance.
    static FlightActivityNavigation &shared();
    static FlightActivityNavigation *create(QQmlEngine *, QJSEngine *);

    QString ownFlightRequest() const { return m_ownFlightRequest; }
    void requestOwnFlight();
    // The live map clears the request once it has acted on it.
    Q_INVOKABLE void clearOwnFlightRequest();

    // Raises the request for the "vorna://live-map/own-flight" link; false for any other address.
    bool open(const QUrl &url);

Q_SIGNALS:
    void ownFlightRequestChanged();

private:
    QString m_ownFlightRequest;
};

namespace FlightActivityLink {
// Scheme "vorna" and host "live-map" in any case, the path exactly "/own-flight"; the rest is not read.
bool isOwnFlight(const QUrl &url);
} // namespace FlightActivityLink
