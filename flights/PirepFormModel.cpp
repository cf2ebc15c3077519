#include "PirepFormModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "FlightsLog.h"
#include "L.h"
#include "Outcome.h"
#include "PhotoImport.h"
#include "PirepImportModel.h"
#include "PirepText.h"
#include "Retarget.h"

#include <QLocale>

QHash<int, QByteArray> UploadList::roleNames() const { return {{IdRole, "uploadId"}, {BytesRole, "bytes"}}; }

QVariant UploadList::value(const Upload &upload, int role) const
{
    switch (role) {
    case IdRole:
        return upload.id.toString(QUuid::WithoutBraces);
    case BytesRole:
        return upload.data;
    default:
        return {};
    }
}

bool UploadList::replace(QList<Upload> files)
{
    if (files == records())
        return false;
    setRecords(std::move(files));
    return true;
}

bool UploadList::remove(int index)
{
    if (index < 0 || index >= records().size())
        return false;
    QList<Upload> files = records();
    files.removeAt(index);
    setRecords(std::move(files));
    return true;
}

PirepFormModel::PirepFormModel(QObject *parent)
    : QObject(parent)
{
    for (const auto changed :
         {&PirepFormModel::draftChanged, &PirepFormModel::stateChanged, &PirepFormModel::filesChanged})
        connect(this, changed, this, &PirepFormModel::canSubmitChanged);
}

void PirepFormModel::setClient(APIClient *client)
{
    if (retarget(m_client, client, this))
        Q_EMIT clientChanged();
}

void PirepFormModel::setMemberData(MemberData *data)
{
    if (retarget(m_data, data, this))
        Q_EMIT memberDataChanged();
}

void PirepFormModel::setAppState(AppState *state)
{
    if (!retarget(m_appState, state, this))
        return;
    if (m_appState)
        m_appState->watchForm(this, QStringLiteral("report"), [this] { return keptContent(); });
    Q_EMIT appStateChanged();
}

std::any PirepFormModel::keptContent() const
{
    // A report already sent, or a form the member has not touched, is not worth bringing back.
    if (m_success || (m_draft == m_opened && m_files.records().isEmpty()))
        return {};
    return Kept{m_draft, m_selected, m_files.records(), m_requiresProof, m_unconfirmedSince, m_knownBefore};
}

void PirepFormModel::restore(const Kept &kept)
{
    changeDraft([&](PirepDraft &draft) { draft = kept.draft; });
    m_selected = kept.selected;
    setFiles(kept.files);
    m_requiresProof = kept.requiresProof;
    m_unconfirmedSince = kept.unconfirmedSince;
    m_knownBefore = kept.knownBefore;
    m_restored = true;
    Q_EMIT stateChanged();
}

void PirepFormModel::prefill(const std::optional<RecentFlight> &flight,
                             const std::optional<FlightEvent> &event)
{
    changeDraft([&](PirepDraft &draft) {
        draft = PirepDraft(flight);
        if (event)
            draft.takeEvent(*event);
    });
}

void PirepFormModel::openRoute(MemberNavigation *navigation, const PageRoute &route)
{
    const std::optional<RecentFlightRoute> recent =
        MemberNavigation::routeIn<RecentFlightRoute>(navigation, route);
    const std::optional<EventSubmissionRoute> event =
        MemberNavigation::routeIn<EventSubmissionRoute>(navigation, route);
    prefill(recent ? std::optional(recent->flight) : std::nullopt,
            event ? std::optional(event->event) : std::nullopt);
    m_opened = m_draft;
    // The draft of a session that ended under the form comes back, whichever way the form opened now.
    if (const std::optional<std::any> kept =
            m_appState ? m_appState->takeKeptForm(QStringLiteral("report")) : std::nullopt) {
        if (const Kept *content = std::any_cast<Kept>(&*kept))
            restore(*content);
    }
}

void PirepFormModel::changeDraft(const std::function<void(PirepDraft &)> &change)
{
    PirepDraft draft = m_draft;
    change(draft);
    if (draft == m_draft)
        return;
    const bool airportsChanged = draft.departure != m_draft.departure || draft.arrival != m_draft.arrival;
    m_draft = std::move(draft);
    // The availability shown always belongs to the airports shown; an earlier check's error stays.
    if (airportsChanged && m_options) {
        m_options.reset();
        Q_EMIT optionsChanged();
    }
    Q_EMIT draftChanged();
}

