#include "ProfilePageModel.h"

#include "APIPath.h"
#include "AccountLog.h"
#include "L.h"
#include "Outcome.h"
#include "Retarget.h"

#include <QLocale>
#include <QVariantMap>

#include <cmath>

ProfilePageModel::ProfilePageModel(QObject *parent)
    : QObject(parent)
{
}

void ProfilePageModel::setAppState(AppState *state)
{
    if (!retarget(m_appState, state, this))
        return;
    if (state) {
        // The user names the page and finds the rank's row; the profile fills the rest.
        connect(state, &AppState::sessionChanged, this, [this] {
            Q_EMIT profileChanged();
            Q_EMIT rankChanged();
        });
        connect(state, &AppState::profileChanged, this, &ProfilePageModel::profileChanged);
    }
    Q_EMIT inputsChanged();
    Q_EMIT profileChanged();
    Q_EMIT rankChanged();
}

void ProfilePageModel::setMemberData(MemberData *data)
{
    if (!retarget(m_memberData, data, this))
        return;
    if (data)
        connect(data, &MemberData::leaderboardChanged, this, &ProfilePageModel::rankChanged);
    Q_EMIT inputsChanged();
    Q_EMIT rankChanged();
}

QString ProfilePageModel::displayName() const
{
    if (!m_appState || !m_appState->user())
        return QString();
    const User &user = *m_appState->user();
    return user.name && !user.name->isEmpty() ? *user.name : user.username;
}

namespace {

QVariant value(const std::optional<double> &number) { return number ? QVariant(*number) : QVariant(); }

} // namespace

QVariant ProfilePageModel::joinedAt() const { return m_summary ? value(m_summary->joinedAt) : QVariant(); }
QVariant ProfilePageModel::lastPirepAt() const
{
    return m_summary ? value(m_summary->lastPirepAt) : QVariant();
}
QVariant ProfilePageModel::approvedMinutes() const
{
    return m_summary ? value(m_summary->approvedMinutes) : QVariant();
}

QString ProfilePageModel::rankOf(const QString &username, const std::optional<LeaderboardResponse> &board)
{
    if (username.isEmpty() || !board)
        return QStringLiteral("—");
    const QString wanted = username.toLower().normalized(QString::NormalizationForm_C);
    for (qsizetype i = 0; i < board->members.size(); ++i) {
        if (board->members.at(i).username.toLower().normalized(QString::NormalizationForm_C) == wanted)
            return QStringLiteral("#") + QString::number(i + 1);
    }
    return QStringLiteral("—");
}

QString ProfilePageModel::rank() const
{
    if (!m_appState || !m_appState->user() || !m_memberData)
        return QStringLiteral("—");
    return rankOf(m_appState->user()->username, m_memberData->leaderboard());
}

QStringList ProfilePageModel::statisticsValues() const
{
    const QLocale locale;
    const auto whole = [&](const std::optional<double> &number) {
        return number && std::isfinite(*number) ? locale.toString(*number, 'f', 0) : QStringLiteral("—");
    };
    const std::optional<IFStatistics> &s = m_statistics;
    if (!s)
        return QStringList(6, QStringLiteral("—"));
    const QString hours = s->flightTime && std::isfinite(*s->flightTime)
                              ? locale.toString(*s->flightTime / 60.0, 'f', 1)
                              : QStringLiteral("—");
    return {whole(s->grade),         hours,        whole(s->landingCount),
            whole(s->onlineFlights), whole(s->xp), whole(s->violations)};
}

QString ProfilePageModel::callsign() const
{
    return m_appState && m_appState->profile() ? m_appState->profile()->formattedCallsign()
                                               : QStringLiteral("—");
}

QString ProfilePageModel::contactEmail() const
{
    return m_appState && m_appState->profile() ? m_appState->profile()->contactEmail : QStringLiteral("—");
}

QString ProfilePageModel::discordUsername() const
{
    return m_appState && m_appState->profile() ? m_appState->profile()->discordUsername.value_or(QString())
                                               : QString();
}

QString ProfilePageModel::organization() const
{
    if (!m_statistics || !m_statistics->virtualOrganization)
        return L(QStringLiteral("所属组织：")) + L(QStringLiteral("未设置"));
    return L(QStringLiteral("所属组织：")) + *m_statistics->virtualOrganization;
}

QCoro::Task<> ProfilePageModel::load(bool asked)
{
    if (!m_appState)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QPointer<AppState> state = m_appState;
    const auto fetch = [](QPointer<AppState> state) -> QCoro::Task<std::optional<ProfileSummary>> {
        if (!state)
            throw CancellationError();
        co_await state->refreshProfile();
        co_return co_await APIClient::get<ProfileSummary>(state ? state->api() : nullptr,
                                                          APIPath::profileSummary());
    };
    const Outcome<std::optional<ProfileSummary>> outcome = co_await attempt(fetch(state));
    if (!lifetime.alive())
        co_return;
    // A load cancelled with the page, or by a retired client, is dropped silently.
    if (outcome.cancelled())
        co_return;
    if (outcome.failed()) {
        m_error = outcome.message();
        if (asked)
            ++m_failures;
        Q_EMIT recordChanged();
        co_return;
    }
    m_summary = outcome.value();
    m_error.reset();
    Q_EMIT recordChanged();
    if (m_memberData && !m_memberData->leaderboard())
        co_await m_memberData->loadLeaderboard();
}

QCoro::Task<> ProfilePageModel::loadStatistics()
{
    if (!m_appState || !m_appState->api())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    m_statisticsState = QStringLiteral("loading");
    Q_EMIT statisticsChanged();
    const Outcome<std::optional<IFStatistics>> outcome =
        co_await attempt(APIClient::get<IFStatistics>(m_appState->api(), APIPath::flightStatistics()));
    // A load cancelled with the page, or by a retired client, is dropped silently.
    if (!lifetime.alive() || outcome.cancelled())
        co_return;
    if (outcome.ok()) {
        m_statistics = outcome.value();
        m_statisticsState = QStringLiteral("ready");
    } else {
        m_statisticsState = outcome.status() == 404 ? QStringLiteral("missing") : QStringLiteral("failed");
    }
    Q_EMIT statisticsChanged();
}
