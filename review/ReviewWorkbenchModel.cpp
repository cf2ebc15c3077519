#include "ReviewWorkbenchModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "Display.h"
#include "Join.h"
#include "L.h"
#include "Outcome.h"
#include "Retarget.h"
#include "ReviewLog.h"
#include "ReviewRequest.h"
#include "ReviewText.h"
#include "Theme.h"

#include <algorithm>

namespace {

// The titles of the filter keys, in the same order.
const QStringList filterTitles{TEXT_KEY("待审核"), TEXT_KEY("问询"), TEXT_KEY("已批准"), TEXT_KEY("未批准")};

} // namespace

QHash<int, QByteArray> QueueList::roleNames() const
{
    return {{IdRole, "reportId"},       {ApplicantRole, "applicant"}, {StatusTitleRole, "statusTitle"},
            {VerdictRole, "verdict"},   {RouteRole, "route"},         {EquipmentRole, "equipment"},
            {DurationRole, "duration"}, {SubmittedRole, "submitted"}};
}

QVariant QueueList::value(const Pirep &report, int role) const
{
    switch (role) {
    case IdRole:
        return report.id;
    case ApplicantRole:
        return ReviewText::applicant(report);
    case StatusTitleRole:
        return report.statusTitle();
    case VerdictRole:
        return int(Theme::verdictRole(report.state()));
    case RouteRole:
        return report.departureCode + QStringLiteral(" → ") + report.arrivalCode;
    case EquipmentRole:
        return ReviewText::equipment(report);
    case DurationRole:
        return Display::duration(report.durationMinutes);
    case SubmittedRole:
        return QueueCard::submitted(report);
    default:
        return {};
    }
}

namespace QueueCard {

QString submitted(const Pirep &report)
{
    if (!report.submittedAt || !(*report.submittedAt > 0))
        return {};
    return Display::dateTime(report.submittedAt);
}

} // namespace QueueCard

ReviewWorkbenchModel::ReviewWorkbenchModel(QObject *parent)
    : QObject(parent)
{
}

void ReviewWorkbenchModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    if (m_app)
        connect(m_app, &AppState::stateChanged, this, &ReviewWorkbenchModel::staffChanged);
    Q_EMIT appStateChanged();
    Q_EMIT staffChanged();
}

const QStringList &ReviewWorkbenchModel::filterKeys()
{
    static const QStringList keys{QStringLiteral("pending"), QStringLiteral("inquiry"),
                                  QStringLiteral("approved"), QStringLiteral("rejected")};
    return keys;
}

bool ReviewWorkbenchModel::belongs(const Pirep &report, const QString &key)
{
    const bool held = report.heldAt && *report.heldAt > 0;
    if (key == QLatin1String("inquiry"))
        return report.isPending() && held;
    return report.status == key && !(report.isPending() && held);
}

void ReviewWorkbenchModel::setFilter(const QString &key)
{
    if (key == m_filter)
        return;
    m_filter = key;
    show();
}

void ReviewWorkbenchModel::setFilterIndex(int index)
{
    if (index >= 0 && index < filterKeys().size())
        setFilter(filterKeys().at(index));
}

void ReviewWorkbenchModel::setSearch(const QString &search)
{
    if (search == m_search)
        return;
    m_search = search;
    show();
}

QVariantList ReviewWorkbenchModel::filterOptions() const
{
    QVariantList options;
    for (int i = 0; i < filterKeys().size(); ++i) {
        const QString key = filterKeys().at(i);
        options.append(QVariantMap{{QStringLiteral("title"), L(filterTitles.at(i)) + QLatin1Char(' ')
                                                                 + Display::locale().toString(count(key))},
                                   {QStringLiteral("value"), i},
                                   {QStringLiteral("name"), QStringLiteral("admin.filter.") + key}});
    }
    return options;
}

int ReviewWorkbenchModel::count(const QString &key) const
{
    return int(std::count_if(m_pireps.cbegin(), m_pireps.cend(),
                             [&key](const Pirep &report) { return belongs(report, key); }));
}

