#pragma once

#include "AccountRecords.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"

#include <QObject>
#include <QQmlEngine>
#include <QUrl>

#include <optional>
#include <variant>

// The member tabs, in order.
namespace MemberTabs {
Q_NAMESPACE
QML_NAMED_ELEMENT(MemberTab)
enum Tab { Home, Flights, Live, Logbook, Events, Leaderboard, Map, Account };
Q_ENUM_NS(Tab)
} // namespace MemberTabs
using MemberTab = MemberTabs::Tab;

// The page inside the flights tab, and the page inside the account tab.
namespace NavigationPages {
Q_NAMESPACE
QML_NAMED_ELEMENT(NavigationPage)
enum FlightPage { Upload, Log };
Q_ENUM_NS(FlightPage)
enum AccountPage { Profile, Settings, Leaderboard, About };
Q_ENUM_NS(AccountPage)
} // namespace NavigationPages
using FlightPage = NavigationPages::FlightPage;
using AccountPage = NavigationPages::AccountPage;

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
    ReportDetail,
    ReportForm,
    Legal,
    ProfileEdit,
    Profile,
    Leaderboard,
    Settings,
    Information,
    Logbook
};
Q_ENUM_NS(Page)
} // namespace ShellPages
using ShellPage = ShellPages::Page;

