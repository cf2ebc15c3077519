#include "LeaderboardModel.h"

#include "APIPath.h"
#include "Airports.h"
#include "Busy.h"
#include "Choices.h"
#include "CommunityLog.h"
#include "Display.h"
#include "Outcome.h"
#include "Retarget.h"
#include "Strings.h"
#include "Symbols.h"
#include "Theme.h"

#include <QCollator>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {

// Counts of a faulty or hostile answer may add up beyond 64 bits: they stop at the largest (or smallest)
// count instead.
qint64 saturatedSum(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (qAddOverflow(a, b, &sum))
        return a > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return sum;
}

// Greater value first, equal values by the name in the order people expect in their language (letter
// case ignored, digit runs compared as numbers: 9 before 10); a stable sort keeps the answer's order for
// the rest.
template <typename Row, typename Value, typename Name>
QList<Row> ranked(QList<Row> rows, Value value, Name name)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
        const double va = value(a), vb = value(b);
        return va != vb ? va > vb : collator.compare(name(a), name(b)) < 0;
    });
    return rows;
}

template <typename Row, typename Value>
QList<int> ranksOf(const QList<Row> &rows, Value value)
{
    QList<double> values;
    values.reserve(rows.size());
    for (const Row &row : rows)
        values.append(value(row));
    return LeaderboardModel::competitionRanks(values);
}

} // namespace

QVariant LeaderboardRows::value(const LeaderboardRow &row, int role) const
{
    switch (role) {
    case RankRole:
        return row.rank;
    case TitleRole:
        return row.title;
    case CaptionRole:
        return row.caption;
    case FlagRole:
        return row.flag;
    case TrailingRole:
        return row.trailing;
    case HighlightedRole:
        return row.highlighted;
    case AircraftRole:
        return row.aircraft;
    case LiveryRole:
        return row.livery;
    case DurationRole:
        return row.duration;
    case LandingsRole:
        return row.landings;
    case MedalRole:
        return LeaderboardModel::medalTint(row.rank);
    default:
        return {};
    }
}

QHash<int, QByteArray> LeaderboardRows::roleNames() const
{
    return {{RankRole, "rank"},         {TitleRole, "title"},       {CaptionRole, "caption"},
            {FlagRole, "flag"},         {TrailingRole, "trailing"}, {HighlightedRole, "highlighted"},
            {AircraftRole, "aircraft"}, {LiveryRole, "livery"},     {DurationRole, "duration"},
            {LandingsRole, "landings"}, {MedalRole, "medal"}};
}

LeaderboardModel::LeaderboardModel(QObject *parent)
    : QObject(parent)
{
}

void LeaderboardModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (data) {
        connect(data, &MemberData::leaderboardChanged, this, &LeaderboardModel::update);
        connect(data, &MemberData::loadStateChanged, this, &LeaderboardModel::update);
    }
    Q_EMIT inputsChanged();
    update();
}

void LeaderboardModel::setClient(APIClient *client)
{
    if (takeClient(client))
        Q_EMIT inputsChanged();
}

void LeaderboardModel::setUsername(const QString &username)
{
    if (!takeUsername(username))
        return;
    Q_EMIT inputsChanged();
    update();
}

void LeaderboardModel::setBoard(Board board)
{
    if (m_board == board)
        return;
    m_board = board;
    Q_EMIT choiceChanged();
    update();
}

void LeaderboardModel::setPeriod(Period period)
{
    if (m_period == period)
        return;
    m_period = period;
    Q_EMIT choiceChanged();
    followPeriod();
    update();
}

void LeaderboardModel::setMetric(Metric metric)
{
    if (m_metric == metric)
        return;
    m_metric = metric;
    Q_EMIT choiceChanged();
    update();
}

QVariantList LeaderboardModel::boards()
{
    return choices<Board>(
        {{Members, L("成员")}, {Fleet, L("机队")}, {Airports, L("机场")}, {Reviews, L("管理员")}});
}

QVariantList LeaderboardModel::periods()
{
    return choices<Period>({{Total, L("全部")}, {Recent, L("最近 30 天")}});
}

QVariantList LeaderboardModel::metrics()
{
    return choices<Metric>({{Time, L("飞行时长")}, {Landings, L("降落次数")}});
}

void LeaderboardModel::appear()
{
    if (m_data)
        m_data->loadLeaderboard();
    followPeriod();
}

void LeaderboardModel::followPeriod()
{
    // The recent load the last period started is left behind as cancelled: its busy guard ends loading
    // now, and it leaves no error.
    m_periodRun.restart();
    if (m_period == Recent && !m_recent)
        loadRecent();
}

QCoro::Task<> LeaderboardModel::reload()
{
    if (m_period == Recent) {
        // A refresh or a retry is not the period's own run: a change of period leaves it running.
        const Lifetime::Guard lifetime = m_lifetime.guard();
        co_await loadRecentWith(lifetime, true);
    } else if (m_data) {
        co_await m_data->loadLeaderboard();
    }
}