QList<Pirep> ReviewWorkbenchModel::visible() const
{
    const QString wanted = m_search.trimmed();
    QList<Pirep> shown;
    for (const Pirep &report : m_pireps) {
        if (!belongs(report, m_filter))
            continue;
        const QString text = QStringList{report.applicantUsername.value_or(QString()), report.departureCode,
                                         report.arrivalCode, report.aircraft, report.livery}
                                 .join(QLatin1Char(' '));
        if (wanted.isEmpty() || text.contains(wanted, Qt::CaseInsensitive))
            shown.append(report);
    }
    return shown;
}

QString ReviewWorkbenchModel::pendingCount() const
{
    return Display::locale().toString(count(QStringLiteral("pending")));
}

QString ReviewWorkbenchModel::inquiryCount() const
{
    return Display::locale().toString(count(QStringLiteral("inquiry")));
}

QString ReviewWorkbenchModel::heading() const
{
    const int index = filterIndex();
    return index < 0 ? QString() : L(filterTitles.at(index));
}

QString ReviewWorkbenchModel::countText() const
{
    return Ln(QStringLiteral("%@ 份报告"), m_rows.rowCount(), m_rows.rowCount());
}

QString ReviewWorkbenchModel::emptyDescription() const
{
    // The untrimmed text decides: a search of blanks is still a search.
    return m_search.isEmpty() ? L(QStringLiteral("下拉可刷新。")) : L(QStringLiteral("请尝试其他搜索内容。"));
}

QString ReviewWorkbenchModel::staffName() const
{
    if (!m_app || !m_app->user())
        return {};
    const User &user = *m_app->user();
    return user.name && !user.name->isEmpty() ? *user.name : user.username;
}

QString ReviewWorkbenchModel::roleLabel() const
{
    // "Developer" is shown as it is, in every language.
    if (m_app && m_app->user() && m_app->user()->role == QLatin1String("developer"))
        return QStringLiteral("Developer");
    return L(QStringLiteral("管理员"));
}

std::optional<Pirep> ReviewWorkbenchModel::report(const QString &id) const
{
    for (const Pirep &report : m_pireps) {
        if (report.id == id)
            return report;
    }
    return std::nullopt;
}

void ReviewWorkbenchModel::show()
{
    m_rows.setRecords(visible());
    Q_EMIT shownChanged();
}

void ReviewWorkbenchModel::appear()
{
    // The shell may make the staff's home for a moment while a member's tabs come up: it asks nothing then.
    if (!m_app || !m_app->user() || m_app->user()->isMember())
        return;
    [](ReviewWorkbenchModel *model) -> QCoro::Task<> {
        std::vector<QCoro::Task<>> both;
        both.push_back(model->load());
        both.push_back(model->loadAvatar());
        co_await joinAll(std::move(both));
    }(this);
}

QCoro::Task<> ReviewWorkbenchModel::load(bool asked)
{
    if (m_loading)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard loading(m_loading, lifetime, [this] { Q_EMIT shownChanged(); });
    const Outcome<PirepResponse> answer =
        co_await attempt(ReviewRequest::get<PirepResponse>(m_app, APIPath::staffPirepsUnchecked()));
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    if (answer.failed()) {
        qCInfo(lcReview, "the review queue failed to load (%d)", answer.status());
        // The last list stays on screen under the error.
        m_error = answer.message();
        if (asked)
            ++m_failures;
    } else {
        m_pireps = answer.value().pireps;
        m_error.reset();
    }
    show();
}

QCoro::Task<> ReviewWorkbenchModel::loadAvatar()
{
    if (!m_app || m_app->hasAvatar() || m_avatarLoading)
        co_return;
    const BusyGuard loading(m_avatarLoading, m_lifetime.guard());
    // A profile that cannot be read leaves the header as it is.
    co_await attempt(m_app->refreshProfile());
}

void ReviewWorkbenchModel::setNotice(const QString &notice)
{
    if (notice == m_notice)
        return;
    m_notice = notice;
    Q_EMIT noticeChanged();
}

void ReviewWorkbenchModel::openReview(MemberNavigation *navigation, const QString &reportId)
{
    // The last review's notice goes with the next review.
    setNotice(QString());
    if (const std::optional<Pirep> found = report(reportId); found && navigation)
        navigation->openReview(*found, this);
}