// The stacks of pages, one per path.
namespace NavigationStacks {
Q_NAMESPACE
QML_NAMED_ELEMENT(NavigationStack)
enum Stack { NoStack, FlightStack, LogbookStack, EventStack, AccountStack };
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

// A page of the flights stack and of the logbook stack.
struct ReportRoute
{
    Pirep report;
    bool operator==(const ReportRoute &) const = default;
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
// The empty report form of the flights tab's "+".
struct NewReportRoute
{
    bool operator==(const NewReportRoute &) const = default;
};
using FlightRoute = std::variant<ReportRoute, EventSubmissionRoute, RecentFlightRoute, NewReportRoute>;
size_t qHash(const FlightRoute &route, size_t seed = 0) noexcept;

enum class LegalDocument { Terms, Privacy };
QString raw(LegalDocument document);

// A page of the account stack.
struct LegalRoute
{
    LegalDocument document;
    bool operator==(const LegalRoute &) const = default;
};
struct EditProfileRoute
{
    bool operator==(const EditProfileRoute &) const = default;
};
struct ProfileRoute
{
    bool operator==(const ProfileRoute &) const = default;
};
// The leaderboard, pushed by the account tab's own row.
struct LeaderboardRoute
{
    bool operator==(const LeaderboardRoute &) const = default;
};
// The settings and the application information, pushed by the account tab's rows.
struct SettingsRoute
{
    bool operator==(const SettingsRoute &) const = default;
};
struct InformationRoute
{
    bool operator==(const InformationRoute &) const = default;
};
using AccountRoute = std::variant<LegalRoute, EditProfileRoute, ProfileRoute, LeaderboardRoute, SettingsRoute,
                                  InformationRoute>;
size_t qHash(const AccountRoute &route, size_t seed = 0) noexcept;

// Where the signed-in member is: the selected tab, the stacks of pages and the pages chosen inside the
// flights and account tabs. Requests from any screen move him; one exists per set of member tabs.
class MemberNavigation : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(MemberTabs::Tab selected READ selected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(bool showingLogbook READ showingLogbook WRITE setShowingLogbook NOTIFY showingLogbookChanged)
    Q_PROPERTY(
        NavigationPages::FlightPage flightPage READ flightPage WRITE setFlightPage NOTIFY flightPageChanged)
    Q_PROPERTY(NavigationPages::AccountPage accountPage READ accountPage WRITE setAccountPage NOTIFY
                   accountPageChanged)
    Q_PROPERTY(int flightDepth READ flightDepth NOTIFY flightPathChanged)
    Q_PROPERTY(int logbookDepth READ logbookDepth NOTIFY logbookPathChanged)
    Q_PROPERTY(int eventDepth READ eventDepth NOTIFY eventPathChanged)
    Q_PROPERTY(int accountDepth READ accountDepth NOTIFY accountPathChanged)
    Q_PROPERTY(bool member READ member WRITE setMember NOTIFY memberChanged)
    Q_PROPERTY(MemberTabs::Tab place READ place NOTIFY selectedChanged)
    Q_PROPERTY(ShellPages::Page rootPage READ rootPage NOTIFY pagesChanged)
    Q_PROPERTY(ShellPages::Page stackPage READ stackPage NOTIFY pagesChanged)
    Q_PROPERTY(int stackDepth READ stackDepth NOTIFY pagesChanged)

public:
    // Follows the process-wide own-flight request: one that stands now, or comes later, shows the map.
    explicit MemberNavigation(QObject *parent = nullptr);

    MemberTab selected() const { return m_selected; }
    void setSelected(MemberTab tab);
    bool showingLogbook() const { return m_showingLogbook; }
    void setShowingLogbook(bool showing);
    FlightPage flightPage() const { return m_flightPage; }
    void setFlightPage(FlightPage page);
    AccountPage accountPage() const { return m_accountPage; }
    void setAccountPage(AccountPage page);

    const QList<FlightRoute> &flightPath() const { return m_flightPath; }
    const QList<FlightRoute> &logbookPath() const { return m_logbookPath; }
    const QList<FlightEvent> &eventPath() const { return m_eventPath; }
    const QList<AccountRoute> &accountPath() const { return m_accountPath; }
    void setFlightPath(QList<FlightRoute> path);
    void setLogbookPath(QList<FlightRoute> path);
    void setEventPath(QList<FlightEvent> path);
    void setAccountPath(QList<AccountRoute> path);
    int flightDepth() const { return int(m_flightPath.size()); }
    int logbookDepth() const { return int(m_logbookPath.size()); }
    int eventDepth() const { return int(m_eventPath.size()); }
    int accountDepth() const { return int(m_accountPath.size()); }

    // Whether the signed-in user is a member: his home page is the dashboard, staff's the workbench.
    bool member() const { return m_member; }
    void setMember(bool member);
    // The tab whose pages show for a tab: the tabs without pages of their own show the home tab's.
    static MemberTab placeOf(MemberTab tab);
    MemberTab place() const { return placeOf(m_selected); }
    // The stack of a tab's pages; the live and map tabs have none.
    static NavigationStack stackOf(MemberTab tab);
    // A tab's root page: home is the dashboard for members and the workbench for staff.
    ShellPage rootPageOf(MemberTab tab) const;
    // The selected tab's root page, and the page on top of its stack (NoPage when the stack is empty).
    ShellPage rootPage() const { return rootPageOf(m_selected); }
    ShellPage stackPage() const;
    // How many pages the selected tab's stack holds.
    int stackDepth() const { return depth(stackOf(m_selected)); }

    // How many routes a stack's path holds, and the page that the route at an index resolves to.
    int depth(NavigationStack stack) const;
    ShellPage pageAt(NavigationStack stack, int index) const;
    PageRoute routeAt(NavigationStack stack, int index) const;
    // The route at a pushed page's place in its path; none when what stands there now resolves to another
    // page, or is gone. The shell replaces a page as soon as its route changes, so a page reads its own.
    std::optional<FlightRoute> flightRouteAt(const PageRoute &route) const;
    std::optional<FlightEvent> eventAt(const PageRoute &route) const;
    std::optional<AccountRoute> accountRouteAt(const PageRoute &route) const;

    // Back one page in a stack (the stacks' back buttons).
    Q_INVOKABLE void popFlight();
    Q_INVOKABLE void popLogbook();
    Q_INVOKABLE void popEvent();
    Q_INVOKABLE void popAccount();
    Q_INVOKABLE void pop(NavigationStacks::Stack stack);
    // Back one page in the selected tab's stack (Escape, Alt+Left); nothing when it is empty.
    Q_INVOKABLE void back();
    // The account tab's leaderboard row: the leaderboard on top of the account stack.
    Q_INVOKABLE void pushLeaderboard();
    // The account stack's pages: the member's account page, the profile form, a legal text (0 terms,
    // 1 privacy).
    Q_INVOKABLE void pushProfile();
    Q_INVOKABLE void pushEditProfile();
    Q_INVOKABLE void pushLegal(int document);
    Q_INVOKABLE void pushSettings();
    Q_INVOKABLE void pushInformation();
    // The document of a legal page's route: 0 terms, 1 privacy; 0 for any other route.
    Q_INVOKABLE int legalDocumentAt(const PageRoute &route) const;
    // The account button's "个人信息": the account tab with the member's account page on it alone.
    Q_INVOKABLE void openProfile();
    // The dashboard's "完善资料": the account tab with the profile form on it alone.
    Q_INVOKABLE void openEditProfile();
    // The flights tab's "+": an empty report form on top of the flights stack, a fresh one each time.
    Q_INVOKABLE void startReport();
    // A report's detail on top of the flights or the logbook stack, from a row of its list.
    void pushReport(NavigationStack stack, const Pirep &report);

    // Requests: each replaces the whole path it sets.
    void openReport(const Pirep &report);
    void openPrefilledReport(const RecentFlight &flight);
    Q_INVOKABLE void openSubmission();
    void openEvent(const FlightEvent &event);
    Q_INVOKABLE void openLogbook();
    void openEventSubmission(const FlightEvent &event);

Q_SIGNALS:
    void selectedChanged();
    void showingLogbookChanged();
    void flightPageChanged();
    void accountPageChanged();
    void flightPathChanged();
    void logbookPathChanged();
    void eventPathChanged();
    void accountPathChanged();
    void memberChanged();
    void pagesChanged();
    // Any path changed; the signal of that path comes with it.
    void pathChanged(NavigationStacks::Stack stack);

private:
    MemberTab m_selected = MemberTab::Home;
    bool m_member = false;
    QList<FlightRoute> m_flightPath;
    bool m_showingLogbook = false;
    QList<FlightRoute> m_logbookPath;
    QList<FlightEvent> m_eventPath;
    QList<AccountRoute> m_accountPath;
    FlightPage m_flightPage = FlightPage::Upload;
    AccountPage m_accountPage = AccountPage::Settings;
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
