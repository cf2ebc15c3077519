#include "MemberNavigation.h"

#include "Installed.h"

#include <QUuid>

size_t qHash(const FlightRoute &route, size_t seed) noexcept
{
    seed = qHashMulti(seed, route.index());
    return std::visit(
        [seed](const auto &value) -> size_t {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, ReportRoute>)
                return qHash(value.report, seed);
            else if constexpr (std::is_same_v<T, EventSubmissionRoute>)
                return qHash(value.event, seed);
            else if constexpr (std::is_same_v<T, RecentFlightRoute>)
                return qHash(value.flight, seed);
            else
                return seed;
        },
        route);
}

QString raw(LegalDocument document)
{
    return document == LegalDocument::Terms ? QStringLiteral("terms") : QStringLiteral("privacy");
}

size_t qHash(const AccountRoute &route, size_t seed) noexcept
{
    seed = qHashMulti(seed, route.index());
    if (const auto *legal = std::get_if<LegalRoute>(&route))
        seed = qHashMulti(seed, raw(legal->document));
    return seed;
}

MemberNavigation::MemberNavigation(QObject *parent)
    : QObject(parent)
{
    for (const auto changed : {&MemberNavigation::selectedChanged, &MemberNavigation::memberChanged,
                               &MemberNavigation::flightPathChanged, &MemberNavigation::eventPathChanged,
                               &MemberNavigation::accountPathChanged})
        connect(this, changed, this, &MemberNavigation::pagesChanged);
    connect(this, &MemberNavigation::flightPathChanged, this,
            [this] { Q_EMIT pathChanged(NavigationStack::FlightStack); });
    connect(this, &MemberNavigation::logbookPathChanged, this,
            [this] { Q_EMIT pathChanged(NavigationStack::LogbookStack); });
    connect(this, &MemberNavigation::eventPathChanged, this,
            [this] { Q_EMIT pathChanged(NavigationStack::EventStack); });
    connect(this, &MemberNavigation::accountPathChanged, this,
            [this] { Q_EMIT pathChanged(NavigationStack::AccountStack); });

    FlightActivityNavigation &ownFlight = FlightActivityNavigation::shared();
    const auto follow = [this, &ownFlight] {
        if (!ownFlight.ownFlightRequest().isEmpty())
            setSelected(MemberTab::Map);
    };
    connect(&ownFlight, &FlightActivityNavigation::ownFlightRequestChanged, this, follow);
    follow();
}

void MemberNavigation::setMember(bool member)
{
    if (m_member == member)
        return;
    m_member = member;
    Q_EMIT memberChanged();
}

MemberTab MemberNavigation::placeOf(MemberTab tab)
{
    switch (tab) {
    case MemberTab::Flights:
    case MemberTab::Live:
    case MemberTab::Map:
    case MemberTab::Account:
        return tab;
    case MemberTab::Home:
    case MemberTab::Logbook:
    case MemberTab::Events:
    case MemberTab::Leaderboard:
        break;
    }
    return MemberTab::Home;
}

NavigationStack MemberNavigation::stackOf(MemberTab tab)
{
    switch (placeOf(tab)) {
    case MemberTab::Flights:
        return NavigationStack::FlightStack;
    case MemberTab::Account:
        return NavigationStack::AccountStack;
    case MemberTab::Live:
    case MemberTab::Map:
        return NavigationStack::NoStack;
    default:
        // The home page opens events above it.
        return NavigationStack::EventStack;
    }
}

ShellPage MemberNavigation::rootPageOf(MemberTab tab) const
{
    switch (placeOf(tab)) {
    case MemberTab::Flights:
        return ShellPage::Flights;
    case MemberTab::Live:
        return ShellPage::Live;
    case MemberTab::Map:
        return ShellPage::Map;
    case MemberTab::Account:
        return ShellPage::Account;
    default:
        return m_member ? ShellPage::Dashboard : ShellPage::Workbench;
    }
}

ShellPage MemberNavigation::stackPage() const
{
    const NavigationStack stack = stackOf(m_selected);
    return pageAt(stack, depth(stack) - 1);
}

int MemberNavigation::depth(NavigationStack stack) const
{
    switch (stack) {
    case NavigationStack::FlightStack:
        return flightDepth();
    case NavigationStack::LogbookStack:
        return logbookDepth();
    case NavigationStack::EventStack:
        return eventDepth();
    case NavigationStack::AccountStack:
        return accountDepth();
    case NavigationStack::NoStack:
        break;
    }
    return 0;
}

