#include "LiveMapModel.h"

#include "MapBanner.h"
#include "MapPanels.h"

#include "APIPath.h"
#include "ApplicationPhase.h"
#include "Busy.h"
#include "Display.h"
#include "MapsLog.h"
#include "MemberNavigation.h"
#include "Outcome.h"
#include "Retarget.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <QUuid>

#include <cmath>

using namespace std::chrono_literals;

namespace {

constexpr auto pollInterval = 30s;
constexpr qint64 idleLimitMs = 900'000;
constexpr auto tourStep = 1s;
constexpr qint64 deselectGuardMs = 400;

QString newUuid() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

// A snapshot, read on the thread pool; a client that went away ends the load as cancelled.
QCoro::Task<std::optional<LiveResponse>> fetchSnapshot(QPointer<APIClient> client, bool saved)
{
    if (!client)
        throw CancellationError();
    co_return co_await client->decodeOptionalInBackground<LiveResponse>(
        client->makeRequest(saved ? APIPath::savedSnapshot() : APIPath::liveSnapshot(), "GET"));
}

QCoro::Task<std::optional<PlanResponse>> fetchPlan(QPointer<APIClient> client, LiveFlight flight)
{
    co_return co_await APIClient::get<PlanResponse>(client, LiveMapRules::planPath(flight));
}

} // namespace

LiveMapModel::LiveMapModel(QObject *parent)
    : QObject(parent)
    , m_activity(&FlightActivityNavigation::shared())
    , m_cycle(newUuid())
    , m_lastActivity(m_clock->now())
{
    connect(m_activity, &FlightActivityNavigation::ownFlightRequestChanged, this,
            &LiveMapModel::startRequestTask);
    m_active = ApplicationPhase::active();
    ApplicationPhase::followActive(this, [this](bool active) { setActive(active); });
    connect(this, &LiveMapModel::snapshotChanged, this, &LiveMapModel::ownFlightsChanged);
    connect(this, &LiveMapModel::usernameChanged, this, &LiveMapModel::ownFlightsChanged);
    connect(this, &LiveMapModel::plansChanged, this, &LiveMapModel::ownFlightsChanged);
    connect(this, &LiveMapModel::snapshotChanged, this, &LiveMapModel::noticesChanged);
    connect(this, &LiveMapModel::loadingChanged, this, &LiveMapModel::noticesChanged);
    connect(&m_panels, &MapPanelsModel::layoutChanged, this, &LiveMapModel::panelsChanged);
    connect(&m_panels, &MapPanelsModel::compactHeightChanged, this, &LiveMapModel::panelsChanged);
}

LiveMapModel::~LiveMapModel()
{
    // The page's work ends with it: sleeping loops wake and stop, loads in flight leave no trace.
    m_lifetime.end();
    m_running = false;
    m_cycleRun.restart();
    m_planRun.restart();
    m_tourRun.restart();
    m_requestRun.restart();
    m_loadRun.restart();
}

void LiveMapModel::classBegin() { m_complete = false; }

void LiveMapModel::componentComplete()
{
    m_complete = true;
    sync();
}

void LiveMapModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (data) {
        connect(data, &MemberData::liveMapChanged, this, [this] {
            showMarkers();
            Q_EMIT snapshotChanged();
        });
    }
    showMarkers();
    Q_EMIT memberDataChanged();
    Q_EMIT snapshotChanged();
    sync();
}

void LiveMapModel::setClient(APIClient *client)
{
    if (takeClient(client))
        Q_EMIT clientChanged();
}

void LiveMapModel::setUsername(const QString &username)
{
    if (takeUsername(username))
        Q_EMIT usernameChanged();
}

void LiveMapModel::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    Q_EMIT activeChanged();
    if (active) {
        newCycle();
    } else {
        setDemonstrating(false);
        clearSelection();
    }
}

void LiveMapModel::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    Q_EMIT shownChanged();
    sync();
}

void LiveMapModel::setClock(std::shared_ptr<LiveMapClock> clock)
{
    m_clock = std::move(clock);
    m_lastActivity = now();
    Q_EMIT lastActivityChanged();
}