void PirepFormModel::setDeparture(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.departure = text; });
}
void PirepFormModel::setArrival(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.arrival = text; });
}
void PirepFormModel::setAircraft(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.aircraft = text; });
}
void PirepFormModel::setLivery(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.livery = text; });
}
void PirepFormModel::setCallsign(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.callsign = text; });
}
void PirepFormModel::setHours(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.hours = text; });
}
void PirepFormModel::setMinutes(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.minutes = text; });
}
void PirepFormModel::setLandings(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.landings = text; });
}
void PirepFormModel::setNote(const QString &text)
{
    changeDraft([&](PirepDraft &d) { d.note = text; });
}
void PirepFormModel::setOrganizationMultiplier(bool on)
{
    changeDraft([&](PirepDraft &d) { d.organizationMultiplier = on; });
}
void PirepFormModel::setEventMultiplier(bool on)
{
    changeDraft([&](PirepDraft &d) { d.eventMultiplier = on; });
}

QString PirepFormModel::routeFrom() const
{
    return m_draft.departure.isEmpty() ? QStringLiteral("----") : m_draft.departure.toUpper();
}

QString PirepFormModel::routeTo() const
{
    return m_draft.arrival.isEmpty() ? QStringLiteral("----") : m_draft.arrival.toUpper();
}

QString PirepFormModel::multiplierCaption() const
{
    const double factor = m_draft.multiplierFactor();
    return factor == 1.0 ? QString() : QStringLiteral("×") + QLocale::system().toString(factor, 'g', 6);
}

QString PirepFormModel::confirmMessage() const
{
    return L(QStringLiteral("确认提交 %@ → %@ 的飞行报告？提交后由管理员审核。"), m_draft.departure.toUpper(),
             m_draft.arrival.toUpper());
}

static QString availability(const MultiplierOption &option, const QString &available,
                            const QString &unavailable)
{
    if (option.available)
        return L(available);
    return option.message && !option.message->isEmpty() ? *option.message : L(unavailable);
}

QString PirepFormModel::organizationText() const
{
    return m_options
               ? availability(m_options->organization, TEXT_KEY("组织倍数可用"), TEXT_KEY("组织倍数不可用"))
               : QString();
}

QString PirepFormModel::eventText() const
{
    return m_options ? availability(m_options->event, TEXT_KEY("活动倍数可用"), TEXT_KEY("活动倍数不可用"))
                     : QString();
}

QString PirepFormModel::optionsOutcome() const
{
    if (m_optionsError)
        return *m_optionsError;
    if (!m_options)
        return {};
    // Said as two sentences: a line that ends in a full stop already (a service's reason) gets no second.
    const auto sentence = [](QString line) {
        while (line.endsWith(QStringLiteral("。")) || line.endsWith(QLatin1Char('.')))
            line.chop(1);
        return line;
    };
    return L(QStringLiteral("倍数检查完成：%@。%@。"), sentence(organizationText()), sentence(eventText()));
}

QStringList PirepFormModel::photoFilters() const { return PhotoImport::nameFilters(); }

QString PirepFormModel::noteTitle() const
{
    return m_requiresProof ? L(QStringLiteral("补充说明（本次必填）")) : L(QStringLiteral("补充说明与截图"));
}

QString PirepFormModel::successMessage() const
{
    if (m_foundInLog)
        return L(QStringLiteral("飞行记录中已有这份报告，无需再次提交。你可以在飞行记录中查看进度。"));
    return m_localFlight ? L(QStringLiteral("这是本场飞行，请按联盟要求联系管理员确认。"))
                         : L(QStringLiteral("你可以在飞行记录中查看进度。"));
}

QString PirepFormModel::submitTitle() const
{
    if (m_checkingLog)
        return L(QStringLiteral("正在核对飞行记录"));
    return m_submitting ? L(QStringLiteral("正在提交")) : L(QStringLiteral("提交 PIREP"));
}

bool PirepFormModel::canSubmit() const
{
    // An accepted report is not sent twice from the same form.
    if (busy() || m_success || m_draft.validationMessage())
        return false;
    return !m_requiresProof || (fileCount() > 0 && !m_draft.note.trimmed().isEmpty());
}

void PirepFormModel::takeFlight(const RecentFlight &flight)
{
    changeDraft([&](PirepDraft &draft) { draft = PirepDraft(flight); });
    // Even a flight of the same airports asks for a new check.
    if (m_options) {
        m_options.reset();
        Q_EMIT optionsChanged();
    }
}

