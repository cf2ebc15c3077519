#include "PirepReviewModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "Display.h"
#include "Join.h"
#include "L.h"
#include "Outcome.h"
#include "Retarget.h"
#include "ReviewLog.h"
#include "ReviewRequest.h"
#include "Strings.h"
#include "Theme.h"

#include <QSet>
#include <algorithm>

#include <cmath>

#include <unicode/uchar.h>

namespace ReviewText {

namespace {

// A numeral by Unicode's numeric property: the digits and numbers of Qt's categories, and also the Han
// numerals ("一", "万"), which are letters by category.
bool isNumeral(char32_t c) { return u_getIntPropertyValue(UChar32(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE; }

QString normalised(const QString &callsign)
{
    QString kept;
    for (const char32_t c : callsign.toUpper().toUcs4()) {
        const bool asciiLetter = (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
        if (asciiLetter || isNumeral(c))
            kept.append(QString::fromUcs4(&c, 1));
    }
    return kept;
}

} // namespace

QList<Line> routeCheck(const Pirep &report)
{
    if (!report.ifRouteCheck)
        return {};
    const QString &route = *report.ifRouteCheck;
    const QString callsign = report.ifCallsignCheck.value_or(QString());
    if (route == QLatin1String("found") && callsign == QLatin1String("mismatch"))
        return {{L(QStringLiteral("⚠ 最近 10 次飞行里有这条航线，但呼号与该次飞行不一致")), Tone::Bad}};
    if (route == QLatin1String("found")) {
        QList<Line> lines{{L(QStringLiteral("✓ 最近 10 次飞行里找到这条航线")), Tone::Good}};
        if (callsign == QLatin1String("match"))
            lines.append({L(QStringLiteral("呼号与该次飞行一致")), Tone::Good});
        return lines;
    }
    if (route == QLatin1String("not_found"))
        return {{L(QStringLiteral("⚠ 最近 10 次飞行里没有这条航线")), Tone::Bad}};
    return {{L(QStringLiteral("未能核对（IF 暂时不可用）")), Tone::Neutral}};
}

Line callsignVerdict(const CallsignReview &review)
{
    QSet<QString> distinct;
    int given = 0;
    for (const std::optional<QString> &callsign : {review.uploaded, review.actual, review.site}) {
        if (!callsign || callsign->isEmpty())
            continue;
        ++given;
        distinct.insert(normalised(*callsign));
    }
    if (given == 3 && distinct.size() == 1)
        return {L(QStringLiteral("✓ 呼号统一")), Tone::Good};
    if (distinct.size() >= 2)
        return {L(QStringLiteral("⚠ 呼号不统一")), Tone::Bad};
    return {L(QStringLiteral("无法确认")), Tone::Neutral};
}

QString missingCallsign(const std::optional<QString> &note)
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("no_flight"), TEXT_KEY("最近 10 次飞行里找不到这条航线")},
        {QStringLiteral("no_account"), TEXT_KEY("找不到对应的 IF 账号")},
        {QStringLiteral("rate_limited"), TEXT_KEY("请求过多，稍后刷新")}};
    return L(texts.value(note.value_or(QString()), TEXT_KEY("IF 服务暂时不可用")));
}

HistoryRow historyRow(const ReviewEntry &entry)
{
    static const QHash<QString, QString> statuses{{QStringLiteral("approved"), TEXT_KEY("批准")},
                                                  {QStringLiteral("rejected"), TEXT_KEY("不批准")},
                                                  {QStringLiteral("pending"), TEXT_KEY("待审核")}};
    HistoryRow row;
    row.title = L(QStringLiteral("%@ · %@"), entry.actor.value_or(Display::missing),
                  entry.kind.value_or(L(QStringLiteral("变更"))));
    if (entry.toStatus) {
        const auto found = statuses.constFind(*entry.toStatus);
        row.status = found == statuses.constEnd() ? *entry.toStatus : L(*found);
    }
    row.reason = entry.toReason;
    if (entry.toPercent)
        row.multiplier = L(QStringLiteral("×%@"), Display::locale().toString(*entry.toPercent / 100, 'g',
                                                                             QLocale::FloatingPointShortest));
    row.time = Display::dateTime(entry.at);
    return row;
}

} // namespace ReviewText