// The page's work.

void LiveMapModel::sync()
{
    const bool running = m_complete && m_shown && m_data;
    if (running == m_running)
        return;
    m_running = running;
    if (running)
        startPageWork();
    else
        stopPageWork();
}

void LiveMapModel::startPageWork()
{
    qCDebug(lcMaps) << "the live map shows";
    startCycle();
    startPlanTask();
    startTour();
    startRequestTask();
}

void LiveMapModel::stopPageWork()
{
    qCDebug(lcMaps) << "the live map goes";
    setDemonstrating(false);
    clearSelection();
    m_cycleRun.restart();
    m_planRun.restart();
    m_tourRun.restart();
    m_requestRun.restart();
    m_loadRun.restart();
}

void LiveMapModel::newCycle()
{
    m_cycle = newUuid();
    Q_EMIT cycleChanged();
    startCycle();
}

void LiveMapModel::startCycle()
{
    m_cycleRun.restart();
    if (m_running)
        run();
}

void LiveMapModel::startPlanTask()
{
    m_planRun.restart();
    if (m_running && m_selected && !m_demonstrating)
        loadPlan();
}

void LiveMapModel::startTour()
{
    m_tourRun.restart();
    if (m_running && m_demonstrating)
        tour();
}

void LiveMapModel::startRequestTask()
{
    m_requestRun.restart();
    if (m_running && m_activity && !m_activity->ownFlightRequest().isEmpty())
        serveRequest();
}

// The polling loop.
QCoro::Task<> LiveMapModel::run()
{
    const Lifetime::Guard cycle = m_cycleRun.guard();
    setPaused(false);
    co_await load();
    while (cycle.alive()) {
        if (!co_await Sleep(*m_clock, pollInterval, cycle) || !cycle.alive())
            co_return;
        // Leaving the active phase ends the loop after its sleep, without pausing.
        if (!m_active)
            co_return;
        if (m_lastActivity.msecsTo(now()) > idleLimitMs) {
            qCInfo(lcMaps) << "the live map pauses after 900 s without interaction";
            setPaused(true);
            co_return;
        }
        co_await load();
    }
}

void LiveMapModel::touched()
{
    m_lastActivity = now();
    Q_EMIT lastActivityChanged();
    if (m_paused) {
        setPaused(false);
        newCycle();
    }
}

void LiveMapModel::refresh()
{
    m_lastActivity = now();
    Q_EMIT lastActivityChanged();
    setPaused(false);
    newCycle();
}

// One load.
QCoro::Task<> LiveMapModel::load()
{
    if (!m_active || m_loading || !m_data)
        co_return;
    const Lifetime::Guard run = m_loadRun.guard();
    const BusyGuard busy(run, [this](bool loading) { setLoading(loading); });
    setError(std::nullopt);
    m_data->dropExpiredLiveMap();
    // Without a snapshot, the saved one is asked for beside the live one; it is kept only while no snapshot
    // is held, and the live answer or the end of this load cancels it.
    Lifetime savedRun;
    std::optional<QCoro::Task<>> saved;
    if (!m_data->liveMap())
        saved.emplace(fetchSaved(savedRun.guard()));

    Outcome<std::optional<LiveResponse>> live = co_await attempt(fetchSnapshot(m_client, false));
    if (!run.alive() || !m_data || live.cancelled())
        co_return;
    if (live.failed()) {
        qCInfo(lcMaps) << "the live snapshot failed";
        // The message tells whether older data is on the map, the saved snapshot included.
        if (saved)
            co_await std::move(*saved);
        if (!run.alive() || !m_data)
            co_return;
        setError(m_data->liveMap() ? MapBanner::olderDataMessage() : live.message());
        co_return;
    }

    m_data->setLiveMap(std::move(live.value()));
    savedRun.end();
    const std::optional<LiveResponse> snapshot = m_data->liveMap();
    const qsizetype cached = m_plans.size();
    LiveMapRules::prune(m_plans, snapshot ? snapshot->flights : QList<LiveFlight>());
    if (m_plans.size() != cached)
        Q_EMIT plansChanged();

    // The own flights' plans, every time, one after the other.
    const QList<LiveFlight> own = snapshot ? snapshot->ownFlights(signedInUser()) : QList<LiveFlight>();
    for (const LiveFlight &flight : own) {
        if (!run.alive())
            co_return;
        if (!LiveMapRules::plannable(flight))
            continue;
        const Outcome<std::optional<PlanResponse>> plan = co_await attempt(fetchPlan(m_client, flight));
        if (!run.alive())
            co_return;
        if (!plan.ok() || !plan.value())
            continue;
        cachePlan(flight, *plan.value());
        if (m_selected && m_selected->id == flight.id)
            setPlan(*plan.value());
    }

    // The selected flight becomes its fresh copy; one that left the snapshot stays as it was.
    if (m_selected && snapshot) {
        for (const LiveFlight &flight : snapshot->flights) {
            if (flight.id == m_selected->id) {
                if (!(flight == *m_selected))
                    setSelected(flight);
                break;
            }
        }
    }
}