void PirepFormModel::takeImportedFlight(PirepImportModel *picker, int row)
{
    if (!picker)
        return;
    if (const std::optional<RecentFlight> flight = picker->flight(row))
        takeFlight(*flight);
}

void PirepFormModel::chooseAircraft(const QString &name)
{
    changeDraft([&](PirepDraft &draft) {
        draft.aircraft = name;
        draft.livery.clear();
    });
}

void PirepFormModel::chooseLivery(const QString &name) { setLivery(name); }

void PirepFormModel::setFiles(QList<Upload> files)
{
    if (m_files.replace(std::move(files)))
        Q_EMIT filesChanged();
}

void PirepFormModel::setError(std::optional<QString> error)
{
    if (error)
        ++m_failures;
    else if (!m_error)
        return;
    m_error = std::move(error);
    Q_EMIT stateChanged();
}

void PirepFormModel::removeFile(int index)
{
    // The picture goes from the selection too: the file chooser does not show what was picked before, so
    // a picture kept there unseen would come back with the next pick and push a new one out.
    if (!m_files.remove(index))
        return;
    if (index < m_selected.size())
        m_selected.removeAt(index);
    Q_EMIT filesChanged();
}

QCoro::Task<> PirepFormModel::runOptionsCheck()
{
    if (m_checkingOptions)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard checking(m_checkingOptions, lifetime, [this] { Q_EMIT optionsChanged(); });
    m_optionsError.reset();
    Q_EMIT optionsChanged();

    // The codes go as typed, upper-cased; every character but the unreserved ones is percent-encoded.
    const QString departure = m_draft.departure.toUpper(), arrival = m_draft.arrival.toUpper();
    const QString path = APIPath::multiplierOptions(departure, arrival);
    const Outcome<std::optional<MultiplierOptions>> answer =
        co_await attempt(APIClient::get<MultiplierOptions>(m_client, path));
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    ++m_optionsAnswers;
    if (answer.failed()) {
        m_optionsError = answer.message();
        co_return;
    }
    // An answer for airports the member has changed since they asked belongs to no route on screen.
    if (departure == m_draft.departure.toUpper() && arrival == m_draft.arrival.toUpper())
        m_options = answer.value();
}

void PirepFormModel::pickPhotos(const QList<QUrl> &items)
{
    QList<QUrl> selection = m_selected;
    for (const QUrl &item : items) {
        if (!selection.contains(item))
            selection.append(item);
    }
    importPhotos(selection);
}

QCoro::Task<> PirepFormModel::importPhotos(QList<QUrl> selection)
{
    if (m_submitting)
        co_return;
    // What does not fit is left out, and the member is told how many.
    const std::optional<QString> leftOut =
        PhotoImport::leftOutNotice(selection.size(), maxPhotos, PhotoImport::Pick::Adds);
    selection = selection.mid(0, maxPhotos);
    // The newest pick decides: an older conversion that ends later is dropped.
    m_photoRun.restart();
    const Lifetime::Guard run = m_photoRun.guard();
    const BusyGuard importing(m_importingPhotos, run, [this] { Q_EMIT stateChanged(); });
    const Outcome<QList<Upload>> converted =
        co_await attempt(PhotoImport::load(selection, PhotoImport::reportLimit));
    if (!run.alive() || converted.cancelled())
        co_return;
    if (converted.ok()) {
        m_selected = selection;
        setFiles(converted.value());
        setError(leftOut);
    } else {
        setError(converted.message());
    }
}

QCoro::Task<PirepFormModel::LogCheck> PirepFormModel::lookForSent()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard checking(m_checkingLog, lifetime, [this] { Q_EMIT stateChanged(); });
    const Outcome<PirepResponse> answer =
        co_await attempt(APIClient::get<PirepResponse>(m_client, APIPath::pireps()));
    if (!lifetime.alive() || answer.cancelled())
        co_return LogCheck::Unknown;
    if (answer.failed()) {
        m_logError = answer.message();
        co_return LogCheck::Unknown;
    }
    // The service's clock may run behind the computer's: a report a few minutes older still counts.
    const QDateTime since = m_unconfirmedSince.value_or(QDateTime::currentDateTimeUtc()).addSecs(-600);
    for (const Pirep &report : answer.value().pireps) {
        const std::optional<QDateTime> submitted = PirepText::submittedMoment(report);
        if (!m_knownBefore.contains(report.id) && m_draft.describes(report)
            && (!submitted || *submitted >= since))
            co_return LogCheck::Found;
    }
    co_return LogCheck::Missing;
}

