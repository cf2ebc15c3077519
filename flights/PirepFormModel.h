#pragma once

#include "APIClient.h"
#include "AppState.h"
#include "Lifetime.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "PirepDraft.h"
#include "PirepImportModel.h"
#include "RecordListModel.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QSet>
#include <QUrl>

#include <optional>

// The screenshots a report will carry, as their thumbnails show them.
class UploadList : public RecordListModel<Upload>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the report form's own list")

public:
    enum Roles { IdRole = Qt::UserRole + 1, BytesRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;
    // Each tells whether the list changed.
    bool replace(QList<Upload> files);
    bool remove(int index);

protected:
    QVariant value(const Upload &upload, int role) const override;
};

// The new-report form: the draft, the multiplier check, the screenshots and the submission with its
// outcomes. Its work keeps running when the page closes; what comes back after that is dropped. What the
// member typed outlives a session that ends under the form (the account state keeps it for their next
// sign-in), and a submission whose outcome never came back is looked for in their reports before it is sent
// again.
class PirepFormModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged REQUIRED)
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged)

    Q_PROPERTY(QString departure READ departure WRITE setDeparture NOTIFY draftChanged)
    Q_PROPERTY(QString arrival READ arrival WRITE setArrival NOTIFY draftChanged)
    Q_PROPERTY(QString aircraft READ aircraft WRITE setAircraft NOTIFY draftChanged)
    Q_PROPERTY(QString livery READ livery WRITE setLivery NOTIFY draftChanged)
    Q_PROPERTY(QString callsign READ callsign WRITE setCallsign NOTIFY draftChanged)
    Q_PROPERTY(QString hours READ hours WRITE setHours NOTIFY draftChanged)
    Q_PROPERTY(QString minutes READ minutes WRITE setMinutes NOTIFY draftChanged)
    Q_PROPERTY(QString landings READ landings WRITE setLandings NOTIFY draftChanged)
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY draftChanged)
    Q_PROPERTY(bool organizationMultiplier READ organizationMultiplier WRITE setOrganizationMultiplier NOTIFY
                   draftChanged)
    Q_PROPERTY(bool eventMultiplier READ eventMultiplier WRITE setEventMultiplier NOTIFY draftChanged)
    // The route preview's ends, "----" while a code is empty, and its factor ("×1.25"), empty at ×1.
    Q_PROPERTY(QString routeFrom READ routeFrom NOTIFY draftChanged)
    Q_PROPERTY(QString routeTo READ routeTo NOTIFY draftChanged)
    Q_PROPERTY(QString multiplierCaption READ multiplierCaption NOTIFY draftChanged)
    Q_PROPERTY(QString validationMessage READ validationMessage NOTIFY draftChanged)
    Q_PROPERTY(bool showsAircraftPhoto READ showsAircraftPhoto NOTIFY draftChanged)
    Q_PROPERTY(bool canPickLivery READ canPickLivery NOTIFY draftChanged)
    Q_PROPERTY(QString confirmMessage READ confirmMessage NOTIFY draftChanged)

    Q_PROPERTY(bool checkingOptions READ checkingOptions NOTIFY optionsChanged)
    Q_PROPERTY(bool hasOptions READ hasOptions NOTIFY optionsChanged)
    Q_PROPERTY(bool organizationAvailable READ organizationAvailable NOTIFY optionsChanged)
    Q_PROPERTY(QString organizationText READ organizationText NOTIFY optionsChanged)
    Q_PROPERTY(bool eventAvailable READ eventAvailable NOTIFY optionsChanged)
    Q_PROPERTY(QString eventText READ eventText NOTIFY optionsChanged)
    Q_PROPERTY(QString optionsError READ optionsError NOTIFY optionsChanged)
    // What the last check came to, said as it arrives: its failure, else its two lines in one; empty with
    // neither. Each answer counts, so one that reads as the last did is said again.
    Q_PROPERTY(QString optionsOutcome READ optionsOutcome NOTIFY optionsChanged)
    Q_PROPERTY(int optionsAnswers READ optionsAnswers NOTIFY optionsChanged)

    Q_PROPERTY(UploadList *files READ files CONSTANT)
    Q_PROPERTY(int fileCount READ fileCount NOTIFY filesChanged)
    Q_PROPERTY(QStringList photoFilters READ photoFilters CONSTANT)
    Q_PROPERTY(int photoLimit READ photoLimit CONSTANT)
    Q_PROPERTY(int noteLimit READ noteLimit CONSTANT)

    Q_PROPERTY(bool importingPhotos READ importingPhotos NOTIFY stateChanged)
    Q_PROPERTY(bool submitting READ submitting NOTIFY stateChanged)
    // The report is on its way to the service: sent, its answer not yet come.
    Q_PROPERTY(bool sending READ sending NOTIFY stateChanged)
    // The submit button's title: "提交 PIREP", "正在提交", or "正在核对飞行记录" while an earlier
    // unconfirmed submission is looked for.
    Q_PROPERTY(QString submitTitle READ submitTitle NOTIFY stateChanged)
    // The form came back with what the member typed before their session ended.
    Q_PROPERTY(bool restored READ restored NOTIFY stateChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    // How many times the error has been set: each text the form shows is the outcome of what the member just
    // did (a pick, a check, a submission), shown anew also when it reads as before.
    Q_PROPERTY(int failures READ failures NOTIFY stateChanged)
    Q_PROPERTY(bool requiresProof READ requiresProof NOTIFY stateChanged)
    Q_PROPERTY(bool success READ success NOTIFY stateChanged)
    Q_PROPERTY(bool localFlight READ localFlight NOTIFY stateChanged)
    Q_PROPERTY(QString noteTitle READ noteTitle NOTIFY stateChanged)
    Q_PROPERTY(QString successMessage READ successMessage NOTIFY stateChanged)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY canSubmitChanged)

