#include "MemberData.h"

#include "APIPath.h"
#include "Busy.h"
#include "Join.h"
#include "Outcome.h"
#include "StateLog.h"

#include <QRegularExpression>

namespace {

// The service answered, but said it did not do it.
APIError unconfirmed() { return APIError(502, L("服务器未确认此次操作，请重试。")); }

QCoro::Task<> sendReadMarks(QPointer<APIClient> client, QList<QString> ids, bool all)
{
    const QJsonObject marks = all ? QJsonObject{{QStringLiteral("all"), true}}
                                  : QJsonObject{{QStringLiteral("ids"), QJsonArray::fromStringList(ids)}};
    const InboxWriteResult answer =
        co_await APIClient::post<InboxWriteResult>(client, APIPath::notificationsRead(), marks);
    // An explicit refusal is a failure, not a success to reload after.
    if (!answer.ok)
        throw unconfirmed();
}

// An answer a load can do without: a failure gives none. A cancellation still ends the load, so a load
// whose client is going away asks it nothing more.
template <typename T>
QCoro::Task<std::optional<T>> bonus(QCoro::Task<std::optional<T>> answer)
{
    Outcome<std::optional<T>> outcome = co_await attempt(std::move(answer));
    if (outcome.cancelled())
        throw CancellationError();
    co_return outcome.ok() ? std::move(outcome.value()) : std::nullopt;
}

} // namespace

MemberData::MemberData(QObject *parent)
    : QObject(parent)
{
}

MemberData::MemberData(APIClient *client, QObject *parent)
    : QObject(parent)
    , m_api(client)
{
}

MemberData::~MemberData() = default;

void MemberData::setClient(APIClient *client)
{
    // The client is the store's for life: a store belongs to one signed-in session.
    if (m_api || !client)
        return;
    m_api = client;
    Q_EMIT clientChanged();
}

bool MemberData::isUuid(const QString &text)
{
    static const QRegularExpression uuid(QRegularExpression::anchoredPattern(
        u"[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}"));
    return uuid.match(text).hasMatch();
}

QCoro::Task<> MemberData::run(MemberLoad::Kind load, std::function<QCoro::Task<>()> operation)
{
    if (m_loads[load].loading)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    m_loads[load].failure.reset();
    // Ends loading and tells the whole new state once, after the answer below is kept.
    const BusyGuard busy(lifetime, [this, load](bool busy) {
        m_loads[load].loading = busy;
        Q_EMIT loadStateChanged();
    });

    const Outcome<> outcome = co_await attempt(operation());
    // A store discarded with its tabs is not written any more.
    if (!lifetime.alive())
        co_return;
    LoadState &state = m_loads[load];
    state.loaded = state.loaded || outcome.ok();
    if (outcome.failed()) {
        state.failure = outcome.message();
        qCInfo(lcState) << "the load" << load << "failed";
    }
}

QCoro::Task<> MemberData::loadInbox()
{
    return run(MemberLoad::Inbox, [this]() -> QCoro::Task<> {
        const Lifetime::Guard lifetime = m_lifetime.guard();
        const auto inbox = co_await APIClient::get<SiteInbox>(m_api, APIPath::notifications());
        lifetime.check();
        m_inbox = inbox;
        Q_EMIT inboxChanged();
    });
}

QCoro::Task<> MemberData::loadPireps()
{
    return run(MemberLoad::Pireps, [this]() -> QCoro::Task<> {
        const Lifetime::Guard lifetime = m_lifetime.guard();
        const auto answer = co_await APIClient::get<PirepResponse>(m_api, APIPath::pireps());
        lifetime.check();
        m_pireps = answer.pireps;
        m_summary = answer.summary;
        Q_EMIT pirepsChanged();
    });
}

QCoro::Task<> MemberData::loadEvents(bool member)
{
    return run(MemberLoad::Events, [this, member]() -> QCoro::Task<> {
        const Lifetime::Guard lifetime = m_lifetime.guard();
        const auto upcoming = co_await APIClient::get<UpcomingResponse>(m_api, APIPath::upcomingEvents());
        lifetime.check();
        m_events = upcoming.events;
        Q_EMIT eventsChanged();
        if (!member)
            co_return;
        const auto answers = co_await APIClient::get<AttendanceResponse>(m_api, APIPath::eventResponses());
        lifetime.check();
        // A whole new map: answers for events no longer listed go; a later answer for an event wins.
        QHash<QString, QString> attendance;
        for (const Attendance &answer : answers.responses)
            attendance.insert(answer.eventId, answer.response);
        m_attendance = attendance;
        Q_EMIT attendanceChanged();
    });
}

QCoro::Task<> MemberData::loadLeaderboard()
{
    return run(MemberLoad::Leaderboard, [this]() -> QCoro::Task<> {
        const Lifetime::Guard lifetime = m_lifetime.guard();
        const auto board = co_await APIClient::get<LeaderboardResponse>(m_api, APIPath::leaderboard());
        lifetime.check();
        m_leaderboard = board;
        Q_EMIT leaderboardChanged();
    });
}