namespace {

ShellPage pageOf(const FlightRoute &route)
{
    // A report opens its detail; an event and a recent flight open the form filled from them, "+" an
    // empty one.
    return std::holds_alternative<ReportRoute>(route) ? ShellPage::ReportDetail : ShellPage::ReportForm;
}

ShellPage pageOf(const AccountRoute &route)
{
    return std::visit(
        [](const auto &value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, LegalRoute>)
                return ShellPage::Legal;
            else if constexpr (std::is_same_v<T, EditProfileRoute>)
                return ShellPage::ProfileEdit;
            else if constexpr (std::is_same_v<T, ProfileRoute>)
                return ShellPage::Profile;
            else if constexpr (std::is_same_v<T, SettingsRoute>)
                return ShellPage::Settings;
            else if constexpr (std::is_same_v<T, InformationRoute>)
                return ShellPage::Information;
            else
                return ShellPage::Leaderboard;
        },
        route);
}

} // namespace

ShellPage MemberNavigation::pageAt(NavigationStack stack, int index) const
{
    if (index < 0 || index >= depth(stack))
        return ShellPage::NoPage;
    switch (stack) {
    case NavigationStack::FlightStack:
        return pageOf(m_flightPath.at(index));
    case NavigationStack::LogbookStack:
        return pageOf(m_logbookPath.at(index));
    case NavigationStack::EventStack:
        return ShellPage::Event;
    case NavigationStack::AccountStack:
        return pageOf(m_accountPath.at(index));
    case NavigationStack::NoStack:
        break;
    }
    return ShellPage::NoPage;
}

PageRoute MemberNavigation::routeAt(NavigationStack stack, int index) const
{
    const ShellPage page = pageAt(stack, index);
    return page == ShellPage::NoPage ? PageRoute{} : PageRoute{stack, index, page};
}

// A page asks with what it was pushed with: the route at that index must still resolve to its page.
std::optional<FlightRoute> MemberNavigation::flightRouteAt(const PageRoute &route) const
{
    if (route.stack != NavigationStack::FlightStack && route.stack != NavigationStack::LogbookStack)
        return std::nullopt;
    if (pageAt(route.stack, route.index) != route.page)
        return std::nullopt;
    return (route.stack == NavigationStack::FlightStack ? m_flightPath : m_logbookPath).at(route.index);
}

std::optional<FlightEvent> MemberNavigation::eventAt(const PageRoute &route) const
{
    if (route.stack != NavigationStack::EventStack || pageAt(route.stack, route.index) != route.page)
        return std::nullopt;
    return m_eventPath.at(route.index);
}

std::optional<AccountRoute> MemberNavigation::accountRouteAt(const PageRoute &route) const
{
    if (route.stack != NavigationStack::AccountStack || pageAt(route.stack, route.index) != route.page)
        return std::nullopt;
    return m_accountPath.at(route.index);
}

void MemberNavigation::setSelected(MemberTab tab)
{
    if (m_selected == tab)
        return;
    m_selected = tab;
    Q_EMIT selectedChanged();
}

void MemberNavigation::setShowingLogbook(bool showing)
{
    if (m_showingLogbook == showing)
        return;
    m_showingLogbook = showing;
    Q_EMIT showingLogbookChanged();
}

void MemberNavigation::setFlightPage(FlightPage page)
{
    if (m_flightPage == page)
        return;
    m_flightPage = page;
    Q_EMIT flightPageChanged();
}

void MemberNavigation::setAccountPage(AccountPage page)
{
    if (m_accountPage == page)
        return;
    m_accountPage = page;
    Q_EMIT accountPageChanged();
}

void MemberNavigation::setFlightPath(QList<FlightRoute> path)
{
    m_flightPath = std::move(path);
    Q_EMIT flightPathChanged();
}

void MemberNavigation::setLogbookPath(QList<FlightRoute> path)
{
    m_logbookPath = std::move(path);
    Q_EMIT logbookPathChanged();
}

void MemberNavigation::setEventPath(QList<FlightEvent> path)
{
    m_eventPath = std::move(path);
    Q_EMIT eventPathChanged();
}

void MemberNavigation::setAccountPath(QList<AccountRoute> path)
{
    m_accountPath = std::move(path);
    Q_EMIT accountPathChanged();
}

void MemberNavigation::popFlight()
{
    if (!m_flightPath.isEmpty()) {
        m_flightPath.removeLast();
        Q_EMIT flightPathChanged();
    }
}

void MemberNavigation::popLogbook()
{
    if (!m_logbookPath.isEmpty()) {
        m_logbookPath.removeLast();
        Q_EMIT logbookPathChanged();
    }
}

void MemberNavigation::popEvent()
{
    if (!m_eventPath.isEmpty()) {
        m_eventPath.removeLast();
        Q_EMIT eventPathChanged();
    }
}

void MemberNavigation::popAccount()
{
    if (!m_accountPath.isEmpty()) {
        m_accountPath.removeLast();
        Q_EMIT accountPathChanged();
    }
}

void MemberNavigation::pop(NavigationStack stack)
{
    switch (stack) {
    case NavigationStack::FlightStack:
        return popFlight();
    case NavigationStack::LogbookStack:
        return popLogbook();
    case NavigationStack::EventStack:
        return popEvent();
    case NavigationStack::AccountStack:
        return popAccount();
    case NavigationStack::NoStack:
        break;
    }
}

