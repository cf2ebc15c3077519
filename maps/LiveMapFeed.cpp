#include "LiveMapFeed.h"

#include "MapBanner.h"

#include "APIClient.h"
#include "APIPath.h"
#include "Busy.h"
#include "MapsLog.h"
#include "Outcome.h"

#include <QPointer>
#include <QUuid>

using namespace std::chrono_literals;

namespace {

constexpr auto pollInterval = 30s;
constexpr qint64 idleLimitMs = 900'000;

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

LiveMapFeed::LiveMapFeed(const MemberInputs &inputs, QObject *parent)
    : QObject(parent)
    , m_inputs(inputs)
    , m_cycle(newUuid())
    , m_lastActivity(m_clock->now())
{
}

LiveMapFeed::~LiveMapFeed()
{
    // Its work ends with it: a sleeping loop wakes and stops, loads in flight leave no trace.
    m_lifetime.end();
    stop();
}

void LiveMapFeed::setClock(std::shared_ptr<LiveMapClock> clock)
{
    m_clock = std::move(clock);
    m_lastActivity = now();
    Q_EMIT activityChanged();
}

void LiveMapFeed::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    if (active)
        newCycle();
}

void LiveMapFeed::start()
{
    m_running = true;
    startCycle();
}

void LiveMapFeed::stop()
{
    m_running = false;
    m_cycleRun.restart();
    m_planRun.restart();
    m_loadRun.restart();
}

void LiveMapFeed::newCycle()
{
    m_cycle = newUuid();
    Q_EMIT stateChanged();
    startCycle();
}

void LiveMapFeed::startCycle()
{
    m_cycleRun.restart();
    if (m_running)
        run();
}

// The polling loop.
QCoro::Task<> LiveMapFeed::run()
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

void LiveMapFeed::touched()
{
    m_lastActivity = now();
    Q_EMIT activityChanged();
    if (m_paused) {
        setPaused(false);
        newCycle();
    }
}

void LiveMapFeed::refresh()
{
    m_lastActivity = now();
    Q_EMIT activityChanged();
    setPaused(false);
    newCycle();
}

// One load.
QCoro::Task<> LiveMapFeed::load()
{
    if (!m_active || m_loading || !data())
        co_return;
    const Lifetime::Guard run = m_loadRun.guard();
    const BusyGuard busy(run, [this](bool loading) { setLoading(loading); });
    setError(std::nullopt);
    data()->dropExpiredLiveMap();
    // Without a snapshot, the saved one is asked for beside the live one; it is kept only while no snapshot
    // is held, and the live answer or the end of this load cancels it.
    Lifetime savedRun;
    std::optional<QCoro::Task<>> saved;
    if (!data()->liveMap())
        saved.emplace(fetchSaved(savedRun.guard()));

    Outcome<std::optional<LiveResponse>> live = co_await attempt(fetchSnapshot(m_inputs.client(), false));
    if (!run.alive() || !data() || live.cancelled())
        co_return;
    if (live.failed()) {
        qCInfo(lcMaps) << "the live snapshot failed";
        // The message tells whether older data is on the map, the saved snapshot included.
        if (saved)
            co_await std::move(*saved);
        if (!run.alive() || !data())
            co_return;
        setError(data()->liveMap() ? MapBanner::olderDataMessage() : live.message());
        co_return;
    }

    data()->setLiveMap(std::move(live.value()));
    savedRun.end();
    const std::optional<LiveResponse> snapshot = data()->liveMap();
    const qsizetype cached = m_plans.size();
    LiveMapRules::prune(m_plans, snapshot ? snapshot->flights : QList<LiveFlight>());
    if (m_plans.size() != cached)
        Q_EMIT plansChanged();

    // The own flights' plans, every time, one after the other.
    const QList<LiveFlight> own =
        snapshot ? snapshot->ownFlights(m_inputs.signedInUser()) : QList<LiveFlight>();
    for (const LiveFlight &flight : own) {
        if (!run.alive())
            co_return;
        if (!LiveMapRules::plannable(flight))
            continue;
        const Outcome<std::optional<PlanResponse>> plan =
            co_await attempt(fetchPlan(m_inputs.client(), flight));
        if (!run.alive())
            co_return;
        if (!plan.ok() || !plan.value())
            continue;
        cachePlan(flight, *plan.value());
        Q_EMIT planFetched(flight, *plan.value());
    }

    if (snapshot)
        Q_EMIT loaded(*snapshot);
}

QCoro::Task<> LiveMapFeed::fetchSaved(Lifetime::Guard load)
{
    const Lifetime::Guard feed = m_lifetime.guard();
    const QPointer<MemberData> data = m_inputs.memberData();
    const Outcome<std::optional<LiveResponse>> saved =
        co_await attempt(fetchSnapshot(m_inputs.client(), true));
    if (!feed.alive() || !load.alive() || !data || !saved.ok() || !saved.value())
        co_return;
    if (!data->liveMap())
        data->setLiveMap(saved.value());
}

// The plan of the followed flight.
void LiveMapFeed::followPlan(const std::optional<LiveFlight> &flight)
{
    m_planRun.restart();
    if (flight)
        loadPlan(*flight);
}

QCoro::Task<> LiveMapFeed::loadPlan(LiveFlight flight)
{
    const Lifetime::Guard run = m_planRun.guard();
    if (!LiveMapRules::plannable(flight))
        co_return;
    const Outcome<std::optional<PlanResponse>> plan = co_await attempt(fetchPlan(m_inputs.client(), flight));
    // A run still alive still follows this flight: another one, or none, would have restarted it.
    if (!run.alive() || !plan.ok() || !plan.value())
        co_return;
    cachePlan(flight, *plan.value());
    Q_EMIT planFetched(flight, *plan.value());
}

void LiveMapFeed::cachePlan(const LiveFlight &flight, const PlanResponse &plan)
{
    const QString key = LiveMapRules::planKey(flight);
    const auto found = m_plans.constFind(key);
    if (found != m_plans.cend() && *found == plan)
        return;
    m_plans.insert(key, plan);
    Q_EMIT plansChanged();
}

LiveFlight LiveMapFeed::withRoute(const LiveFlight &flight) const
{
    return LiveMapRules::withRoute(flight, m_plans, Airports::all());
}

// State.

void LiveMapFeed::setError(std::optional<QString> error)
{
    if (m_error == error)
        return;
    m_error = std::move(error);
    Q_EMIT stateChanged();
}

void LiveMapFeed::setPaused(bool paused)
{
    if (m_paused == paused)
        return;
    m_paused = paused;
    Q_EMIT stateChanged();
}

void LiveMapFeed::setLoading(bool loading)
{
    if (m_loading == loading)
        return;
    m_loading = loading;
    Q_EMIT stateChanged();
    if (!loading)
        Q_EMIT loadEnded();
}