QCoro::Task<> LiveMapModel::fetchSaved(Lifetime::Guard load)
{
    const Lifetime::Guard model = m_lifetime.guard();
    const QPointer<MemberData> data = m_data;
    const Outcome<std::optional<LiveResponse>> saved = co_await attempt(fetchSnapshot(m_client, true));
    if (!model.alive() || !load.alive() || !data || !saved.ok() || !saved.value())
        co_return;
    if (!data->liveMap())
        data->setLiveMap(saved.value());
}

// The plan of the selected flight.
QCoro::Task<> LiveMapModel::loadPlan()
{
    const Lifetime::Guard run = m_planRun.guard();
    if (!m_selected)
        co_return;
    const LiveFlight flight = *m_selected;
    if (!LiveMapRules::plannable(flight))
        co_return;
    const Outcome<std::optional<PlanResponse>> plan = co_await attempt(fetchPlan(m_client, flight));
    if (!run.alive() || !plan.ok() || !plan.value())
        co_return;
    if (m_selected && m_selected->id == flight.id) {
        cachePlan(flight, *plan.value());
        setPlan(*plan.value());
    }
}

void LiveMapModel::cachePlan(const LiveFlight &flight, const PlanResponse &plan)
{
    const QString key = LiveMapRules::planKey(flight);
    const auto found = m_plans.constFind(key);
    if (found != m_plans.cend() && *found == plan)
        return;
    m_plans.insert(key, plan);
    Q_EMIT plansChanged();
}

LiveFlight LiveMapModel::withRoute(const LiveFlight &flight) const
{
    return LiveMapRules::withRoute(flight, m_plans, Airports::all());
}

// The demonstration tour, one flight a second.
QCoro::Task<> LiveMapModel::tour()
{
    const Lifetime::Guard run = m_tourRun.guard();
    if (!m_demonstrating)
        co_return;
    const QList<LiveFlight> flights = hasSnapshot() ? snapshot()->flights : QList<LiveFlight>();
    for (const LiveFlight &flight : flights) {
        if (!run.alive() || !m_demonstrating || !m_active)
            co_return;
        select(withRoute(flight), true);
        if (!co_await Sleep(*m_clock, tourStep, run) || !run.alive())
            co_return;
    }
    setDemonstrating(false);
}

// The own-flight request.
QCoro::Task<> LiveMapModel::serveRequest()
{
    const Lifetime::Guard run = m_requestRun.guard();
    co_await load();
    if (run.alive())
        focusRequestedOwnFlight();
}

void LiveMapModel::focusRequestedOwnFlight()
{
    if (!m_activity || m_activity->ownFlightRequest().isEmpty())
        return;
    // Only a map on screen serves it; the request waits for one.
    if (!m_running || m_loading || !hasSnapshot() || savedSnapshot())
        return;
    if (const std::optional<LiveFlight> own = snapshot()->ownFlight) {
        setSearching(false);
        setChoosingOwnFlights(false);
        setRegion({own->latitude, own->longitude, 2, 2});
        select(*own, false);
    } else {
        setError(MapBanner::ownFlightMissingMessage());
    }
    m_activity->clearOwnFlightRequest();
}

