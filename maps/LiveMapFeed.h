#pragma once

#include "FlightRecords.h"
#include "Lifetime.h"
#include "LiveMapClock.h"
#include "LiveMapRules.h"
#include "MemberInputs.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <QCoro/QCoroTask>

#include <memory>
#include <optional>

// The live map's feed: the snapshot it loads into `MemberData.liveMap`, with the saved snapshot as the
// fallback, and the flights' plans. Started, it polls every 30 s while the app is `active` (its window in
// front) and pauses after 900 s without an interaction, until the next one. A load without a snapshot on
// the map asks for the saved one beside the live one; a live one that fails leaves the saved one on the
// map. Each load then fetches the member's own flights' plans; the plan of the flight the map follows is
// fetched on its own. The plans are cached for the flights of the snapshot.
//
// Its work is keyed: the polling loop by `cycle`, the followed plan by its flight. A new key stops the
// earlier run of that work; stopping the feed stops all of it. A load runs only while the app is active,
// one at a time: a second one asked for meanwhile (a new cycle, the map's own-flight request) returns at
// once, and a new cycle never cuts the load in flight short. The live map's model owns it.
class LiveMapFeed : public QObject
{
    Q_OBJECT

public:
    // What it loads with: its owner's member data, client and user name, read each time a load needs them.
    explicit LiveMapFeed(const MemberInputs &inputs, QObject *parent = nullptr);
    ~LiveMapFeed() override;

    // The clock of the polling loop and the interaction stamps; tests hand in their own.
    void setClock(std::shared_ptr<LiveMapClock> clock);
    bool active() const { return m_active; }
    // Coming to the front starts a new cycle that loads at once; leaving it ends the loop after its sleep.
    void setActive(bool active);
    // The page's work: start polls at once; stop ends the loop, the load and the plan in flight.
    void start();
    void stop();

    QString cycle() const { return m_cycle; }
    bool loading() const { return m_loading; }
    QDateTime lastActivity() const { return m_lastActivity; }
    bool paused() const { return m_paused; }
    // The banner's error line: a load's failure, or a message of the map's own; each load clears it as it
    // starts.
    const std::optional<QString> &error() const { return m_error; }
    void setError(std::optional<QString> error);
    const LiveMapRules::Plans &plans() const { return m_plans; }
    // The flight with its missing end airports taken from its cached plan.
    LiveFlight withRoute(const LiveFlight &flight) const;

    // An interaction: its time is recorded; a paused feed polls again.
    void touched();
    // The refresh button: an interaction, and a new polling cycle that loads at once.
    void refresh();
    // One load; the own-flight request awaits one.
    QCoro::Task<> load();
    // Fetches the plan of this flight, and stops the fetch of the flight before; none only stops it.
    void followPlan(const std::optional<LiveFlight> &flight);

Q_SIGNALS:
    // The cycle, the loading and paused flags or the error changed.
    void stateChanged();
    // The last interaction changed: at every selection and camera move.
    void activityChanged();
    void plansChanged();
    // A load has ended, however it ended: a request that waits for one can be served.
    void loadEnded();
    // A plan came in and is cached: an own flight's during a load, or the followed flight's.
    void planFetched(const LiveFlight &flight, const PlanResponse &plan);
    // A load has stored this live snapshot and fetched the own flights' plans.
    void loaded(const LiveResponse &snapshot);

private:
    QDateTime now() const { return m_clock->now(); }
    MemberData *data() const { return m_inputs.memberData(); }
    void newCycle();
    void startCycle();
    QCoro::Task<> run();
    // The saved snapshot, dropped when the load that asked for it (`load`) has ended or has its live one.
    QCoro::Task<> fetchSaved(Lifetime::Guard load);
    QCoro::Task<> loadPlan(LiveFlight flight);
    void cachePlan(const LiveFlight &flight, const PlanResponse &plan);
    void setPaused(bool paused);
    void setLoading(bool loading);

    const MemberInputs &m_inputs;
    std::shared_ptr<LiveMapClock> m_clock = LiveMapClock::system();
    bool m_active = false;
    bool m_running = false;
    QString m_cycle;
    bool m_loading = false;
    QDateTime m_lastActivity;
    bool m_paused = false;
    std::optional<QString> m_error;
    LiveMapRules::Plans m_plans;

    // One run per keyed task, and the loads, which belong to the page rather than to a cycle.
    Lifetime m_cycleRun;
    Lifetime m_planRun;
    Lifetime m_loadRun;
    Lifetime m_lifetime; // last: ends first
};
