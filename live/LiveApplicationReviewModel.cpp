#include "LiveApplicationReviewModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "L.h"
#include "LiveLog.h"
#include "Outcome.h"
#include "Retarget.h"
#include "Strings.h"

#include <QRegularExpression>

namespace {

const QStringList decisions{QStringLiteral("approved"), QStringLiteral("rejected")};
const QStringList outcomes{QStringLiteral("created"), QStringLiteral("not_created"),
                           QStringLiteral("rejected")};

QVariantMap option(const QString &title, int value) { return {{"title", L(title)}, {"value", value}}; }

// The reviewer's texts lose their blanks and line breaks at both ends.
QString trimmed(const QString &text) { return text.trimmed(); }

// Counted as typed, before trimming.
bool reasonFits(const QString &reason)
{
    return Text::perceivedLength(reason) <= LiveApplicationReviewModel::maxReasonLength;
}

// Posts one review through the account's current client; only an answer that says "ok" saved it.
QCoro::Task<LiveReviewResult> post(QPointer<APIClient> client, QString path, QJsonObject body)
{
    const LiveReviewResult result = co_await APIClient::post<LiveReviewResult>(client, path, body);
    if (result.ok != true)
        throw APIError(502, L(QStringLiteral("结果未确认，请刷新后核对。")));
    co_return result;
}

} // namespace

LiveApplicationReviewModel::LiveApplicationReviewModel(QObject *parent)
    : QObject(parent)
{
}

void LiveApplicationReviewModel::setAppState(AppState *app)
{
    if (retarget(m_app, app, this))
        Q_EMIT appStateChanged();
}

void LiveApplicationReviewModel::setItem(const LiveApplicationValue &item)
{
    m_item = item;
    Q_EMIT itemChanged();
    Q_EMIT editChanged();
}

void LiveApplicationReviewModel::setOpener(LiveTabModel *opener)
{
    if (m_opener == opener)
        return;
    m_opener = opener;
    setChanged(opener ? opener->reloader() : std::function<QCoro::Task<>()>());
    Q_EMIT openerChanged();
}

LiveApplicationReviewModel::Mode LiveApplicationReviewModel::mode() const
{
    const QString &status = m_item.item.status;
    if (status == QLatin1String("pending"))
        return Decision;
    if (status == QLatin1String("processing") || status == QLatin1String("needs_review"))
        return Verification;
    return ReadOnly;
}

QVariantList LiveApplicationReviewModel::decisionOptions() const
{
    return {option(TEXT_KEY("批准"), 0), option(TEXT_KEY("不批准"), 1)};
}

int LiveApplicationReviewModel::decisionIndex() const { return int(decisions.indexOf(m_decision)); }
void LiveApplicationReviewModel::setDecisionIndex(int index) { choose(m_decision, decisions, index); }
void LiveApplicationReviewModel::setDecision(const QString &decision)
{
    choose(m_decision, decisions, int(decisions.indexOf(decision)));
}

QVariantList LiveApplicationReviewModel::outcomeOptions() const
{
    return {option(TEXT_KEY("已创建并指派机长"), 0), option(TEXT_KEY("确认未创建，退回待审核"), 1),
            option(TEXT_KEY("不批准"), 2)};
}

int LiveApplicationReviewModel::outcomeIndex() const { return int(outcomes.indexOf(m_outcome)); }
void LiveApplicationReviewModel::setOutcomeIndex(int index) { choose(m_outcome, outcomes, index); }
void LiveApplicationReviewModel::setOutcome(const QString &outcome)
{
    choose(m_outcome, outcomes, int(outcomes.indexOf(outcome)));
}

void LiveApplicationReviewModel::choose(QString &choice, const QStringList &options, int index)
{
    // An index out of range (an unknown choice) changes nothing.
    if (index < 0 || index >= options.size() || options.at(index) == choice)
        return;
    choice = options.at(index);
    Q_EMIT editChanged();
}

void LiveApplicationReviewModel::setReason(const QString &reason)
{
    if (reason == m_reason)
        return;
    m_reason = reason;
    Q_EMIT editChanged();
}

