#include "PirepDetailModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "Display.h"
#include "FlightsLog.h"
#include "L.h"
#include "Outcome.h"
#include "PhotoImport.h"
#include "PirepText.h"
#include "Retarget.h"
#include "Theme.h"

QHash<int, QByteArray> EvidenceList::roleNames() const
{
    return {{IdRole, "evidenceId"}, {PathRole, "path"}};
}

QVariant EvidenceList::value(const EvidencePicture &picture, int role) const
{
    switch (role) {
    case IdRole:
        return picture.id;
    case PathRole:
        return picture.path;
    default:
        return {};
    }
}

namespace {

QString orDash(const std::optional<QString> &text) { return text.value_or(Display::missing); }

} // namespace

PirepDetailModel::PirepDetailModel(QObject *parent)
    : QObject(parent)
{
    for (const auto changed : {&PirepDetailModel::evidenceChanged, &PirepDetailModel::filesChanged})
        connect(this, changed, this, &PirepDetailModel::stateChanged);
}

void PirepDetailModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    if (m_app)
        connect(m_app, &AppState::stateChanged, this, &PirepDetailModel::reportChanged);
    Q_EMIT appStateChanged();
    Q_EMIT reportChanged();
}

void PirepDetailModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (m_data)
        connect(m_data, &MemberData::pirepsChanged, this, &PirepDetailModel::reportChanged);
    Q_EMIT memberDataChanged();
    Q_EMIT reportChanged();
}

void PirepDetailModel::setPirep(const Pirep &report)
{
    if (report == m_report)
        return;
    const bool another = report.id != m_report.id;
    m_report = report;
    Q_EMIT reportChanged();
    if (!another)
        return;
    // Another report's pictures and error do not belong to this one.
    m_reportRun.restart();
    m_evidence.setRecords({});
    Q_EMIT evidenceChanged();
    setError(std::nullopt);
    if (m_shown)
        loadEvidence();
}

void PirepDetailModel::appear()
{
    m_shown = true;
    if (!m_report.id.isEmpty())
        loadEvidence();
}

void PirepDetailModel::setPirepId(const QString &id)
{
    if (id == m_report.id)
        return;
    Pirep report;
    report.id = id;
    setPirep(report);
}

Pirep PirepDetailModel::current() const
{
    if (m_data) {
        for (const Pirep &report : m_data->pireps()) {
            if (report.id == m_report.id)
                return report;
        }
    }
    return m_report;
}

int PirepDetailModel::verdict() const { return int(Theme::verdictRole(current().state())); }

QString PirepDetailModel::durationText() const { return Display::duration(current().durationMinutes); }

QString PirepDetailModel::flightTimeText() const { return Display::duration(current().durationMinutes); }

QString PirepDetailModel::factorText() const
{
    return PirepText::factor(current().multiplierPercent.value_or(100));
}

QString PirepDetailModel::countedText() const { return Display::duration(current().countedMinutes()); }

QString PirepDetailModel::landingsText() const
{
    const Pirep report = current();
    return report.landings ? QString::number(*report.landings) : Display::missing;
}

QString PirepDetailModel::submittedText() const { return Display::dateTime(current().submittedAt); }

QList<std::pair<QString, QString>> PirepDetailModel::facts() const
{
    QList<std::pair<QString, QString>> facts{{L(QStringLiteral("实际飞行时间")), flightTimeText()},
                                             {L(QStringLiteral("倍数")), factorText()}};
    if (showsCounted())
        facts.append({L(QStringLiteral("计入时长")), countedText()});
    facts.append({L(QStringLiteral("降落次数")), landingsText()});
    facts.append({L(QStringLiteral("提交时间")), submittedText()});
    return facts;
}

QString PirepDetailModel::reviewSymbol() const
{
    return current().status == QLatin1String("approved") ? QStringLiteral("checkmark.seal.fill")
                                                         : QStringLiteral("xmark.seal.fill");
}

QString PirepDetailModel::reviewerText() const
{
    const Pirep report = current();
    return orDash(report.reviewerName ? report.reviewerName : report.reviewedByUsername);
}

QString PirepDetailModel::reviewedText() const { return Display::dateTime(current().reviewedAt); }

bool PirepDetailModel::showsInquiry() const
{
    const Pirep report = current();
    return report.isPending() && report.isHeld();
}

QString PirepDetailModel::inquirer() const
{
    const Pirep report = current();
    return L(QStringLiteral("问询人：%@"),
             orDash(report.heldByName ? report.heldByName : report.heldByUsername));
}

QString PirepDetailModel::inquiry() const
{
    // An empty note is the administrator's own words too: only a missing one gets the default.
    return current().holdNote.value_or(L(QStringLiteral("请上传飞行截图作为补充证明。")));
}

bool PirepDetailModel::showsUpload() const { return showsInquiry() && m_app && m_app->user(); }

QString PirepDetailModel::limitsText() const
{
    return L(QStringLiteral("每份报告最多 6 张，每张不超过 2 MB。已上传 %@ 张。"), evidenceCount());
}

QString PirepDetailModel::uploadText() const
{
    return Ln(QStringLiteral("上传 %@ 张截图"), fileCount(), fileCount());
}