public:
    explicit PirepFormModel(QObject *parent = nullptr);

    APIClient *client() const { return m_client; }
    void setClient(APIClient *client);
    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);
    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);

    // The form a page opens with: empty, filled from a recent flight, or for an event's report.
    void prefill(const std::optional<RecentFlight> &flight, const std::optional<FlightEvent> &event);
    // The form of the route the page was pushed with: from a recent flight, for an event, or empty.
    Q_INVOKABLE void openRoute(MemberNavigation *navigation, const PageRoute &route);
    const PirepDraft &draft() const { return m_draft; }

    QString departure() const { return m_draft.departure; }
    void setDeparture(const QString &text);
    QString arrival() const { return m_draft.arrival; }
    void setArrival(const QString &text);
    QString aircraft() const { return m_draft.aircraft; }
    void setAircraft(const QString &text);
    QString livery() const { return m_draft.livery; }
    void setLivery(const QString &text);
    QString callsign() const { return m_draft.callsign; }
    void setCallsign(const QString &text);
    QString hours() const { return m_draft.hours; }
    void setHours(const QString &text);
    QString minutes() const { return m_draft.minutes; }
    void setMinutes(const QString &text);
    QString landings() const { return m_draft.landings; }
    void setLandings(const QString &text);
    QString note() const { return m_draft.note; }
    void setNote(const QString &text);
    bool organizationMultiplier() const { return m_draft.organizationMultiplier; }
    void setOrganizationMultiplier(bool on);
    bool eventMultiplier() const { return m_draft.eventMultiplier; }
    void setEventMultiplier(bool on);

    QString routeFrom() const;
    QString routeTo() const;
    QString multiplierCaption() const;
    QString validationMessage() const { return m_draft.validationMessage().value_or(QString()); }
    bool showsAircraftPhoto() const { return !m_draft.aircraft.isEmpty() && !m_draft.livery.isEmpty(); }
    bool canPickLivery() const { return !m_draft.aircraft.isEmpty(); }
    QString confirmMessage() const;

    bool checkingOptions() const { return m_checkingOptions; }
    bool hasOptions() const { return m_options.has_value(); }
    const std::optional<MultiplierOptions> &options() const { return m_options; }
    bool organizationAvailable() const { return m_options && m_options->organization.available; }
    QString organizationText() const;
    bool eventAvailable() const { return m_options && m_options->event.available; }
    QString eventText() const;
    QString optionsError() const { return m_optionsError.value_or(QString()); }
    QString optionsOutcome() const;
    int optionsAnswers() const { return m_optionsAnswers; }

    UploadList *files() { return &m_files; }
    int fileCount() const { return m_files.rowCount(); }
    QStringList photoFilters() const;
    // The most screenshots a report takes.
    static int photoLimit() { return maxPhotos; }
    int noteLimit() const { return PirepDraft::maxNoteLength; }

    bool importingPhotos() const { return m_importingPhotos; }
    bool submitting() const { return m_submitting; }
    bool sending() const { return m_sending; }
    QString submitTitle() const;
    bool restored() const { return m_restored; }
    bool unconfirmed() const { return m_unconfirmedSince.has_value(); }
    bool busy() const { return m_importingPhotos || m_submitting; }
    QString error() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }
    bool requiresProof() const { return m_requiresProof; }
    bool success() const { return m_success; }
    bool localFlight() const { return m_localFlight; }
    QString noteTitle() const;
    QString successMessage() const;
    bool canSubmit() const;

    // The pickers' choices: a flight replaces the whole draft; a new aircraft empties the livery.
    void takeFlight(const RecentFlight &flight);
    Q_INVOKABLE void takeImportedFlight(PirepImportModel *picker, int row);
    Q_INVOKABLE void chooseAircraft(const QString &name);
    Q_INVOKABLE void chooseLivery(const QString &name);

    // Which multipliers the route qualifies for; only its button asks.
    Q_INVOKABLE void checkOptions() { runOptionsCheck(); }
    QCoro::Task<> runOptionsCheck();
    // Pictures picked in the file dialog join the selection (each once), and the screenshots become the
    // conversion of the whole selection, in its order. A pick that fails leaves both as they were.
    Q_INVOKABLE void pickPhotos(const QList<QUrl> &items);
    // The screenshots of a whole selection: its first six; the error says how many more were left out.
    QCoro::Task<> importPhotos(QList<QUrl> selection);
    const QList<QUrl> &selected() const { return m_selected; }
    Q_INVOKABLE void removeFile(int index);
    // Sends the report (after the member confirmed it).
    Q_INVOKABLE void submit() { send(); }
    QCoro::Task<> send();

    static constexpr int maxPhotos = 6;

