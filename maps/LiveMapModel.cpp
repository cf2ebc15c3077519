#include "LiveMapModel.h"

#include "MapBanner.h"
#include "MapPanels.h"

#include "ApplicationPhase.h"
#include "Display.h"
#include "MapsLog.h"
#include "MemberNavigation.h"
#include "Retarget.h"

#include <QTimeZone>

using namespace std::chrono_literals;

namespace {

constexpr auto tourStep = 1s;
constexpr qint64 deselectGuardMs = 400;

} // namespace

LiveMapModel::LiveMapModel(QObject *parent)
    : QObject(parent)
    , m_activity(&FlightActivityNavigation::shared())
{
    connect(m_activity, &FlightActivityNavigation::ownFlightRequestChanged, this,
            &LiveMapModel::startRequestTask);
    m_feed.setActive(ApplicationPhase::active());
    ApplicationPhase::followActive(this, [this](bool active) { setActive(active); });
    connect(this, &LiveMapModel::snapshotChanged, this, &LiveMapModel::ownFlightsChanged);
    connect(this, &LiveMapModel::usernameChanged, this, &LiveMapModel::ownFlightsChanged);
    connect(&m_feed, &LiveMapFeed::plansChanged, this, &LiveMapModel::ownFlightsChanged);
    connect(&m_feed, &LiveMapFeed::stateChanged, this, &LiveMapModel::feedChanged);
    connect(&m_feed, &LiveMapFeed::activityChanged, this, &LiveMapModel::activityChanged);
    connect(&m_feed, &LiveMapFeed::plansChanged, this, &LiveMapModel::feedChanged);
    // A request that came while a load ran, or before a snapshot was there, is served once one ends.
    connect(&m_feed, &LiveMapFeed::loadEnded, this, &LiveMapModel::focusRequestedOwnFlight);
    connect(&m_feed, &LiveMapFeed::planFetched, this, &LiveMapModel::showFetchedPlan);
    connect(&m_feed, &LiveMapFeed::loaded, this, &LiveMapModel::refreshSelected);
    connect(&m_panels, &MapPanelsModel::layoutChanged, this, &LiveMapModel::panelsChanged);
    connect(&m_panels, &MapPanelsModel::compactHeightChanged, this, &LiveMapModel::panelsChanged);
}

LiveMapModel::~LiveMapModel()
{
    // The page's work ends with it: sleeping loops wake and stop, loads in flight leave no trace. The feed
    // stops first, while what it tells the model still reaches a whole one.
    m_running = false;
    m_feed.stop();
    m_tourRun.restart();
    m_requestRun.restart();
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
    if (m_feed.active() == active)
        return;
    // Coming to the front, the feed starts a new cycle; leaving it ends the tour and the selection at once.
    m_feed.setActive(active);
    Q_EMIT activeChanged();
    if (!active) {
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
    m_clock = clock;
    m_feed.setClock(std::move(clock));
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
    m_feed.start();
    startPlanTask();
    startTour();
    startRequestTask();
}

void LiveMapModel::stopPageWork()
{
    qCDebug(lcMaps) << "the live map goes";
    setDemonstrating(false);
    clearSelection();
    m_feed.stop();
    m_tourRun.restart();
    m_requestRun.restart();
}

void LiveMapModel::startPlanTask()
{
    m_feed.followPlan(m_running && m_selected && !m_demonstrating ? m_selected : std::nullopt);
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

void LiveMapModel::touched() { m_feed.touched(); }

void LiveMapModel::refresh() { m_feed.refresh(); }

// What the feed brings the selection.

void LiveMapModel::showFetchedPlan(const LiveFlight &flight, const PlanResponse &plan)
{
    if (m_selected && m_selected->id == flight.id)
        setPlan(plan);
}

// The selected flight becomes its fresh copy; one that left the snapshot stays as it was.
void LiveMapModel::refreshSelected(const LiveResponse &snapshot)
{
    if (!m_selected)
        return;
    for (const LiveFlight &flight : snapshot.flights) {
        if (flight.id == m_selected->id) {
            if (!(flight == *m_selected))
                setSelected(flight);
            break;
        }
    }
}

// The demonstration tour, one flight a second.
QCoro::Task<> LiveMapModel::tour()
{
    const Lifetime::Guard run = m_tourRun.guard();
    if (!m_demonstrating)
        co_return;
    const QList<LiveFlight> flights = hasSnapshot() ? snapshot()->flights : QList<LiveFlight>();
    for (const LiveFlight &flight : flights) {
        if (!run.alive() || !m_demonstrating || !active())
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
    co_await m_feed.load();
    if (run.alive())
        focusRequestedOwnFlight();
}

void LiveMapModel::focusRequestedOwnFlight()
{
    if (!m_activity || m_activity->ownFlightRequest().isEmpty())
        return;
    // Only a map on screen serves it; the request waits for one.
    if (!m_running || loading() || !hasSnapshot() || savedSnapshot())
        return;
    if (const std::optional<LiveFlight> own = snapshot()->ownFlight) {
        setSearching(false);
        setChoosingOwnFlights(false);
        setRegion({own->latitude, own->longitude, 2, 2});
        select(*own, false);
    } else {
        m_feed.setError(MapBanner::ownFlightMissingMessage());
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

// The selection.
void LiveMapModel::select(const LiveFlight &flight, bool automatic)
{
    if (!automatic)
        setDemonstrating(false);
    setChoosingOwnFlights(false);
    setSearching(false);
    if (!m_selected || m_selected->id != flight.id) {
        const auto cached = plans().constFind(LiveMapRules::planKey(flight));
        setPlan(cached != plans().cend() ? std::optional(*cached) : std::nullopt);
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