void PirepFormModel::acceptFoundInLog()
{
    m_unconfirmedSince.reset();
    m_knownBefore.clear();
    setFiles({});
    m_selected.clear();
    setError(std::nullopt);
    m_foundInLog = true;
    m_success = true;
    Q_EMIT stateChanged();
    if (m_data)
        m_data->loadPireps();
}

QCoro::Task<> PirepFormModel::send()
{
    // An accepted report is not sent a second time from the same form.
    if (busy() || m_success)
        co_return;
    if (const std::optional<QString> invalid = m_draft.validationMessage()) {
        setError(invalid);
        co_return;
    }
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard submitting(m_submitting, lifetime, [this] { Q_EMIT stateChanged(); });
    setError(std::nullopt);

    // An earlier submission of this form never had its answer: it may have reached the service, so the
    // member's reports are looked at before the report goes again.
    if (m_unconfirmedSince) {
        const LogCheck earlier = co_await lookForSent();
        if (!lifetime.alive())
            co_return;
        if (earlier == LogCheck::Found) {
            acceptFoundInLog();
            co_return;
        }
        if (earlier == LogCheck::Unknown) {
            setError(L(QStringLiteral("暂时无法核对飞行记录，为避免重复报告，这次没有提交：%@"),
                       m_logError.value_or(QString())));
            co_return;
        }
    } else if (m_data) {
        m_knownBefore.clear();
        for (const Pirep &report : m_data->pireps())
            m_knownBefore.insert(report.id);
    }

    const auto upload = [](QPointer<APIClient> client, QMap<QString, QString> fields,
                           QList<Upload> files) -> QCoro::Task<Acknowledgement> {
        const QString field = QStringLiteral("files");
        const Acknowledgement answer =
            co_await APIClient::postForm<Acknowledgement>(client, APIPath::pireps(), fields, files, field);
        if (answer.ok != true)
            throw APIError(502, L(QStringLiteral("提交结果未确认，请先刷新飞行记录。")));
        co_return answer;
    };
    const QPointer<MemberData> data = m_data;
    const QDateTime sentAt = QDateTime::currentDateTimeUtc();
    std::optional<BusyGuard> onItsWay(std::in_place, m_sending, lifetime, [this] { Q_EMIT stateChanged(); });
    const Outcome<Acknowledgement> answer =
        co_await attempt(upload(m_client, m_draft.fields(), m_files.records()));
    onItsWay.reset();

    if (answer.ok()) {
        if (lifetime.alive()) {
            m_localFlight = answer.value().local == true;
            m_unconfirmedSince.reset();
            setFiles({});
            m_selected.clear();
        }
        // The member's reports show the new one, wherever they look next; a failure of this reload is the
        // member data's own.
        if (data)
            co_await data->loadPireps();
        if (lifetime.alive()) {
            m_success = true;
            Q_EMIT stateChanged();
        }
        co_return;
    }
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    qCInfo(lcFlights, "the report's submission failed (%d)", answer.status());
    if (answer.status() == 422) {
        m_requiresProof = true;
        setError(answer.message());
        Q_EMIT stateChanged();
        co_return;
    }
    // No answer, or one that does not confirm: the service may have the report all the same. It is looked
    // for at once, and again before the next submission.
    const bool unconfirmed = answer.status() == 0 || answer.status() == 502 || answer.status() == 504;
    if (!unconfirmed) {
        setError(answer.message());
        co_return;
    }
    if (!m_unconfirmedSince)
        m_unconfirmedSince = sentAt;
    setError(L(QStringLiteral("提交结果尚未确认，正在飞行记录中查找这份报告……")));
    const LogCheck found = co_await lookForSent();
    if (!lifetime.alive())
        co_return;
    if (found == LogCheck::Found) {
        acceptFoundInLog();
        co_return;
    }
    if (found == LogCheck::Missing) {
        setError(L(QStringLiteral(
            "提交结果尚未确认：飞行记录中暂时没有这份报告。再次提交时会先核对一次，避免重复报告。")));
    } else if (answer.status() != 0) {
        setError(answer.message());
    } else {
        setError(L(
            QStringLiteral("提交结果尚未确认。请先返回并刷新飞行记录，确认未收到后再提交，避免重复报告。")));
    }
}
