#include "PirepReviewModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "Join.h"
#include "L.h"
#include "Outcome.h"
#include "Retarget.h"
#include "ReviewLog.h"
#include "ReviewRequest.h"
#include "Theme.h"

PirepReviewModel::PirepReviewModel(QObject *parent)
    : QObject(parent)
{
}

void PirepReviewModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    if (m_app)
        connect(m_app, &AppState::stateChanged, this, &PirepReviewModel::reportChanged);
    Q_EMIT appStateChanged();
    Q_EMIT reportChanged();
}

void PirepReviewModel::setPirep(const Pirep &report)
{
    m_report = report;
    m_checked = report;
    m_form = ReviewDecision::of(report);
    m_opened = m_form;
    if (m_app) {
        // A decision being written when the session ended comes back for the same report.
        const QString kind = QStringLiteral("review:") + report.id;
        if (const std::optional<std::any> kept = m_app->takeKeptForm(kind)) {
            if (const ReviewDecision *content = std::any_cast<ReviewDecision>(&*kept))
                m_form = *content;
        }
        m_app->watchForm(this, kind,
                         [this]() -> std::any { return m_form == m_opened ? std::any() : std::any(m_form); });
    }
    Q_EMIT reportChanged();
    Q_EMIT checksChanged();
    Q_EMIT editChanged();
}

void PirepReviewModel::openRoute(MemberNavigation *navigation, const PageRoute &route)
{
    if (const std::optional<ReviewRoute> shown = MemberNavigation::routeIn<ReviewRoute>(navigation, route)) {
        m_queue = qobject_cast<ReviewWorkbenchModel *>(shown->queue);
        setPirep(shown->report);
    }
}

int PirepReviewModel::verdict() const { return int(Theme::verdictRole(m_report.state())); }

bool PirepReviewModel::showsDelete() const
{
    return m_app && m_app->user() && m_app->user()->role == QLatin1String("developer");
}

QVariantList PirepReviewModel::checkLines() const
{
    QVariantList lines;
    for (const ReviewText::Line &line : checkList())
        lines.append(QVariantMap{{"text", line.text},
                                 {"tone", int(line.tone)},
                                 {"label", line.label},
                                 {"spoken", ReviewText::spoken(line)}});
    return lines;
}

bool PirepReviewModel::showsNoChecks() const
{
    return !m_checking && !m_checkError && !checked().ifRouteCheck && !checked().callsignReview;
}

QVariantList PirepReviewModel::historyRows() const
{
    QVariantList rows;
    for (const ReviewEntry &entry : m_history) {
        const ReviewText::HistoryRow row = ReviewText::historyRow(entry);
        // The lines between the title and the time, each only when the entry has it.
        QStringList lines;
        for (const std::optional<QString> &line : {row.status, row.reason, row.multiplier}) {
            if (line)
                lines.append(*line);
        }
        const QVariantMap shown{{"title", row.title}, {"lines", lines}, {"time", row.time}};
        rows.append(shown);
    }
    return rows;
}

void PirepReviewModel::setDecision(const QString &decision)
{
    if (decision == m_form.decision || !ReviewDecision::decisions.contains(decision))
        return;
    m_form.decision = decision;
    Q_EMIT editChanged();
}

void PirepReviewModel::setDecisionIndex(int index)
{
    if (index >= 0 && index < ReviewDecision::decisions.size())
        setDecision(ReviewDecision::decisions.at(index));
}

void PirepReviewModel::setNote(const QString &note)
{
    if (note == m_form.note)
        return;
    m_form.note = note;
    Q_EMIT editChanged();
}

void PirepReviewModel::setReason(const QString &reason)
{
    if (reason == m_form.reason)
        return;
    m_form.reason = reason;
    Q_EMIT editChanged();
}

void PirepReviewModel::setPercent(double percent)
{
    if (percent == m_form.percent)
        return;
    m_form.percent = percent;
    Q_EMIT editChanged();
}

void PirepReviewModel::setMultiplierIndex(int index)
{
    if (index >= 0 && index < ReviewDecision::percents.size())
        setPercent(ReviewDecision::percents.at(index));
}

