#include "LogbookModel.h"

#include "Choices.h"
#include "Display.h"
#include "L.h"
#include "PirepText.h"
#include "Retarget.h"
#include "Theme.h"

QHash<int, QByteArray> PirepList::roleNames() const
{
    return {{IdRole, "reportId"},       {FromRole, "from"},       {ToRole, "to"},
            {CaptionRole, "caption"},   {VerdictRole, "verdict"}, {StatusTitleRole, "statusTitle"},
            {AircraftRole, "aircraft"}, {LiveryRole, "livery"},   {MultiplierRole, "multiplier"},
            {DayRole, "day"},           {ReasonRole, "reason"},   {AccessibleRole, "accessibleText"}};
}

QVariant PirepList::value(const Pirep &report, int role) const
{
    switch (role) {
    case IdRole:
        return report.id;
    case FromRole:
        return report.departureCode;
    case ToRole:
        return report.arrivalCode;
    case CaptionRole:
        return Display::duration(report.durationMinutes);
    case VerdictRole:
        return int(Theme::verdictRole(report.state()));
    case StatusTitleRole:
        return report.statusTitle();
    case AircraftRole:
        return report.aircraft;
    case LiveryRole:
        return report.livery;
    case MultiplierRole:
        return PirepText::multiplierChip(report).value_or(QString());
    case DayRole:
        return PirepText::submittedDay(report).value_or(QString());
    case ReasonRole:
        return PirepText::rowReason(report).value_or(QString());
    case AccessibleRole: {
        QStringList parts{report.departureCode + QStringLiteral(" → ") + report.arrivalCode,
                          Display::duration(report.durationMinutes), report.aircraft, report.livery,
                          report.statusTitle()};
        for (const std::optional<QString> &part :
             {PirepText::multiplierChip(report), PirepText::submittedDay(report),
              PirepText::rowReason(report)})
            if (part)
                parts.append(*part);
        return parts.join(QStringLiteral(", "));
    }
    default:
        return {};
    }
}

LogbookModel::LogbookModel(QObject *parent)
    : QObject(parent)
{
    connect(this, &LogbookModel::recordsChanged, this, &LogbookModel::stateChanged);
}

void LogbookModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (m_data) {
        connect(m_data, &MemberData::pirepsChanged, this, &LogbookModel::select);
        connect(m_data, &MemberData::loadStateChanged, this, &LogbookModel::stateChanged);
        connect(m_data, &MemberData::routesChanged, this, &LogbookModel::routesChanged);
        // The loader over the map page hangs on the routes too.
        connect(m_data, &MemberData::routesChanged, this, &LogbookModel::stateChanged);
    }
    select();
    Q_EMIT memberDataChanged();
    Q_EMIT stateChanged();
    Q_EMIT routesChanged();
}

void LogbookModel::setFilter(int filter)
{
    if (filter < All || filter > Rejected || filter == m_filter)
        return;
    m_filter = Filter(filter);
    select();
    Q_EMIT filterChanged();
}

void LogbookModel::setSearch(const QString &search)
{
    if (search == m_search)
        return;
    m_search = search;
    select();
    Q_EMIT searchChanged();
}

QVariantList LogbookModel::filters()
{
    return choices<Filter>({{All, L("全部")},
                            {Pending, L("待审核")},
                            {Inquiry, L("问询")},
                            {Approved, L("已批准")},
                            {Rejected, L("未批准")}});
}

QString LogbookModel::filterValue(Filter filter)
{
    switch (filter) {
    case All:
        return QStringLiteral("all");
    case Pending:
        return QStringLiteral("pending");
    case Inquiry:
        return QStringLiteral("inquiry");
    case Approved:
        return QStringLiteral("approved");
    case Rejected:
        return QStringLiteral("rejected");
    }
    return QStringLiteral("all");
}

bool LogbookModel::passes(const Pirep &report, const QString &filterValue, const QString &search)
{
    if (filterValue == QLatin1String("inquiry")) {
        if (!(report.isPending() && report.isHeld()))
            return false;
    } else if (filterValue != QLatin1String("all")) {
        // A held pending report waits for evidence, not for its review: it shows under the inquiry only.
        if (report.status != filterValue || (report.isPending() && report.isHeld()))
            return false;
    }
    if (search.isEmpty())
        return true;
    // Joined without separators, as typed: a search may run across the arrival code into the aircraft.
    const QString haystack =
        report.departureCode + QStringLiteral(" → ") + report.arrivalCode + report.aircraft + report.livery;
    return haystack.contains(search, Qt::CaseInsensitive);
}

void LogbookModel::select()
{
    QList<Pirep> passing;
    if (m_data) {
        const QString value = filterValue(m_filter);
        for (const Pirep &report : m_data->pireps()) {
            if (passes(report, value, m_search))
                passing.append(report);
        }
    }
    const int before = count();
    const bool changed = passing != m_records.records();
    m_records.setRecords(std::move(passing));
    if (changed || before != count())
        Q_EMIT recordsChanged();
}

QString LogbookModel::countText() const { return Ln(QStringLiteral("%@ 份报告"), count(), count()); }

bool LogbookModel::showsLoader() const
{
    return m_data && m_data->state(MemberLoad::Pireps).loading && count() == 0;
}

bool LogbookModel::showsEmpty() const
{
    return m_data && m_data->state(MemberLoad::Pireps).loaded && count() == 0;
}

bool LogbookModel::routesLoading() const { return m_data && m_data->state(MemberLoad::Routes).loading; }

std::optional<Pirep> LogbookModel::report(int row) const
{
    if (row < 0 || row >= m_records.records().size())
        return std::nullopt;
    return m_records.records().at(row);
}

void LogbookModel::loadUnlessLoaded(MemberLoad::Kind load)
{
    if (m_data && !m_data->state(load).loaded)
        m_data->reload(load);
}

void LogbookModel::showRecords() { loadUnlessLoaded(MemberLoad::Pireps); }
void LogbookModel::showRoutes() { loadUnlessLoaded(MemberLoad::Routes); }

void LogbookModel::reloadPireps()
{
    if (m_data)
        m_data->reload(MemberLoad::Pireps);
}

void LogbookModel::reloadRoutes()
{
    if (m_data)
        m_data->reload(MemberLoad::Routes);
}

void LogbookModel::startOver()
{
    setFilter(All);
    setSearch(QString());
}

void LogbookModel::openPirep(MemberNavigation *navigation, NavigationStacks::Stack stack, int row) const
{
    if (const std::optional<Pirep> chosen = report(row); chosen && navigation)
        navigation->push(stack, PirepRoute{*chosen});
}