namespace {

const QStringList decisions{QStringLiteral("approved"), QStringLiteral("inquiry"),
                            QStringLiteral("rejected")};
const QList<double> percents{100, 125, 150, 187.5};

QVariantMap option(const QString &title, int value) { return {{"title", L(title)}, {"value", value}}; }

} // namespace

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
    m_percent = report.multiplierPercent.value_or(100);
    m_decision = held()                                       ? QStringLiteral("inquiry")
                 : report.status == QLatin1String("rejected") ? QStringLiteral("rejected")
                                                              : QStringLiteral("approved");
    m_note = held() ? report.holdNote.value_or(QString()) : QString();
    m_reason = report.rejectionReason.value_or(QString());
    m_opened = edits();
    if (m_app) {
        // A decision being written when the session ended comes back for the same report.
        const QString kind = QStringLiteral("review:") + report.id;
        if (const std::optional<std::any> kept = m_app->takeKeptForm(kind)) {
            if (const Kept *content = std::any_cast<Kept>(&*kept)) {
                m_decision = content->decision;
                m_reason = content->reason;
                m_note = content->note;
                m_percent = content->percent;
            }
        }
        m_app->watchForm(this, kind, [this]() -> std::any {
            return edits() == m_opened ? std::any() : std::any(edits());
        });
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

QString PirepReviewModel::applicantHeader() const
{
    return L(QStringLiteral("申请人：%@"), m_report.applicantUsername.value_or(Display::missing));
}

QString PirepReviewModel::applicant() const
{
    return m_report.applicantUsername.value_or(L(QStringLiteral("成员")));
}

int PirepReviewModel::verdict() const { return int(Theme::verdictRole(m_report.state())); }

QString PirepReviewModel::flightTimeText() const { return Display::duration(m_report.durationMinutes); }

QString PirepReviewModel::countedText() const { return Display::duration(m_report.countedMinutes()); }

QString PirepReviewModel::landingsText() const
{
    return m_report.landings ? QString::number(*m_report.landings) : Display::missing;
}

bool PirepReviewModel::held() const
{
    return m_report.isPending() && m_report.heldAt && *m_report.heldAt > 0;
}

bool PirepReviewModel::showsDelete() const
{
    return m_app && m_app->user() && m_app->user()->role == QLatin1String("developer");
}

QList<ReviewText::Line> PirepReviewModel::checkList() const
{
    using namespace ReviewText;
    const Pirep &report = checked();
    QList<Line> lines;
    if (report.flightCallsign)
        lines.append({L(QStringLiteral("上传的呼号")) + QStringLiteral("：") + *report.flightCallsign});
    if (report.ifRouteCheck) {
        lines += routeCheck(report);
        lines.append({L(QStringLiteral("上传时自动核对的结果")), Tone::Caption});
    }
    if (const std::optional<CallsignReview> &review = report.callsignReview) {
        lines.append(callsignVerdict(*review));
        lines.append({L(QStringLiteral("上传的呼号")) + QStringLiteral("：")
                      + review->uploaded.value_or(L(QStringLiteral("未填写")))});
        lines.append({L(QStringLiteral("IF 实际呼号")) + QStringLiteral("：")
                      + review->actual.value_or(missingCallsign(review->note))});
        lines.append({L(QStringLiteral("网站设置的呼号")) + QStringLiteral("：")
                      + review->site.value_or(L(QStringLiteral("未设置")))});
    }
    return lines;
}

QVariantList PirepReviewModel::checkLines() const
{
    QVariantList lines;
    for (const ReviewText::Line &line : checkList())
        lines.append(QVariantMap{{"text", line.text}, {"tone", int(line.tone)}});
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

QString PirepReviewModel::decisionTitle() const
{
    return m_report.isPending() ? L(QStringLiteral("审核结果")) : L(QStringLiteral("修改审核结果"));
}

QVariantList PirepReviewModel::decisionOptions() const
{
    QVariantList options{option(TEXT_KEY("批准"), 0)};
    if (m_report.isPending())
        options.append(option(TEXT_KEY("问询"), 1));
    options.append(option(TEXT_KEY("不批准"), 2));
    return options;
}

void PirepReviewModel::setDecision(const QString &decision)
{
    if (decision == m_decision || !decisions.contains(decision))
        return;
    m_decision = decision;
    Q_EMIT editChanged();
}

int PirepReviewModel::decisionIndex() const { return int(decisions.indexOf(m_decision)); }

void PirepReviewModel::setDecisionIndex(int index)
{
    if (index >= 0 && index < decisions.size())
        setDecision(decisions.at(index));
}

void PirepReviewModel::setNote(const QString &note)
{
    if (note == m_note)
        return;
    m_note = note;
    Q_EMIT editChanged();
}

void PirepReviewModel::setReason(const QString &reason)
{
    if (reason == m_reason)
        return;
    m_reason = reason;
    Q_EMIT editChanged();
}

void PirepReviewModel::setPercent(double percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    Q_EMIT editChanged();
}

QVariantList PirepReviewModel::multiplierOptions() const
{
    return {option(TEXT_KEY("×1"), 0), option(TEXT_KEY("×1.25"), 1), option(TEXT_KEY("×1.5"), 2),
            option(TEXT_KEY("×1.875"), 3)};
}

int PirepReviewModel::multiplierIndex() const { return int(percents.indexOf(m_percent)); }

void PirepReviewModel::setMultiplierIndex(int index)
{
    if (index >= 0 && index < percents.size())
        setPercent(percents.at(index));
}

bool PirepReviewModel::canSave() const
{
    if (m_busy)
        return false;
    // The member reads the reason or the note in his report's history: a few lines, not a document.
    if (m_decision == QLatin1String("rejected"))
        return !m_reason.trimmed().isEmpty() && Text::perceivedLength(m_reason) <= maxTextLength;
    if (m_decision == QLatin1String("inquiry"))
        return !m_note.trimmed().isEmpty() && Text::perceivedLength(m_note) <= maxTextLength;
    return true;
}

QString PirepReviewModel::saveSymbol() const
{
    if (m_decision == QLatin1String("inquiry"))
        return QStringLiteral("questionmark.bubble");
    return m_decision == QLatin1String("approved") ? QStringLiteral("checkmark.seal")
                                                   : QStringLiteral("xmark.seal");
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

QString PirepReviewModel::confirmTitle() const
{
    return confirmDestroys() ? L(QStringLiteral("永久删除报告")) : L(QStringLiteral("保存修改"));
}

QString PirepReviewModel::confirmMessage() const
{
    return confirmDestroys() ? L(QStringLiteral("此操作会永久删除报告及附件，无法恢复。"))
                             : L(QStringLiteral("确认保存这项修改？"));
}

QString PirepReviewModel::confirmButton() const
{
    return confirmDestroys() ? L(QStringLiteral("删除")) : L(QStringLiteral("确认"));
}

QString PirepReviewModel::pathSegment(const QString &action)
{
    return action == QLatin1String("release") ? QStringLiteral("hold") : action;
}

QJsonObject PirepReviewModel::body(const QString &action) const
{
    if (action == QLatin1String("review")) {
        // An approval stores no reason: a stale rejection text must not travel with it.
        QJsonObject body{{"decision", m_decision},
                         {"reason", m_decision == QLatin1String("approved") ? QString() : m_reason},
                         {"amend", !m_report.isPending()}};
        // The review the reviewer saw, whole seconds; a time no 64-bit integer holds is left out.
        if (const std::optional<double> &at = m_report.reviewedAt;
            at && std::isfinite(*at) && *at > -9223372036854775808.0 && *at < 9223372036854775808.0)
            body.insert("expectedReviewedAt", qint64(std::trunc(*at)));
        return body;
    }
    if (action == QLatin1String("hold"))
        return {{"hold", true}, {"note", m_note}};
    if (action == QLatin1String("release"))
        return {{"hold", false}, {"note", QString()}};
    if (action == QLatin1String("multiplier"))
        return {{"percent", m_percent}};
    return {};
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

QCoro::Task<> PirepReviewModel::loadChecks()
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
}