void PirepReviewModel::ask(const QString &action)
{
    m_confirmAction = action;
    // The alert's texts and buttons follow the action before it shows.
    Q_EMIT confirmChanged();
    m_confirming = true;
    Q_EMIT confirmChanged();
}

void PirepReviewModel::setConfirming(bool confirming)
{
    if (confirming == m_confirming)
        return;
    m_confirming = confirming;
    Q_EMIT confirmChanged();
}

QString PirepReviewModel::pathSegment(const QString &action)
{
    return action == QLatin1String("release") ? QStringLiteral("hold") : action;
}

void PirepReviewModel::setError(std::optional<QString> error)
{
    if (error == m_error)
        return;
    m_error = std::move(error);
    Q_EMIT errorChanged();
}

void PirepReviewModel::appear()
{
    loadRecords();
    loadChecks();
}

QCoro::Task<> PirepReviewModel::loadRecords()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<EvidenceResponse> evidence =
        co_await attempt(ReviewRequest::get<EvidenceResponse>(m_app, APIPath::evidence(m_report.id)));
    if (!lifetime.alive() || evidence.cancelled())
        co_return;
    if (evidence.failed()) {
        // Without the evidence the history is not asked for.
        setError(evidence.message());
        co_return;
    }
    m_evidence.clear();
    for (const Evidence &file : evidence.value().files)
        m_evidence.append(file.url);
    Q_EMIT loadedChanged();

    const Outcome<ReviewHistory> steps =
        co_await attempt(ReviewRequest::get<ReviewHistory>(m_app, APIPath::reviewHistory(m_report.id)));
    if (!lifetime.alive() || steps.cancelled())
        co_return;
    if (steps.failed()) {
        setError(steps.message());
        co_return;
    }
    m_history = steps.value().entries;
    Q_EMIT loadedChanged();
}

QCoro::Task<> PirepReviewModel::loadChecks(bool asked)
{
    if (m_checking)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    m_checkError.reset();
    const BusyGuard checking(m_checking, lifetime, [this] { Q_EMIT checksChanged(); });
    // The same list as the queue's, with the service's checks.
    const Outcome<PirepResponse> answer =
        co_await attempt(ReviewRequest::get<PirepResponse>(m_app, APIPath::staffPireps()));
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    if (answer.failed()) {
        m_checkError = answer.message();
        if (asked)
            ++m_checkFailures;
        co_return;
    }
    m_checked = m_report;
    for (const Pirep &report : answer.value().pireps) {
        if (report.id == m_report.id) {
            m_checked = report;
            break;
        }
    }
}

QCoro::Task<> PirepReviewModel::perform()
{
    if (!m_confirmAction || m_busy)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT editChanged(); });
    setError(std::nullopt);
    const QString action = *m_confirmAction;

    const auto post = [](QPointer<APIClient> client, QString path, QJsonObject body) -> QCoro::Task<> {
        const Acknowledgement answer = co_await APIClient::post<Acknowledgement>(client, path, body);
        // The service said it did not take it: that is no success, whatever the status.
        if (answer.ok == false)
            throw APIError(502, L(QStringLiteral("服务器没有确认这项修改，请刷新后查看。")));
    };
    // The id is one path segment whatever it holds, so no id can reach another endpoint.
    const QString path = APIPath::reviewAction(m_report.id, pathSegment(action));
    const QPointer<ReviewWorkbenchModel> queue = m_queue;
    const std::function<QCoro::Task<>()> changed = m_changed;
    const Outcome<> answer = co_await attempt(post(m_app ? m_app->api() : nullptr, path, body(action)));
    if (answer.failed() && lifetime.alive()) {
        qCInfo(lcReview, "the review's %s failed (%d)", qPrintable(action), answer.status());
        // The error was cleared as the action began: the failure is told, also with the text of the last.
        ++m_failures;
        setError(answer.message());
        co_return;
    }
    if (!answer.ok())
        co_return;
    // Whoever opened the review shows the new state by the time the page has gone.
    if (queue)
        co_await queue->load();
    else if (changed)
        co_await changed();
    if (lifetime.alive())
        Q_EMIT closed();
    // The queue shown again says what was saved, once the page has gone.
    if (queue)
        queue->setNotice(ReviewText::saved(action));
}
