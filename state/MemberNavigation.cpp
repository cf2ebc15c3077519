#include "MemberNavigation.h"

#include "Installed.h"
#include "StateLog.h"

#include <QUuid>

#include <algorithm>

namespace {

// One handler per alternative of a variant, as the overload set std::visit picks from.
template <typename... Handlers>
struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};
// Clang 14 deduces no aggregate with bases from its initialiser without this guide.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

} // namespace

QString raw(LegalDocument document)
{
    return document == LegalDocument::Terms ? QStringLiteral("terms") : QStringLiteral("privacy");
}

ShellPage pageOf(const Destination &route)
{
    // No default: a route type without its page here does not compile.
    return std::visit(Overloaded{[](const PlainRoute &plain) { return plain.page; },
                                 [](const PirepRoute &) { return ShellPage::PirepDetail; },
                                 [](const EventSubmissionRoute &) { return ShellPage::PirepForm; },
                                 [](const RecentFlightRoute &) { return ShellPage::PirepForm; },
                                 [](const EventRoute &) { return ShellPage::Event; },
                                 [](const NoticeRoute &) { return ShellPage::Notice; },
                                 [](const LegalRoute &) { return ShellPage::Legal; },
                                 [](const ReviewRoute &) { return ShellPage::Review; },
                                 [](const LiveAircraftRoute &) { return ShellPage::LiveAircraft; },
                                 [](const LiveReviewRoute &) { return ShellPage::LiveReview; }},
                      route);
}

size_t qHash(const Destination &route, size_t seed) noexcept
{
    seed = qHashMulti(seed, route.index());
    return std::visit(
        Overloaded{
            [seed](const PlainRoute &value) { return qHashMulti(seed, int(value.page)); },
            [seed](const PirepRoute &value) { return qHash(value.report, seed); },
            [seed](const EventSubmissionRoute &value) { return qHash(value.event, seed); },
            [seed](const RecentFlightRoute &value) { return qHash(value.flight, seed); },
            [seed](const EventRoute &value) { return qHash(value.event, seed); },
            [seed](const NoticeRoute &value) {
                return qHashMulti(seed, value.title, value.detail, value.time);
            },
            [seed](const LegalRoute &value) { return qHashMulti(seed, raw(value.document)); },
            [seed](const ReviewRoute &value) { return qHash(value.report, seed); },
            [seed](const LiveCardRoute &value) { return qHashMulti(seed, value.id, value.liveTab.data()); }},
        route);
}

