#include "PirepFormModel.h"

#include "Busy.h"
#include "L.h"
#include "Outcome.h"
#include "PhotoImport.h"
#include "PirepImportModel.h"
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
    const std::optional<FlightRoute> shown = navigation ? navigation->flightRouteAt(route) : std::nullopt;
    if (const RecentFlightRoute *recent = shown ? std::get_if<RecentFlightRoute>(&*shown) : nullptr)
        prefill(recent->flight, std::nullopt);
    else if (const EventSubmissionRoute *event = shown ? std::get_if<EventSubmissionRoute>(&*shown) : nullptr)
        prefill(std::nullopt, event->event);
    else
        prefill(std::nullopt, std::nullopt);
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

QStringList PirepFormModel::photoFilters() const { return PhotoImport::nameFilters(); }

QString PirepFormModel::noteTitle() const
{
    return m_requiresProof ? L(QStringLiteral("补充说明（本次必填）")) : L(QStringLiteral("补充说明与截图"));
}

QString PirepFormModel::successMessage() const
{
    return m_localFlight ? L(QStringLiteral("这是本场飞行，请按联盟要求联系管理员确认。"))
                         : L(QStringLiteral("你可以在飞行记录中查看进度。"));
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
    if (error == m_error)
        return;
    m_error = std::move(error);
    Q_EMIT stateChanged();
}

void PirepFormModel::removeFile(int index)
{
    if (m_files.remove(index))
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
    const QString path = QStringLiteral("/api/pireps/multiplier-options?departure=")
                         + APIPath::encoded(departure) + QStringLiteral("&arrival=")
                         + APIPath::encoded(arrival);
    const Outcome<std::optional<MultiplierOptions>> answer =
        co_await attempt(APIClient::get<MultiplierOptions>(m_client, path));
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    if (answer.failed()) {
        m_optionsError = answer.message();
        co_return;
    }
    // An answer for airports the member has changed since he asked belongs to no route on screen.
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
        setError(std::nullopt);
    } else {
        setError(converted.message());
    }
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

    const auto upload = [](QPointer<APIClient> client, QMap<QString, QString> fields,
                           QList<Upload> files) -> QCoro::Task<Acknowledgement> {
        if (!client)
            throw CancellationError();
        APIRequest request = client->makeRequest(QStringLiteral("/api/pireps"), "POST");
        request.setMultipartBody(MultipartBody::make(fields, files, QStringLiteral("files")));
        const Acknowledgement answer = co_await client->decode<Acknowledgement>(std::move(request));
        if (answer.ok != true)
            throw APIError(502, L(QStringLiteral("提交结果未确认，请先刷新飞行记录。")));
        co_return answer;
    };
    const QPointer<MemberData> data = m_data;
    const Outcome<Acknowledgement> answer =
        co_await attempt(upload(m_client, m_draft.fields(), m_files.records()));

    if (answer.ok()) {
        if (lifetime.alive()) {
            m_localFlight = answer.value().local == true;
            setFiles({});
            m_selected.clear();
        }
        // The member's reports show the new one, wherever he looks next; a failure of this reload is the
        // member data's own.
        if (data)
            co_await data->loadPireps();
        if (lifetime.alive()) {
            m_success = true;
            Q_EMIT stateChanged();
        }
        co_return;
    }
    if (!lifetime.alive())
        co_return;
    if (answer.status() == 422) {
        m_requiresProof = true;
        setError(answer.message());
        Q_EMIT stateChanged();
    } else if (answer.status() != 0) {
        setError(answer.message());
    } else {
        // The service may have the report even though no answer came back: say so, so it is not sent twice.
        setError(L(
            QStringLiteral("提交结果尚未确认。请先返回并刷新飞行记录，确认未收到后再提交，避免重复报告。")));
    }
}