QList<LiveFlight> LiveMapModel::ownFlights() const
{
    if (!hasSnapshot())
        return {};
    QList<LiveFlight> own = snapshot()->ownFlights(signedInUser());
    for (LiveFlight &flight : own)
        flight = withRoute(flight);
    return own;
}

std::optional<QString> LiveMapModel::signedInUser() const
{
    return m_username.isEmpty() ? std::nullopt : std::optional(m_username);
}

// The selection.
void LiveMapModel::select(const LiveFlight &flight, bool automatic)
{
    if (!automatic)
        setDemonstrating(false);
    setChoosingOwnFlights(false);
    setSearching(false);
    if (!m_selected || m_selected->id != flight.id) {
        const auto cached = m_plans.constFind(LiveMapRules::planKey(flight));
        setPlan(cached != m_plans.cend() ? std::optional(*cached) : std::nullopt);
    }
    m_selectedAt = now();
    // The given copy, also of the flight already selected: a refreshed copy replaces the old one.
    setSelected(flight);
    touched();
    m_position.region = LiveMapRules::selectionRegion(flight, m_region);
    m_position.center = QGeoCoordinate(m_position.region->latitude, m_position.region->longitude);
    Q_EMIT positionChanged();
    Q_EMIT cameraRequested(m_position, true);
}

void LiveMapModel::select(const LiveFlightValue &flight, bool automatic)
{
    if (flight.flight)
        select(*flight.flight, automatic);
}

void LiveMapModel::deselect()
{
    setSearching(false);
    setChoosingOwnFlights(false);
    setDemonstrating(false);
    clearSelection();
}

void LiveMapModel::clearSelection()
{
    setSelected(std::nullopt);
    setPlan(std::nullopt);
}

void LiveMapModel::markerClicked(int row)
{
    const qsizetype index = m_markers.flightAt(row);
    if (index < 0 || !hasSnapshot() || index >= snapshot()->flights.size())
        return;
    select(snapshot()->flights.at(index), false);
}

void LiveMapModel::mapTapped()
{
    if (!m_selected || m_selectedAt.msecsTo(now()) <= deselectGuardMs)
        return;
    setDemonstrating(false);
    clearSelection();
}

// The end of a camera movement.
void LiveMapModel::cameraMoved(const MapRegion &region, double width, const QGeoCoordinate &center,
                               double distance)
{
    setRegion(region);
    m_position = MapCameraPosition{center, distance, 0, 0, std::nullopt};
    Q_EMIT positionChanged();
    touched();
    const double zoom = LiveMapRules::zoom(width, region.longitudeSpan);
    if (zoom != m_zoom) {
        m_zoom = zoom;
        m_markers.setZoom(zoom);
        Q_EMIT zoomChanged();
    }
}

void LiveMapModel::setRegion(const MapRegion &region)
{
    if (m_region == region)
        return;
    m_region = region;
    Q_EMIT regionChanged();
}

// The panel's actions.

void LiveMapModel::toggleDemonstration()
{
    setDemonstrating(!m_demonstrating);
    if (m_demonstrating) {
        setSearching(false);
        setChoosingOwnFlights(false);
    }
}

void LiveMapModel::openSearch()
{
    setChoosingOwnFlights(false);
    setDemonstrating(false);
    clearSelection();
    setSearching(true);
}

void LiveMapModel::closeSearch() { setSearching(false); }

void LiveMapModel::chooseFound(const LiveFlightValue &flight)
{
    setSearching(false);
    select(flight, false);
}

void LiveMapModel::ownFlightAction()
{
    if (const std::optional<LiveFlight> only = MapBanner::onlyOwnFlight(ownFlights()))
        select(*only, false);
    else
        openOwnFlights();
}

void LiveMapModel::openOwnFlights()
{
    setDemonstrating(false);
    clearSelection();
    setSearching(false);
    setChoosingOwnFlights(true);
}

void LiveMapModel::closeOwnFlights() { setChoosingOwnFlights(false); }