void LiveApplicationReviewModel::setScheduleId(const QString &id)
{
    if (id == m_scheduleId)
        return;
    m_scheduleId = id;
    Q_EMIT editChanged();
}

void LiveApplicationReviewModel::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    Q_EMIT editChanged();
}

bool LiveApplicationReviewModel::isScheduleId(const QString &text)
{
    static const QRegularExpression uuid(QRegularExpression::anchoredPattern(
        QStringLiteral("[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}")));
    return uuid.match(text).hasMatch();
}

bool LiveApplicationReviewModel::asksReason() const
{
    switch (mode()) {
    case Verification:
        return true;
    case Decision:
        return m_decision == QLatin1String("rejected");
    case ReadOnly:
        break;
    }
    return false;
}

bool LiveApplicationReviewModel::valid() const
{
    if (m_busy || m_locked || mode() == ReadOnly)
        return false;
    if (asksReason() && (trimmed(m_reason).isEmpty() || !reasonFits(m_reason)))
        return false;
    if (mode() == Decision)
        return true;
    return m_checked && (m_outcome != QLatin1String("created") || isScheduleId(trimmed(m_scheduleId)));
}

QString LiveApplicationReviewModel::requestName() const
{
    if (mode() == Verification)
        return QStringLiteral("application-resolve");
    return m_decision == QLatin1String("approved") ? QStringLiteral("application-approve")
                                                   : QStringLiteral("application-reject");
}

QJsonObject LiveApplicationReviewModel::body() const
{
    QJsonObject body{{"id", m_item.item.id}};
    if (mode() == Verification) {
        // A schedule id belongs to "created" only: one left in the hidden field is not sent.
        const bool created = m_outcome == QLatin1String("created");
        body.insert("confirmed", m_checked);
        body.insert("outcome", m_outcome);
        body.insert("reason", trimmed(m_reason));
        body.insert("scheduleId", created ? trimmed(m_scheduleId) : QString());
        return body;
    }
    // A reason typed before switching to an approval is hidden, and not sent with it.
    body.insert("reason", m_decision == QLatin1String("approved") ? QString() : trimmed(m_reason));
    return body;
}

void LiveApplicationReviewModel::ask()
{
    if (valid())
        setConfirming(true);
}

void LiveApplicationReviewModel::setConfirming(bool confirming)
{
    if (confirming == m_confirming)
        return;
    m_confirming = confirming;
    Q_EMIT confirmingChanged();
}

QString LiveApplicationReviewModel::confirmMessage() const
{
    if (mode() == Verification)
        return L(QStringLiteral("只保存你已核对的结果，不会自动重建排班。"));
    return m_decision == QLatin1String("approved") ? L(QStringLiteral("将创建官方排班并指派申请人为机长。"))
                                                   : L(QStringLiteral("确认不批准此申请？"));
}

void LiveApplicationReviewModel::setMessage(std::optional<QString> message)
{
    if (message == m_message)
        return;
    m_message = std::move(message);
    Q_EMIT messageChanged();
}

QCoro::Task<> LiveApplicationReviewModel::submit()
{
    setConfirming(false);
    if (!valid())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    // Locked for the rest of the screen's life: a review is sent once.
    m_locked = true;
    const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT editChanged(); });
    const QString path = APIPath::liveDecision(requestName());
    // The reload runs even when the reviewer has left meanwhile.
    const std::function<QCoro::Task<>()> reload = m_changed;
    const Outcome<LiveReviewResult> outcome =
        co_await attempt(post(m_app ? m_app->api() : nullptr, path, body()));
    if (lifetime.alive()) {
        if (outcome.ok()) {
            m_saved = true;
            setMessage(
                outcome.value().warning.value_or(L(QStringLiteral("已保存，请返回列表查看最新状态。"))));
        } else {
            if (outcome.failed())
                qCInfo(lcLive, "the application's review failed (%d)", outcome.status());
            const QString description =
                outcome.failed() ? outcome.message() : L(QStringLiteral("请求已取消。"));
            ++m_failures;
            setMessage(description + QLatin1Char('\n')
                       + L(QStringLiteral("请返回刷新并核对结果，不要重复创建排班。")));
        }
    }
    if (reload)
        co_await reload();
}
