#include "LiveApplicationFormModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "L.h"
#include "LiveLog.h"
#include "Outcome.h"
#include "Retarget.h"
#include "Strings.h"

#include <QRegularExpression>

namespace {

const QString fieldFormat = QStringLiteral("yyyy-MM-dd HH:mm");

} // namespace

LiveApplicationFormModel::LiveApplicationFormModel(QObject *parent)
    : QObject(parent)
{
    reset();
}

void LiveApplicationFormModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    watchForKeeping();
    Q_EMIT appStateChanged();
}

void LiveApplicationFormModel::setItem(const LiveFleetItemValue &item)
{
    m_item = item;
    watchForKeeping();
    Q_EMIT itemChanged();
}

void LiveApplicationFormModel::watchForKeeping()
{
    if (!m_app)
        return;
    m_app->watchForm(this, keptKind(), [this]() -> std::any {
        // Only what the member typed is worth bringing back.
        if (m_departure.isEmpty() && m_arrival.isEmpty() && m_briefing.isEmpty() && m_flightPlan.isEmpty())
            return {};
        return Kept{m_departure, m_arrival,       m_briefing,   m_flightPlan,
                    m_timeless,  m_departureTime, m_arrivalTime};
    });
}

QString LiveApplicationFormModel::title() const
{
    return L(QStringLiteral("申请 %@"), m_item.item.aircraft.registration);
}

void LiveApplicationFormModel::setDeparture(const QString &text) { edit(m_departure, text); }
void LiveApplicationFormModel::setArrival(const QString &text) { edit(m_arrival, text); }
void LiveApplicationFormModel::setBriefing(const QString &text) { edit(m_briefing, text); }
void LiveApplicationFormModel::setFlightPlan(const QString &text) { edit(m_flightPlan, text); }
void LiveApplicationFormModel::setTimeless(bool timeless) { edit(m_timeless, timeless); }
void LiveApplicationFormModel::setDepartureTime(const QDateTime &time) { edit(m_departureTime, time); }
void LiveApplicationFormModel::setArrivalTime(const QDateTime &time) { edit(m_arrivalTime, time); }

QString LiveApplicationFormModel::departureText() const { return fieldText(m_departureTime); }
QString LiveApplicationFormModel::arrivalText() const { return fieldText(m_arrivalTime); }

void LiveApplicationFormModel::setDepartureText(const QString &text)
{
    // A text that is no time leaves the time as it was, and the field shows it again.
    if (const auto time = fieldTime(text))
        setDepartureTime(*time);
    else
        Q_EMIT editChanged();
}

void LiveApplicationFormModel::setArrivalText(const QString &text)
{
    if (const auto time = fieldTime(text))
        setArrivalTime(*time);
    else
        Q_EMIT editChanged();
}

QString LiveApplicationFormModel::fieldText(const QDateTime &time)
{
    return time.toLocalTime().toString(fieldFormat);
}

std::optional<QDateTime> LiveApplicationFormModel::fieldTime(const QString &text)
{
    // Read as local time, as the field shows it.
    const QDateTime time = QDateTime::fromString(text.trimmed(), fieldFormat);
    if (!time.isValid())
        return std::nullopt;
    return time.toUTC();
}

QString LiveApplicationFormModel::wireTime(const QDateTime &time)
{
    // Whole seconds: the ISO form without milliseconds, in UTC, ends in "Z".
    return time.toUTC().toString(Qt::ISODate);
}

bool LiveApplicationFormModel::isAirportCode(const QString &text)
{
    // Anchored to the whole text: "$" alone would let a code with a line break after it through.
    static const QRegularExpression code(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9]{1,8}")));
    return code.match(text).hasMatch();
}

bool LiveApplicationFormModel::valid() const
{
    if (!isAirportCode(m_departure) || !isAirportCode(m_arrival))
        return false;
    if (!m_timeless && !(m_arrivalTime > m_departureTime))
        return false;
    return Text::perceivedLength(m_briefing) <= maxBriefingLength
           && Text::perceivedLength(m_flightPlan) <= maxFlightPlanLength;
}