QCoro::Task<> MemberData::loadRoutes()
{
    return run(MemberLoad::Routes, [this]() -> QCoro::Task<> {
        const Lifetime::Guard lifetime = m_lifetime.guard();
        const auto answer = co_await APIClient::get<RouteResponse>(m_api, APIPath::routes());
        lifetime.check();
        m_routes = answer.routes;
        Q_EMIT routesChanged();
    });
}

QCoro::Task<> MemberData::loadLatestFlight()
{
    return run(MemberLoad::Latest, [this]() -> QCoro::Task<> {
        const Lifetime::Guard lifetime = m_lifetime.guard();
        // The live snapshot is a bonus: without it (or without network) the recent flights decide.
        const std::optional<LiveResponse> snapshot =
            co_await bonus(APIClient::get<LiveResponse>(m_api, APIPath::liveSnapshot()));
        lifetime.check();
        if (snapshot) {
            setLiveMap(snapshot);
            if (const std::optional<LiveFlight> own = snapshot->ownFlight) {
                std::optional<PlanResponse> plan;
                if (own->sessionId && own->flightId && isUuid(*own->sessionId) && isUuid(*own->flightId)) {
                    plan = co_await bonus(APIClient::get<PlanResponse>(
                        m_api, APIPath::livePlan(*own->sessionId, *own->flightId)));
                    lifetime.check();
                }
                setLatestFlight(LiveLatestFlight{*own, plan});
                co_return;
            }
        }
        const auto recent = co_await APIClient::get<RecentFlightsResponse>(m_api, APIPath::recentFlights());
        lifetime.check();
        if (recent.flights.isEmpty())
            setLatestFlight(std::nullopt);
        else
            setLatestFlight(recent.flights.constFirst());
    });
}

QCoro::Task<> MemberData::loadDashboard()
{
    std::vector<QCoro::Task<>> loads;
    loads.push_back(loadInbox());
    loads.push_back(loadPireps());
    loads.push_back(loadEvents(true));
    loads.push_back(loadLeaderboard());
    loads.push_back(loadRoutes());
    loads.push_back(loadLatestFlight());
    loads.push_back(loadSavedMap());
    co_await joinAll(std::move(loads));
}

void MemberData::dropExpiredLiveMap()
{
    if (m_liveMapAt && m_liveMapAt->secsTo(m_now()) > liveMapLifetime)
        setLiveMap(std::nullopt);
}

QCoro::Task<> MemberData::loadSavedMap()
{
    dropExpiredLiveMap();
    if (m_liveMap)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    std::optional<LiveResponse> saved;
    try {
        saved = co_await APIClient::get<LiveResponse>(m_api, APIPath::savedSnapshot());
    } catch (...) {
        co_return;
    }
    // The live answer of the latest-flight load, if it came first, is the newer one.
    if (lifetime.alive() && saved && !m_liveMap)
        setLiveMap(saved);
}

QCoro::Task<> MemberData::respond(FlightEvent event, AttendanceChoice choice)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QJsonObject answered{{QStringLiteral("eventId"), event.id},
                               {QStringLiteral("response"), raw(choice)}};
    const Acknowledgement answer =
        co_await APIClient::post<Acknowledgement>(m_api, APIPath::eventResponses(), answered);
    lifetime.check();
    // The service can refuse with a plain answer too; the buttons must roll back then.
    if (answer.ok == false)
        throw unconfirmed();
    m_attendance.insert(event.id, raw(choice));
    Q_EMIT attendanceChanged();
}

QCoro::Task<bool> MemberData::markInboxRead(QList<QString> ids, bool all)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> written = co_await attempt(sendReadMarks(m_api, std::move(ids), all));
    // A store whose tabs went away, or whose client was retired, has nothing to report.
    if (!lifetime.alive() || written.cancelled())
        co_return false;
    m_loads[MemberLoad::Inbox].failure = written.failureMessage();
    Q_EMIT loadStateChanged();
    if (written.failed())
        co_return false;
    co_await loadInbox();
    co_return true;
}

void MemberData::reload(MemberLoad::Kind load)
{
    switch (load) {
    case MemberLoad::Inbox:
        loadInbox();
        return;
    case MemberLoad::Pireps:
        loadPireps();
        return;
    case MemberLoad::Events:
        loadEvents(true);
        return;
    case MemberLoad::Leaderboard:
        loadLeaderboard();
        return;
    case MemberLoad::Routes:
        loadRoutes();
        return;
    case MemberLoad::Latest:
        loadLatestFlight();
        return;
    }
}

void MemberData::setAttendance(const QString &eventId, const std::optional<QString> &answer)
{
    if (answer)
        m_attendance.insert(eventId, *answer);
    else
        m_attendance.remove(eventId);
    Q_EMIT attendanceChanged();
}

void MemberData::setLiveMap(std::optional<LiveResponse> snapshot)
{
    m_liveMapAt = snapshot ? std::optional(m_now()) : std::nullopt;
    m_liveMap = std::move(snapshot);
    Q_EMIT liveMapChanged();
}

void MemberData::setLatestFlight(std::optional<LatestFlight> flight)
{
    m_latestFlight = std::move(flight);
    Q_EMIT latestFlightChanged();
}
