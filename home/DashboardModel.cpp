#include "DashboardModel.h"

#include "Busy.h"
#include "Display.h"
#include "Join.h"
#include "Outcome.h"
#include "Retarget.h"
#include "Symbols.h"

QVariant HeldPirepsModel::value(const Pirep &report, int role) const
{
    switch (role) {
    case IdRole:
        return report.id;
    case TitleRole:
        return L("%@ 需补充证据", report.departureCode + QStringLiteral(" → ") + report.arrivalCode);
    case DetailRole:
        // No note asks for screenshots; an empty note is shown as it is.
        return report.holdNote ? *report.holdNote : L("请补充截图");
    default:
        return {};
    }
}

QHash<int, QByteArray> HeldPirepsModel::roleNames() const
{
    return {{IdRole, "reportId"}, {TitleRole, "title"}, {DetailRole, "detail"}};
}

DashboardModel::DashboardModel(QObject *parent)
    : QObject(parent)
{
}

void DashboardModel::setAppState(AppState *state)
{
    if (!retarget(m_app, state, this))
        return;
    if (state) {
        // The user's name and the rank's row; the callsign and what the profile lacks.
        connect(state, &AppState::sessionChanged, this, [this] { tell(Member | Figures); });
        connect(state, &AppState::profileChanged, this, [this] { tell(Member | Todo); });
    }
    tell(Inputs | Member | Figures | Todo);
}

void DashboardModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (data) {
        connect(data, &MemberData::loadStateChanged, this, [this] { tell(Figures | Loading); });
        connect(data, &MemberData::pirepsChanged, this, [this] {
            followPireps();
            tell(Figures | Todo);
        });
        connect(data, &MemberData::leaderboardChanged, this, [this] { tell(Figures); });
        for (auto signal : {&MemberData::eventsChanged, &MemberData::inboxChanged,
                            &MemberData::latestFlightChanged, &MemberData::routesChanged})
            connect(data, signal, this, [this] { tell(Content); });
    }
    followPireps();
    tell(Inputs | Figures | Todo | Content | Loading);
}

void DashboardModel::setNavigation(MemberNavigation *navigation)
{
    if (m_navigation == navigation)
        return;
    m_navigation = navigation;
    tell(Inputs);
}

void DashboardModel::tell(int concerns)
{
    if (concerns & Inputs)
        Q_EMIT inputsChanged();
    if (concerns & Member)
        Q_EMIT memberChanged();
    if (concerns & Figures)
        Q_EMIT figuresChanged();
    if (concerns & Todo)
        Q_EMIT todoChanged();
    if (concerns & Content)
        Q_EMIT contentChanged();
    if (concerns & Loading)
        Q_EMIT loadingChanged();
}

void DashboardModel::followPireps() { m_held.setRecords(held(m_data ? m_data->pireps() : QList<Pirep>())); }

QList<Pirep> DashboardModel::held(const QList<Pirep> &reports)
{
    QList<Pirep> held;
    for (const Pirep &report : reports) {
        if (report.state() == PirepState::OnHold)
            held.append(report);
    }
    return held;
}

QString DashboardModel::displayName() const
{
    if (!m_app || !m_app->user())
        return L("飞行员");
    const User &user = *m_app->user();
    return user.name && !user.name->isEmpty() ? *user.name : user.username;
}

QString DashboardModel::greeting() const { return L("欢迎回来，%@", displayName()); }

QString DashboardModel::callsignLine() const
{
    const QString callsign =
        m_app && m_app->profile() ? m_app->profile()->formattedCallsign() : Display::missing;
    return callsign + QStringLiteral(" · ") + L("VORNA 成员");
}

QString DashboardModel::approvedDuration() const
{
    const auto &summary = m_data ? m_data->summary() : std::nullopt;
    return Display::duration(summary ? summary->approvedDurationMinutes : std::nullopt);
}

QString DashboardModel::approvedCount() const
{
    const auto &summary = m_data ? m_data->summary() : std::nullopt;
    return summary && summary->approvedCount ? QString::number(*summary->approvedCount) : Display::missing;
}

QString DashboardModel::pendingCount() const
{
    if (!m_data || !m_data->state(MemberLoad::Pireps).loaded)
        return Display::missing;
    const auto &reports = m_data->pireps();
    return QString::number(std::count_if(reports.cbegin(), reports.cend(),
                                         [](const Pirep &report) { return report.isPending(); }));
}

std::optional<int> DashboardModel::rank() const
{
    if (!m_app || !m_app->user() || !m_data || !m_data->leaderboard())
        return std::nullopt;
    const QString me = m_app->user()->username.toLower();
    const auto &members = m_data->leaderboard()->members;
    for (qsizetype i = 0; i < members.size(); ++i) {
        if (members.at(i).username.toLower() == me)
            return int(i + 1);
    }
    return std::nullopt;
}

QString DashboardModel::rankText() const
{
    const std::optional<int> position = rank();
    return position ? QStringLiteral("#%1").arg(*position) : Display::missing;
}

bool DashboardModel::profileIncomplete() const
{
    if (!m_app || !m_app->profile())
        return false;
    const Profile &profile = *m_app->profile();
    return !profile.hasAvatar || profile.callsign.isEmpty() || profile.contactEmail.isEmpty();
}

bool DashboardModel::showsTodo() const { return profileIncomplete() || m_held.rowCount() > 0; }

QString DashboardModel::todoSubtitle() const
{
    return m_held.rowCount() > 0 ? L("管理员需要更多飞行证明") : QString();
}

QString DashboardModel::bellSymbol() const
{
    const bool unread = m_data && m_data->inbox() && m_data->inbox()->unreadCount > 0;
    return unread ? SYMBOL("bell.badge") : SYMBOL("bell");
}

bool DashboardModel::showsLoader() const
{
    if (!m_data)
        return false;
    const LoadState reports = m_data->state(MemberLoad::Pireps);
    return reports.loading && !reports.loaded;
}

QCoro::Task<> DashboardModel::refresh()
{
    // A refresh that meets a running one would only ask for the profile again.
    if (m_refreshing)
        co_return;
    const BusyGuard refreshing(m_refreshing, m_lifetime.guard());
    std::vector<QCoro::Task<>> loads;
    loads.push_back(loadProfile());
    if (m_data)
        loads.push_back(m_data->loadDashboard());
    co_await joinAll(std::move(loads));
}

QCoro::Task<> DashboardModel::loadProfile(bool asked)
{
    if (!m_app)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> refreshed = co_await attempt(m_app->refreshProfile());
    // The page or the client went away: nothing to tell.
    if (!lifetime.alive() || refreshed.cancelled())
        co_return;
    m_profileError = refreshed.failureMessage();
    if (asked && refreshed.failed())
        ++m_profileFailures;
    tell(Loading);
}

void DashboardModel::openHeldPirep(int index)
{
    if (m_navigation && index >= 0 && index < m_held.records().size())
        m_navigation->openPirep(m_held.records().at(index));
}

void DashboardModel::openLatestFlight()
{
    if (!m_navigation || !m_data || !m_data->latestFlight())
        return;
    if (const auto *recent = std::get_if<RecentFlight>(&*m_data->latestFlight()))
        m_navigation->openPrefilledPirep(*recent);
    else
        m_navigation->openSubmission();
}

EventValue DashboardModel::eventAt(int index) const
{
    if (!m_data || index < 0 || index >= m_data->events().size())
        return {};
    return {m_data->events().at(index)};
}

void DashboardModel::openEvent(int index)
{
    if (m_navigation && m_data && index >= 0 && index < m_data->events().size())
        m_navigation->openEvent(m_data->events().at(index));
}