MemberNavigation::MemberNavigation(QObject *parent)
    : QObject(parent)
{
    for (const auto changed : {&MemberNavigation::selectedChanged, &MemberNavigation::memberChanged})
        connect(this, changed, this, &MemberNavigation::pagesChanged);
    const auto followStack = [this](NavigationStack stack) {
        if (stack != NavigationStack::LogbookStack)
            Q_EMIT pagesChanged();
    };
    connect(this, &MemberNavigation::pathChanged, this, followStack);
    connect(this, &MemberNavigation::heldChanged, this, followStack);

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

// No default in the switches over tabs and pages: a new value without its arm here does not compile.
NavigationStack MemberNavigation::stackOf(MemberTab tab)
{
    switch (tab) {
    case MemberTab::Home:
        // The home page opens events, the inbox and the staff's reviews above it.
        return NavigationStack::HomeStack;
    case MemberTab::Flights:
        return NavigationStack::FlightStack;
    case MemberTab::Live:
        return NavigationStack::LiveStack;
    case MemberTab::Map:
        return NavigationStack::NoStack;
    case MemberTab::Account:
        return NavigationStack::AccountStack;
    }
    Q_UNREACHABLE();
}

ShellPage MemberNavigation::rootPageOf(MemberTab tab) const
{
    switch (tab) {
    case MemberTab::Home:
        return m_member ? ShellPage::Dashboard : ShellPage::Workbench;
    case MemberTab::Flights:
        return ShellPage::Flights;
    case MemberTab::Live:
        return ShellPage::Live;
    case MemberTab::Map:
        return ShellPage::Map;
    case MemberTab::Account:
        return ShellPage::Account;
    }
    Q_UNREACHABLE();
}

ShellPage MemberNavigation::stackPage() const
{
    const NavigationStack stack = stackOf(m_selected);
    return pageAt(stack, depth(stack) - 1);
}

const QList<Destination> &MemberNavigation::path(NavigationStack stack) const
{
    static const QList<Destination> none;
    const auto found = m_paths.constFind(stack);
    return found == m_paths.cend() ? none : *found;
}

void MemberNavigation::setPath(NavigationStack stack, QList<Destination> path)
{
    if (stack == NavigationStack::NoStack)
        return;
    // A busy page stays, and every page below it: the routes up to the highest busy one must stand as they
    // are.
    const QSet<int> busy = m_busy.value(stack);
    if (!busy.isEmpty()) {
        const QList<Destination> &now = this->path(stack);
        const int highest = *std::max_element(busy.cbegin(), busy.cend());
        if (path.size() <= highest || !std::equal(now.cbegin(), now.cbegin() + highest + 1, path.cbegin())) {
            qCInfo(lcState, "a busy page keeps its place: the new path is dropped");
            return;
        }
    }
    m_paths.insert(stack, std::move(path));
    Q_EMIT pathChanged(stack);
}

ShellPage MemberNavigation::pageAt(NavigationStack stack, int index) const
{
    const QList<Destination> &routes = path(stack);
    return index < 0 || index >= routes.size() ? ShellPage::NoPage : pageOf(routes.at(index));
}

PageRoute MemberNavigation::routeAt(NavigationStack stack, int index) const
{
    const ShellPage page = pageAt(stack, index);
    return page == ShellPage::NoPage ? PageRoute{} : PageRoute{stack, index, page};
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
    // A busy page of the logbook keeps the sheet open.
    if (m_showingLogbook == showing || (!showing && held(NavigationStack::LogbookStack)))
        return;
    m_showingLogbook = showing;
    Q_EMIT showingLogbookChanged();
}

void MemberNavigation::push(NavigationStack stack, Destination route)
{
    if (stack == NavigationStack::NoStack)
        return;
    m_paths[stack].append(std::move(route));
    Q_EMIT pathChanged(stack);
}

void MemberNavigation::pop(NavigationStack stack)
{
    const auto found = m_paths.find(stack);
    if (found == m_paths.end() || found->isEmpty() || m_busy.value(stack).contains(int(found->size()) - 1))
        return;
    found->removeLast();
    Q_EMIT pathChanged(stack);
}

bool MemberNavigation::canGoBack() const
{
    const NavigationStack stack = stackOf(m_selected);
    const int top = depth(stack) - 1;
    return top >= 0 && !m_busy.value(stack).contains(top);
}

void MemberNavigation::mark(Places &places, const PageRoute &route, bool on)
{
    // Only a page that still stands where it was pushed.
    if (on && pageAt(route.stack, route.index) != route.page)
        return;
    QSet<int> &marked = places[route.stack];
    const bool changed = on ? !marked.contains(route.index) : marked.remove(route.index);
    if (on)
        marked.insert(route.index);
    if (marked.isEmpty())
        places.remove(route.stack);
    if (changed)
        Q_EMIT heldChanged(route.stack);
}

void MemberNavigation::setBusy(const PageRoute &route, bool busy) { mark(m_busy, route, busy); }

void MemberNavigation::setSending(const PageRoute &route, bool sending) { mark(m_sending, route, sending); }

QList<ShellPage> MemberNavigation::sendingPages() const
{
    QList<ShellPage> pages;
    for (auto stack = m_sending.cbegin(); stack != m_sending.cend(); ++stack) {
        for (const int index : stack.value())
            pages.append(pageAt(stack.key(), index));
    }
    return pages;
}

void MemberNavigation::back() { pop(stackOf(m_selected)); }

void MemberNavigation::leave(const PageRoute &route)
{
    if (route.page != ShellPage::NoPage)
        pop(route.stack);
}

bool MemberNavigation::pushPage(NavigationStack stack, ShellPage page)
{
    switch (page) {
    // The tabs' own pages, which stand under the stacks.
    case ShellPage::NoPage:
    case ShellPage::Dashboard:
    case ShellPage::Workbench:
    case ShellPage::Flights:
    case ShellPage::Live:
    case ShellPage::Map:
    case ShellPage::Account:
    case ShellPage::Logbook:
    // Pages that show a record handed to them.
    case ShellPage::Event:
    case ShellPage::PirepDetail:
    case ShellPage::Legal:
    case ShellPage::Notice:
    case ShellPage::Review:
    case ShellPage::LiveAircraft:
    case ShellPage::LiveReview:
        return false;
    // Pages that show nothing handed to them; the report form shows a record when it has one and is empty
    // without.
    case ShellPage::PirepForm:
    case ShellPage::ProfileEdit:
    case ShellPage::Profile:
    case ShellPage::Leaderboard:
    case ShellPage::Settings:
    case ShellPage::Information:
    case ShellPage::Inbox:
    case ShellPage::Events:
        break;
    }
    push(stack, PlainRoute{page});
    return true;
}

void MemberNavigation::pushLegal(int document)
{
    push(NavigationStack::AccountStack,
         LegalRoute{document == 1 ? LegalDocument::Privacy : LegalDocument::Terms});
}

int MemberNavigation::legalDocumentAt(const PageRoute &route) const
{
    const std::optional<LegalRoute> legal = routeOf<LegalRoute>(route);
    return legal && legal->document == LegalDocument::Privacy ? 1 : 0;
}

void MemberNavigation::startPirep()
{
    // A second press before the form shows opens no second form.
    const QList<Destination> &flights = flightPath();
    const PlainRoute form{ShellPage::PirepForm};
    if (!flights.isEmpty() && flights.last() == Destination(form))
        return;
    push(NavigationStack::FlightStack, form);
}

void MemberNavigation::openReview(const Pirep &report, QObject *queue)
{
    push(NavigationStack::HomeStack, ReviewRoute{report, queue});
}

void MemberNavigation::openLiveAircraft(const QString &itemId, QObject *liveTab)
{
    push(NavigationStack::LiveStack, LiveAircraftRoute{{itemId, liveTab}});
}

void MemberNavigation::openLiveReview(const QString &applicationId, QObject *liveTab)
{
    push(NavigationStack::LiveStack, LiveReviewRoute{{applicationId, liveTab}});
}

LiveCardRoute MemberNavigation::liveCardAt(const PageRoute &route) const
{
    if (const std::optional<LiveAircraftRoute> aircraft = routeOf<LiveAircraftRoute>(route))
        return *aircraft;
    return routeOf<LiveReviewRoute>(route).value_or(LiveReviewRoute{});
}

void MemberNavigation::openProfile()
{
    setPath(NavigationStack::AccountStack, {PlainRoute{ShellPage::Profile}});
    setSelected(MemberTab::Account);
}

void MemberNavigation::openPirep(const Pirep &report)
{
    setPath(NavigationStack::LogbookStack, {PirepRoute{report}});
    setSelected(MemberTab::Account);
    setShowingLogbook(true);
}

void MemberNavigation::openPrefilledPirep(const RecentFlight &flight)
{
    setPath(NavigationStack::FlightStack, {RecentFlightRoute{flight}});
    setSelected(MemberTab::Flights);
}

void MemberNavigation::openSubmission()
{
    // During a live flight the card opens the empty form.
    setPath(NavigationStack::FlightStack, {PlainRoute{ShellPage::PirepForm}});
    setSelected(MemberTab::Flights);
}

void MemberNavigation::openEvent(const FlightEvent &event)
{
    setPath(NavigationStack::HomeStack, {EventRoute{event}});
    setSelected(MemberTab::Home);
}

void MemberNavigation::openLogbook()
{
    setPath(NavigationStack::LogbookStack, {});
    setSelected(MemberTab::Account);
    setShowingLogbook(true);
}

void MemberNavigation::openEventSubmission(const FlightEvent &event)
{
    setPath(NavigationStack::FlightStack, {EventSubmissionRoute{event}});
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