void LiveMapModel::measured(double height) { m_panels.measured(height); }

// State.

void LiveMapModel::setSatellite(bool satellite)
{
    if (m_satellite == satellite)
        return;
    m_satellite = satellite;
    Q_EMIT satelliteChanged();
}

void LiveMapModel::setDemonstrating(bool demonstrating)
{
    if (m_demonstrating == demonstrating)
        return;
    m_demonstrating = demonstrating;
    Q_EMIT demonstratingChanged();
    startTour();
}

void LiveMapModel::setError(std::optional<QString> error)
{
    if (m_error == error)
        return;
    m_error = std::move(error);
    Q_EMIT errorChanged();
}

void LiveMapModel::setSelected(std::optional<LiveFlight> flight)
{
    const bool newId = (m_selected ? std::optional(m_selected->id) : std::nullopt)
                       != (flight ? std::optional(flight->id) : std::nullopt);
    m_selected = std::move(flight);
    if (newId)
        showMarkers();
    Q_EMIT selectedChanged();
    if (newId)
        startPlanTask();
}

void LiveMapModel::setPlan(std::optional<PlanResponse> plan)
{
    if (m_plan == plan)
        return;
    m_plan = std::move(plan);
    Q_EMIT planChanged();
}

void LiveMapModel::setPaused(bool paused)
{
    if (m_paused == paused)
        return;
    m_paused = paused;
    Q_EMIT pausedChanged();
}

void LiveMapModel::setLoading(bool loading)
{
    if (m_loading == loading)
        return;
    m_loading = loading;
    Q_EMIT loadingChanged();
    // A request that came while a load ran, or before a snapshot was there, is served once one ends.
    if (!loading)
        focusRequestedOwnFlight();
}

void LiveMapModel::showMarkers()
{
    m_markers.show(snapshot(), m_selected ? std::optional(m_selected->id) : std::nullopt, m_zoom);
}

// Derived values.

const std::optional<LiveResponse> &LiveMapModel::snapshot() const
{
    static const std::optional<LiveResponse> none;
    return m_data ? m_data->liveMap() : none;
}

QString LiveMapModel::status() const
{
    return hasSnapshot() ? snapshot()->status.value_or(QString()) : QString();
}

QString LiveMapModel::updatedAt() const
{
    return hasSnapshot() ? snapshot()->updatedAt.value_or(QString()) : QString();
}

bool LiveMapModel::selectedLive() const
{
    return m_selected && LiveMapRules::liveIdentified(*m_selected, LiveMapRules::connected(snapshot()));
}

LiveFlightList LiveMapModel::flightList() const
{
    return hasSnapshot() ? LiveFlightList{snapshot()->flights} : LiveFlightList{};
}

bool LiveMapModel::showsSavedNotice() const
{
    return MapBanner::showsSavedNotice({.hasSnapshot = hasSnapshot(),
                                        .snapshotStatus = hasSnapshot() ? snapshot()->status : std::nullopt,
                                        .loading = m_loading});
}

bool LiveMapModel::showsEmptyNotice() const
{
    return MapBanner::showsEmptyNotice({.hasSnapshot = hasSnapshot(), .flightCount = flightCount()});
}

QString LiveMapModel::countText() const
{
    return MapBanner::countLine(flightCount(), hasSnapshot() ? snapshot()->updatedAt : std::nullopt, now(),
                                Display::locale(), QTimeZone::systemTimeZone());
}

QString LiveMapModel::selectedTitle() const
{
    return m_selected ? MapBanner::flightTitle(*m_selected) : QString();
}

QString LiveMapModel::ownFlightButtonText() const { return MapBanner::ownFlightsText(ownFlights()); }

QList<QGeoCoordinate> LiveMapModel::planPath() const
{
    const QList<QGeoCoordinate> path = planValue().points();
    return path.size() >= 2 ? path : QList<QGeoCoordinate>();
}

QList<QGeoCoordinate> LiveMapModel::routePath() const
{
    const QList<QGeoCoordinate> path = planValue().route();
    return path.size() >= 2 ? path : QList<QGeoCoordinate>();
}
