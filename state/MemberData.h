#pragma once

#include "APIClient.h"
#include "AccountRecords.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"
#include "Lifetime.h"
#include "MemberLoad.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <functional>
#include <optional>
#include <variant>

// The member's own flight in the current live snapshot, with its plan and flown route when they came.
struct LiveLatestFlight
{
    LiveFlight flight;
    std::optional<PlanResponse> plan;
};
// The member's latest flight: live now, or the first of their recent Infinite Flight flights.
using LatestFlight = std::variant<LiveLatestFlight, RecentFlight>;

// The signed-in member's data that the member tabs show. Every list is filled by one of the loads: at
// most one of each kind runs, its failure is kept under it until its next start, cancellations leave no
// trace, and a load that succeeded once stays loaded. It lives exactly as long as the member tabs.
class MemberData : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged REQUIRED)
    Q_PROPERTY(MemberLoads loads READ loads NOTIFY loadStateChanged)

public:
    explicit MemberData(QObject *parent = nullptr);
    explicit MemberData(APIClient *client, QObject *parent = nullptr);
    ~MemberData() override;

    APIClient *client() const { return m_api; }
    void setClient(APIClient *client);

    // The loads. None of them throws.
    QCoro::Task<>
    run(MemberLoad::Kind load,
        std::function<QCoro::Task<>()> operation); // by value: it outlives the caller's arguments
    QCoro::Task<> loadInbox();
    QCoro::Task<> loadPireps();
    QCoro::Task<> loadEvents(bool member);
    QCoro::Task<> loadLeaderboard();
    QCoro::Task<> loadRoutes();
    QCoro::Task<> loadLatestFlight();
    // The dashboard's seven loads, all at once; returns when all have ended.
    QCoro::Task<> loadDashboard();

    // The saved live-map snapshot, under no key and without failures; only while none is cached.
    QCoro::Task<> loadSavedMap();
    // Empties the live-map cache when it was filled more than an hour ago.
    void dropExpiredLiveMap();

    // The member's attendance answer; set here only once the service took it. Throws the request's error.
    QCoro::Task<> respond(FlightEvent event, AttendanceChoice choice);
    // Marks notices read (all of them, or the given ones) and reloads the inbox. False on failure, whose
    // message then stands under the inbox load.
    QCoro::Task<bool> markInboxRead(QList<QString> ids, bool all);

    // Started from QML: the load, run again (the events with the member's own answers).
    Q_INVOKABLE void reload(MemberLoad::Kind load);

    LoadState state(MemberLoad::Kind load) const { return m_loads.state(load); }
    MemberLoads loads() const { return m_loads; }

    const std::optional<SiteInbox> &inbox() const { return m_inbox; }
    const QList<Pirep> &pireps() const { return m_pireps; }
    const std::optional<PirepSummary> &summary() const { return m_summary; }
    const QList<FlightEvent> &events() const { return m_events; }
    const QHash<QString, QString> &attendance() const { return m_attendance; }
    // The attendance buttons show an answer before the service has it, and put the old one back on failure.
    void setAttendance(const QString &eventId, const std::optional<QString> &answer);
    const std::optional<LeaderboardResponse> &leaderboard() const { return m_leaderboard; }
    const QList<FlownRoute> &routes() const { return m_routes; }
    const std::optional<LatestFlight> &latestFlight() const { return m_latestFlight; }
    const std::optional<LiveResponse> &liveMap() const { return m_liveMap; }
    const std::optional<QDateTime> &liveMapAt() const { return m_liveMapAt; }
    // Every assignment stamps the time (or clears it): the live map screen writes here too.
    void setLiveMap(std::optional<LiveResponse> snapshot);

    // The clock of the live-map cache; tests hand in their own.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    // A snapshot older than this (in seconds) is dropped.
    static constexpr qint64 liveMapLifetime = 3600;
    // The ids of a live flight whose plan can be asked for: UUIDs in their 8-4-4-4-12 form.
    static bool isUuid(const QString &text);

Q_SIGNALS:
    void clientChanged();
    void loadStateChanged();
    void inboxChanged();
    void pirepsChanged();
    void eventsChanged();
    void attendanceChanged();
    void leaderboardChanged();
    void routesChanged();
    void latestFlightChanged();
    void liveMapChanged();

private:
    void setLatestFlight(std::optional<LatestFlight> flight);

    QPointer<APIClient> m_api;
    std::optional<SiteInbox> m_inbox;
    QList<Pirep> m_pireps;
    std::optional<PirepSummary> m_summary;
    QList<FlightEvent> m_events;
    QHash<QString, QString> m_attendance;
    std::optional<LeaderboardResponse> m_leaderboard;
    QList<FlownRoute> m_routes;
    std::optional<LatestFlight> m_latestFlight;
    std::optional<LiveResponse> m_liveMap;
    std::optional<QDateTime> m_liveMapAt;
    MemberLoads m_loads;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTimeUtc(); };
    Lifetime m_lifetime; // last: ends first
};