QJsonObject LiveApplicationFormModel::body() const
{
    QJsonObject schedule{{"originIcao", m_departure.toUpper()},
                         {"destinationIcao", m_arrival.toUpper()},
                         {"flightType", 0},
                         {"isTimeless", m_timeless},
                         {"briefing", m_briefing},
                         {"flightPlan", m_flightPlan}};
    if (!m_timeless) {
        schedule.insert("scheduledDepartureUtc", wireTime(m_departureTime));
        schedule.insert("scheduledArrivalUtc", wireTime(m_arrivalTime));
    }
    // An absent name is left out with its separator; an empty one keeps its place.
    const LiveAircraft &aircraft = m_item.item.aircraft;
    QStringList names;
    for (const std::optional<QString> &name : {aircraft.aircraft, aircraft.livery}) {
        if (name)
            names.append(*name);
    }
    return {{"organizationId", m_item.item.organization.id},
            {"organization", m_item.item.organization.name},
            {"registration", aircraft.registration},
            {"aircraft", names.join(QStringLiteral(" \u00B7 "))},
            {"schedule", schedule}};
}

void LiveApplicationFormModel::reset(const QDateTime &now)
{
    if (m_busy)
        return;
    m_departure.clear();
    m_arrival.clear();
    m_briefing.clear();
    m_flightPlan.clear();
    m_timeless = true;
    m_departureTime = now.toUTC();
    m_arrivalTime = m_departureTime.addSecs(7200);
    // What the member typed for this aircraft before their session ended comes back.
    if (const std::optional<std::any> kept = m_app ? m_app->takeKeptForm(keptKind()) : std::nullopt) {
        if (const Kept *content = std::any_cast<Kept>(&*kept)) {
            m_departure = content->departure;
            m_arrival = content->arrival;
            m_briefing = content->briefing;
            m_flightPlan = content->flightPlan;
            m_timeless = content->timeless;
            m_departureTime = content->departureTime;
            m_arrivalTime = content->arrivalTime;
        }
    }
    Q_EMIT editChanged();
    setMessage(std::nullopt);
}

void LiveApplicationFormModel::setMessage(std::optional<QString> message)
{
    if (message == m_message)
        return;
    m_message = std::move(message);
    Q_EMIT messageChanged();
}

void LiveApplicationFormModel::fail(const QString &message)
{
    ++m_failures;
    m_message = message;
    Q_EMIT messageChanged();
}

QCoro::Task<> LiveApplicationFormModel::apply()
{
    if (m_busy || !valid())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_busy, lifetime, [this] {
        Q_EMIT busyChanged();
        Q_EMIT editChanged();
    });
    // An earlier failure stays in sight until this one has its answer. Whatever the answer says, one that
    // reads is the service's receipt.
    const Outcome<Acknowledgement> outcome = co_await attempt(
        APIClient::post<Acknowledgement>(m_app ? m_app->api() : nullptr, APIPath::liveApply(), body()));
    if (!lifetime.alive())
        co_return;
    if (outcome.ok()) {
        // The page beneath says the application was sent before the sheet goes, so that it is the outcome
        // the keyboard comes back to.
        Q_EMIT submitted();
        Q_EMIT dismissed();
        co_return;
    }
    if (outcome.failed())
        qCInfo(lcLive, "the schedule application failed (%d)", outcome.status());
    // A refusal is the service's answer: nothing was stored. A conflict is not one of them: the earlier
    // application it names may be this one, sent before an answer that was lost, so the opener shows the
    // list.
    if (outcome.status() == 400 || outcome.status() == 403) {
        fail(outcome.message());
        co_return;
    }
    // Any other end may have come after the service stored it: the opener shows what arrived.
    const QString description = outcome.failed() ? outcome.message() : L(QStringLiteral("请求已取消。"));
    fail(description + QLatin1Char('\n')
         + L(QStringLiteral("请返回查看申请列表，确认结果后再申请，避免重复提交。")));
    Q_EMIT submitted();
}