Q_SIGNALS:
    void clientChanged();
    void memberDataChanged();
    void appStateChanged();
    void draftChanged();
    void optionsChanged();
    void filesChanged();
    void stateChanged();
    void canSubmitChanged();

private:
    // What a session that ends under the form keeps of it.
    struct Kept
    {
        PirepDraft draft;
        QList<QUrl> selected;
        QList<Upload> files;
        bool requiresProof = false;
        std::optional<QDateTime> unconfirmedSince;
        QSet<QString> knownBefore;
    };
    std::any keptContent() const;
    void restore(const Kept &kept);

    // Whether the service holds the report this form sent without an answer: one of the member's reports
    // that the draft describes, new since the first such submission.
    enum class LogCheck { Found, Missing, Unknown };
    QCoro::Task<LogCheck> lookForSent();
    // The report is in the member's log: it was sent after all.
    void acceptFoundInLog();

    // Every change of the draft goes through here: an airport change forgets the multiplier check.
    void changeDraft(const std::function<void(PirepDraft &)> &change);
    void setFiles(QList<Upload> files);
    void setError(std::optional<QString> error);

    QPointer<APIClient> m_client;
    QPointer<MemberData> m_data;
    QPointer<AppState> m_appState;
    PirepDraft m_draft;
    PirepDraft m_opened; // as the form opened: an untouched form is not worth keeping
    std::optional<MultiplierOptions> m_options;
    std::optional<QString> m_optionsError;
    bool m_checkingOptions = false;
    int m_optionsAnswers = 0;
    // The pictures of the screenshots, one for one: removing a thumbnail removes its picture.
    QList<QUrl> m_selected;
    UploadList m_files;
    std::optional<QString> m_error;
    int m_failures = 0;
    bool m_importingPhotos = false;
    bool m_submitting = false;
    bool m_sending = false;
    bool m_requiresProof = false;
    bool m_success = false;
    bool m_localFlight = false;
    bool m_restored = false;
    bool m_checkingLog = false;
    bool m_foundInLog = false;
    // Since the first submission whose outcome never came back, and the reports known before it.
    std::optional<QDateTime> m_unconfirmedSince;
    QSet<QString> m_knownBefore;
    std::optional<QString> m_logError;
    Lifetime m_photoRun; // the newest photo pick; an older one that ends later changes nothing
    Lifetime m_lifetime; // last: ends first
};