QCoro::Task<> LeaderboardModel::loadRecent() { return loadRecentWith(m_periodRun.guard()); }

QCoro::Task<> LeaderboardModel::loadRecentWith(Lifetime::Guard run, bool asked)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard loading(m_recentLoading, run, [this] { update(); });
    const Outcome<std::optional<LeaderboardResponse>> answer =
        co_await attempt(APIClient::get<LeaderboardResponse>(m_client, APIPath::recentLeaderboard()));
    if (!lifetime.alive() || !run.alive() || answer.cancelled())
        co_return;
    if (answer.ok()) {
        m_recent = answer.value();
        m_recentError.reset();
    } else {
        m_recentError = answer.message();
        if (asked)
            ++m_failures;
        qCInfo(lcCommunity, "the recent leaderboard failed");
    }
    update();
}

const std::optional<LeaderboardResponse> &LeaderboardModel::current() const
{
    static const std::optional<LeaderboardResponse> none;
    if (m_period == Recent)
        return m_recent;
    return m_data ? m_data->leaderboard() : none;
}

std::optional<QString> LeaderboardModel::failure() const
{
    if (m_period == Recent)
        return m_recentError;
    return m_data ? m_data->state(MemberLoad::Leaderboard).failure : std::nullopt;
}

bool LeaderboardModel::loading() const
{
    if (m_period == Recent)
        return m_recentLoading;
    return m_data && m_data->state(MemberLoad::Leaderboard).loading;
}

QString LeaderboardModel::note() const
{
    switch (m_board) {
    case Airports:
        return L("按成员已批准 PIREP 的到达机场累计降落次数；旧报告缺失次数不计。");
    case Reviews:
        return L("统计批准和拒绝的报告，每份只计一次，归于当前审核人。");
    case Members:
    case Fleet:
        break;
    }
    return L("仅统计 Member 成员已批准的 PIREP。");
}

QString LeaderboardModel::emptyTitle() const
{
    switch (m_board) {
    case Members:
        return L("暂无排名");
    case Fleet:
        return L("暂无机队统计");
    case Airports:
        return L("暂无机场统计");
    case Reviews:
        break;
    }
    return L("暂无管理员");
}

QString LeaderboardModel::emptySymbol() const
{
    switch (m_board) {
    case Members:
        return SYMBOL("trophy");
    case Fleet:
        return SYMBOL("airplane");
    case Airports:
        return SYMBOL("mappin.and.ellipse");
    case Reviews:
        break;
    }
    return SYMBOL("checkmark.seal");
}

QString LeaderboardModel::emptyDescription() const
{
    return m_board == Reviews ? QString() : L("批准后的报告将计入排行榜。");
}

void LeaderboardModel::update()
{
    QList<LeaderboardRow> rows;
    if (const auto &answer = current()) {
        switch (m_board) {
        case Members:
            rows = members(answer->members);
            break;
        case Fleet:
            rows = fleet(answer->aircraft.value_or(QList<FleetTotal>()));
            break;
        case Airports:
            rows = airports(answer->airports.value_or(QList<AirportTotal>()));
            break;
        case Reviews:
            rows = reviewers(people(answer->reviewers.value_or(QList<ReviewerTotal>()), m_period == Recent));
            break;
        }
    }
    // A load starting or ending leaves the rows as they are: the delegates stay.
    m_rows.setRecords(std::move(rows));
    Q_EMIT contentChanged();
}