QStringList PirepDetailModel::photoFilters() const { return PhotoImport::nameFilters(); }

QString PirepDetailModel::evidencePath() const { return APIPath::evidence(m_report.id); }

void PirepDetailModel::setError(std::optional<QString> error)
{
    if (error == m_error)
        return;
    m_error = std::move(error);
    Q_EMIT stateChanged();
}

void PirepDetailModel::fail(const QString &error)
{
    ++m_failures;
    m_error = error;
    Q_EMIT stateChanged();
}

void PirepDetailModel::setNotice(std::optional<QString> notice)
{
    if (notice == m_notice)
        return;
    m_notice = std::move(notice);
    Q_EMIT stateChanged();
}

void PirepDetailModel::setFiles(QList<Upload> files)
{
    if (m_files.replace(std::move(files)))
        Q_EMIT filesChanged();
}

void PirepDetailModel::removeFile(int index)
{
    if (m_files.remove(index))
        Q_EMIT filesChanged();
}

void PirepDetailModel::dismissSuccess()
{
    if (!m_success)
        return;
    m_success = false;
    Q_EMIT stateChanged();
}

QCoro::Task<> PirepDetailModel::loadEvidence(bool asked)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Lifetime::Guard report = m_reportRun.guard();
    const Outcome<EvidenceResponse> answer =
        co_await attempt(APIClient::get<EvidenceResponse>(m_app ? m_app->api() : nullptr, evidencePath()));
    // A cancelled load (the page went, the client was retired) is no failure to show.
    if (!lifetime.alive() || !report.alive() || answer.cancelled())
        co_return;
    if (answer.failed()) {
        if (asked)
            fail(answer.message());
        else
            setError(answer.message());
        co_return;
    }
    QList<EvidencePicture> pictures;
    for (const Evidence &evidence : answer.value().files)
        pictures.append({evidence.id, evidence.url});
    const bool changed = pictures != m_evidence.records();
    m_evidence.setRecords(std::move(pictures));
    if (changed)
        Q_EMIT evidenceChanged();
    setError(std::nullopt);
}

QCoro::Task<> PirepDetailModel::refreshAll()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    if (m_data)
        co_await m_data->loadPireps();
    if (lifetime.alive())
        co_await loadEvidence();
}

QCoro::Task<> PirepDetailModel::importPhotos(QList<QUrl> items)
{
    if (m_uploading)
        co_return;
    // The newest pick decides: an older conversion that ends later is dropped.
    m_photoRun.restart();
    const Lifetime::Guard run = m_photoRun.guard();
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard importing(m_importing, run, [this] { Q_EMIT stateChanged(); });
    // What the report has no room for is left out, and the member is told how many.
    const std::optional<QString> leftOut =
        PhotoImport::leftOutNotice(items.size(), pickLimit(), PhotoImport::Pick::Replaces);
    const Outcome<QList<Upload>> converted =
        co_await attempt(PhotoImport::load(items.mid(0, pickLimit()), PhotoImport::reportLimit));
    if (!run.alive() || !lifetime.alive() || converted.cancelled())
        co_return;
    if (converted.ok()) {
        setFiles(converted.value());
        setError(std::nullopt);
        setNotice(leftOut);
    } else {
        fail(converted.message());
        setNotice(std::nullopt);
    }
}

QCoro::Task<> PirepDetailModel::send()
{
    if (busy() || fileCount() == 0)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard uploading(m_uploading, lifetime, [this] { Q_EMIT stateChanged(); });
    setError(std::nullopt);
    setNotice(std::nullopt);

    const auto post = [](QPointer<APIClient> client, QString path, QList<Upload> files) -> QCoro::Task<> {
        const QString field = QStringLiteral("files");
        const Acknowledgement answer = co_await APIClient::postForm<Acknowledgement>(
            client, path, QMap<QString, QString>(), files, field);
        // An answer that says it did not take the pictures is no success, whatever its status.
        if (answer.ok == false)
            throw APIError(502, L(QStringLiteral("截图上传未被确认，请刷新后查看已上传截图。")));
    };
    const QPointer<MemberData> data = m_data;
    std::optional<BusyGuard> onItsWay(std::in_place, m_sending, lifetime, [this] { Q_EMIT stateChanged(); });
    const Outcome<> answer =
        co_await attempt(post(m_app ? m_app->api() : nullptr, evidencePath(), m_files.records()));
    onItsWay.reset();
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    if (answer.failed()) {
        qCInfo(lcFlights, "the evidence upload failed (%d)", answer.status());
        // The pictures stay, so the member can send them again.
        fail(answer.message());
        co_return;
    }
    setFiles({});
    co_await loadEvidence();
    if (data)
        co_await data->loadPireps();
    if (!lifetime.alive())
        co_return;
    m_success = true;
    Q_EMIT stateChanged();
}

void PirepDetailModel::openRoute(MemberNavigation *navigation, const PageRoute &route)
{
    if (const std::optional<PirepRoute> shown = MemberNavigation::routeIn<PirepRoute>(navigation, route))
        setPirep(shown->report);
}