void MemberNavigation::back() { pop(stackOf(m_selected)); }

void MemberNavigation::startReport()
{
    // A second press before the form shows opens no second form.
    if (!m_flightPath.isEmpty() && std::holds_alternative<NewReportRoute>(m_flightPath.last()))
        return;
    m_flightPath.append(NewReportRoute{});
    Q_EMIT flightPathChanged();
}

void MemberNavigation::pushReport(NavigationStack stack, const Pirep &report)
{
    if (stack == NavigationStack::FlightStack) {
        m_flightPath.append(ReportRoute{report});
        Q_EMIT flightPathChanged();
    } else if (stack == NavigationStack::LogbookStack) {
        m_logbookPath.append(ReportRoute{report});
        Q_EMIT logbookPathChanged();
    }
}

void MemberNavigation::pushLeaderboard()
{
    m_accountPath.append(LeaderboardRoute{});
    Q_EMIT accountPathChanged();
}

void MemberNavigation::pushProfile()
{
    m_accountPath.append(ProfileRoute{});
    Q_EMIT accountPathChanged();
}

void MemberNavigation::pushEditProfile()
{
    m_accountPath.append(EditProfileRoute{});
    Q_EMIT accountPathChanged();
}

void MemberNavigation::pushLegal(int document)
{
    m_accountPath.append(LegalRoute{document == 1 ? LegalDocument::Privacy : LegalDocument::Terms});
    Q_EMIT accountPathChanged();
}

void MemberNavigation::pushSettings()
{
    m_accountPath.append(SettingsRoute{});
    Q_EMIT accountPathChanged();
}

void MemberNavigation::pushInformation()
{
    m_accountPath.append(InformationRoute{});
    Q_EMIT accountPathChanged();
}

int MemberNavigation::legalDocumentAt(const PageRoute &route) const
{
    const std::optional<AccountRoute> account = accountRouteAt(route);
    const auto *legal = account ? std::get_if<LegalRoute>(&*account) : nullptr;
    return legal && legal->document == LegalDocument::Privacy ? 1 : 0;
}

void MemberNavigation::openProfile()
{
    setAccountPath({ProfileRoute{}});
    setSelected(MemberTab::Account);
}

void MemberNavigation::openEditProfile()
{
    setAccountPath({EditProfileRoute{}});
    setSelected(MemberTab::Account);
}

void MemberNavigation::openReport(const Pirep &report)
{
    setLogbookPath({ReportRoute{report}});
    setSelected(MemberTab::Account);
    setShowingLogbook(true);
}

void MemberNavigation::openPrefilledReport(const RecentFlight &flight)
{
    setFlightPage(FlightPage::Upload);
    setFlightPath({RecentFlightRoute{flight}});
    setSelected(MemberTab::Flights);
}

void MemberNavigation::openSubmission()
{
    setFlightPage(FlightPage::Upload);
    setFlightPath({});
    setSelected(MemberTab::Flights);
}

void MemberNavigation::openEvent(const FlightEvent &event)
{
    setEventPath({event});
    setSelected(MemberTab::Home);
}

void MemberNavigation::openLogbook()
{
    setLogbookPath({});
    setSelected(MemberTab::Account);
    setShowingLogbook(true);
}

void MemberNavigation::openEventSubmission(const FlightEvent &event)
{
    setFlightPage(FlightPage::Upload);
    setFlightPath({EventSubmissionRoute{event}});
    setSelected(MemberTab::Flights);
}

FlightActivityNavigation::FlightActivityNavigation(QObject *parent)
    : QObject(parent)
{
}

FlightActivityNavigation &FlightActivityNavigation::shared()
{
    return Installed<FlightActivityNavigation>::current();
}

FlightActivityNavigation *FlightActivityNavigation::create(QQmlEngine *, QJSEngine *)
{
    // The engine must not take the installed instance as its own.
    QJSEngine::setObjectOwnership(&shared(), QJSEngine::CppOwnership);
    return &shared();
}

void FlightActivityNavigation::requestOwnFlight()
{
    m_ownFlightRequest = QUuid::createUuid().toString(QUuid::WithoutBraces);
    Q_EMIT ownFlightRequestChanged();
}

void FlightActivityNavigation::clearOwnFlightRequest()
{
    if (m_ownFlightRequest.isEmpty())
        return;
    m_ownFlightRequest.clear();
    Q_EMIT ownFlightRequestChanged();
}

bool FlightActivityNavigation::open(const QUrl &url)
{
    if (!FlightActivityLink::isOwnFlight(url))
        return false;
    requestOwnFlight();
    return true;
}

bool FlightActivityLink::isOwnFlight(const QUrl &url)
{
    return url.scheme().compare(QLatin1String("vorna"), Qt::CaseInsensitive) == 0
           && url.host().compare(QLatin1String("live-map"), Qt::CaseInsensitive) == 0
           && url.path() == QLatin1String("/own-flight");
}