QList<int> LeaderboardModel::competitionRanks(const QList<double> &values)
{
    QList<int> ranks;
    ranks.reserve(values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        ranks.append(i > 0 && values.at(i) == values.at(i - 1) ? ranks.last() : int(i + 1));
    return ranks;
}

QColor LeaderboardModel::medalTint(int rank)
{
    switch (rank) {
    case 1:
        return Palette::rgb(Palette::gold);
    case 2:
        return Palette::rgb(0xA7AFBA);
    case 3:
        return Palette::rgb(0xC48A5A);
    default:
        return {};
    }
}

QList<FleetTotal> LeaderboardModel::combined(const QList<FleetTotal> &rows)
{
    QList<FleetTotal> merged;
    QHash<QString, qsizetype> seen;
    for (const FleetTotal &row : rows) {
        const QString aircraft = Text::trimmedHorizontally(row.aircraft),
                      livery = Text::trimmedHorizontally(row.livery);
        if (aircraft.isEmpty())
            continue;
        const QString key = aircraft.toLower() + QChar(u'\0') + livery.toLower();
        const auto found = seen.constFind(key);
        if (found == seen.cend()) {
            seen.insert(key, merged.size());
            merged.append({aircraft, livery, row.flights, row.minutes, row.landings});
            continue;
        }
        FleetTotal &stored = merged[*found];
        stored.flights = saturatedSum(stored.flights.value_or(0), row.flights.value_or(0));
        stored.minutes = stored.minutes.value_or(0) + row.minutes.value_or(0);
        stored.landings = saturatedSum(stored.landings.value_or(0), row.landings.value_or(0));
    }
    return merged;
}

QString LeaderboardModel::cleanedName(const QString &name)
{
    // "\\z": the very end; "$" also matched before a final line feed.
    static const QRegularExpression ending(QStringLiteral("(admin|dev)\\z"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString cleaned = Text::trimmedHorizontally(name).remove(ending);
    return cleaned.isEmpty() ? name : cleaned;
}

QList<Reviewer> LeaderboardModel::people(const QList<ReviewerTotal> &rows, bool recent)
{
    QList<Reviewer> reviewers;
    QHash<QString, qsizetype> seen;
    for (const ReviewerTotal &row : rows) {
        const QString base = cleanedName(row.username);
        const QString key = base.toLower();
        auto found = seen.constFind(key);
        if (found == seen.cend()) {
            found = seen.insert(key, reviewers.size());
            reviewers.append({key, cleanedName(row.displayName.value_or(base)), 0});
        }
        reviewers[*found].reviews =
            saturatedSum(reviewers[*found].reviews, (recent ? row.recentReviews : row.reviews).value_or(0));
    }
    std::sort(reviewers.begin(), reviewers.end(), [](const Reviewer &a, const Reviewer &b) {
        return a.reviews != b.reviews ? a.reviews > b.reviews : a.key < b.key;
    });
    return reviewers;
}

QList<LeaderboardRow> LeaderboardModel::members(const QList<LeaderboardMember> &rows) const
{
    const auto value = [this](const LeaderboardMember &m) {
        return m_metric == Time ? m.approvedMinutes : double(m.approvedLandings.value_or(0));
    };
    const auto name = [](const LeaderboardMember &m) { return m.displayName.value_or(m.username); };
    const QList<LeaderboardMember> ordered = ranked(rows, value, name);
    const QList<int> ranks = ranksOf(ordered, value);
    const QString me = m_username.toLower();
    QList<LeaderboardRow> shown;
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const LeaderboardMember &m = ordered.at(i);
        shown.append({.rank = ranks.at(i),
                      .title = name(m),
                      .caption = Ln("%@ · %@ 次降落", m.approvedLandings.value_or(0),
                                    Display::duration(m.approvedMinutes), m.approvedLandings.value_or(0)),
                      .highlighted = !me.isEmpty() && m.username.toLower() == me});
    }
    return shown;
}

QList<LeaderboardRow> LeaderboardModel::fleet(const QList<FleetTotal> &rows) const
{
    const auto value = [this](const FleetTotal &f) {
        return m_metric == Time ? f.minutes.value_or(0) : double(f.landings.value_or(0));
    };
    const auto name = [](const FleetTotal &f) { return f.aircraft + f.livery; };
    const QList<FleetTotal> ordered = ranked(combined(rows), value, name);
    const QList<int> ranks = ranksOf(ordered, value);
    QList<LeaderboardRow> shown;
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const FleetTotal &f = ordered.at(i);
        shown.append({.rank = ranks.at(i),
                      .title = f.aircraft,
                      .caption = f.livery,
                      .aircraft = f.aircraft,
                      .livery = f.livery,
                      .duration = Display::duration(f.minutes),
                      .landings = L("%@ 次", f.landings.value_or(0))});
    }
    return shown;
}

QList<LeaderboardRow> LeaderboardModel::airports(const QList<AirportTotal> &rows)
{
    QList<AirportTotal> listed;
    std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(listed),
                 [](const AirportTotal &a) { return a.landings > 0; });
    std::stable_sort(listed.begin(), listed.end(), [](const AirportTotal &a, const AirportTotal &b) {
        return a.landings != b.landings ? a.landings > b.landings : a.airport < b.airport;
    });
    const QList<int> ranks = ranksOf(listed, [](const AirportTotal &a) { return double(a.landings); });
    QList<LeaderboardRow> shown;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const AirportTotal &a = listed.at(i);
        shown.append({.rank = ranks.at(i),
                      .title = AirportNames::name(a.airport).value_or(a.airport),
                      .caption = a.airport,
                      .flag = AirportNames::flag(a.airport).value_or(QString()),
                      .trailing = Ln("%@ 次降落", a.landings, a.landings)});
    }
    return shown;
}

QList<LeaderboardRow> LeaderboardModel::reviewers(const QList<Reviewer> &rows)
{
    const QList<int> ranks = ranksOf(rows, [](const Reviewer &r) { return double(r.reviews); });
    QList<LeaderboardRow> shown;
    for (qsizetype i = 0; i < rows.size(); ++i)
        shown.append({.rank = ranks.at(i),
                      .title = rows.at(i).name,
                      .trailing = Ln("%@ 份", rows.at(i).reviews, rows.at(i).reviews)});
    return shown;
}
