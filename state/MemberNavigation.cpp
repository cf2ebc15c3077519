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
            else
                return qHash(value.flight, seed);
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

ShellPage MemberNavigation::rootPage() const
{
    switch (m_selected) {
    case MemberTab::Flights:
        return ShellPage::Flights;
    case MemberTab::Live:
        return ShellPage::Live;
    case MemberTab::Map:
        return ShellPage::Map;
    case MemberTab::Account:
        return ShellPage::Account;
    case MemberTab::Home:
    case MemberTab::Logbook:
    case MemberTab::Events:
    case MemberTab::Leaderboard:
        break;
    }
    return m_member ? ShellPage::Dashboard : ShellPage::Workbench;
}

int MemberNavigation::stackDepth() const
{
    switch (m_selected) {
    case MemberTab::Flights:
        return flightDepth();
    case MemberTab::Account:
        return accountDepth();
    case MemberTab::Live:
    case MemberTab::Map:
        return 0;
    case MemberTab::Home:
    case MemberTab::Logbook:
    case MemberTab::Events:
    case MemberTab::Leaderboard:
        break;
    }
    // The tabs shown with the home page open events above it.
    return eventDepth();
}

ShellPage MemberNavigation::stackPage() const
{
    if (stackDepth() == 0)
        return ShellPage::NoPage;
    switch (m_selected) {
    case MemberTab::Flights:
        return ShellPage::FlightRoute;
    case MemberTab::Account:
        return std::holds_alternative<LeaderboardRoute>(m_accountPath.last()) ? ShellPage::Leaderboard
                                                                              : ShellPage::AccountRoute;
    default:
        return ShellPage::Event;
    }
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

void MemberNavigation::pushLeaderboard()
{
    m_accountPath.append(LeaderboardRoute{});
    Q_EMIT accountPathChanged();
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
