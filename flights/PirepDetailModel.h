#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "PirepFormModel.h"
#include "RecordListModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QUrl>

#include <optional>

// One evidence picture of a report, as the grid shows it.
struct EvidencePicture
{
    QString id;
    QString path;
    bool operator==(const EvidencePicture &) const = default;
};

class EvidenceList : public RecordListModel<EvidencePicture>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the report detail's own list")

public:
    enum Roles { IdRole = Qt::UserRole + 1, PathRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const EvidencePicture &picture, int role) const override;
};

// The page of one of the member's reports: its newest copy from the member data, its facts and review,
// the inquiry while it is held, its evidence pictures and the upload of more. Every failure ends in
// `error`; the upload and the imports keep running when the page closes, and what they bring back then is
// dropped.
class PirepDetailModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    // Opens the report of that id as the member data holds it (the shell hands the whole report instead).
    Q_PROPERTY(QString reportId READ reportId WRITE setPirepId NOTIFY reportChanged)

    Q_PROPERTY(QString statusTitle READ statusTitle NOTIFY reportChanged)
    Q_PROPERTY(int verdict READ verdict NOTIFY reportChanged)
    Q_PROPERTY(QString from READ from NOTIFY reportChanged)
    Q_PROPERTY(QString to READ to NOTIFY reportChanged)
    Q_PROPERTY(QString durationText READ durationText NOTIFY reportChanged)
    Q_PROPERTY(QString aircraft READ aircraft NOTIFY reportChanged)
    Q_PROPERTY(QString livery READ livery NOTIFY reportChanged)
    // The header card's facts; the counted time only for an approved report.
    Q_PROPERTY(QString flightTimeText READ flightTimeText NOTIFY reportChanged)
    Q_PROPERTY(QString factorText READ factorText NOTIFY reportChanged)
    Q_PROPERTY(bool showsCounted READ showsCounted NOTIFY reportChanged)
    Q_PROPERTY(QString countedText READ countedText NOTIFY reportChanged)
    Q_PROPERTY(QString landingsText READ landingsText NOTIFY reportChanged)
    Q_PROPERTY(QString submittedText READ submittedText NOTIFY reportChanged)
    Q_PROPERTY(bool showsReview READ showsReview NOTIFY reportChanged)
    Q_PROPERTY(QString reviewSymbol READ reviewSymbol NOTIFY reportChanged)
    Q_PROPERTY(QString reviewerText READ reviewerText NOTIFY reportChanged)
    Q_PROPERTY(QString reviewedText READ reviewedText NOTIFY reportChanged)
    Q_PROPERTY(QString reason READ reason NOTIFY reportChanged)
    Q_PROPERTY(QString note READ note NOTIFY reportChanged)
    Q_PROPERTY(bool showsInquiry READ showsInquiry NOTIFY reportChanged)
    Q_PROPERTY(QString inquirer READ inquirer NOTIFY reportChanged)
    Q_PROPERTY(QString inquiry READ inquiry NOTIFY reportChanged)
    Q_PROPERTY(bool showsUpload READ showsUpload NOTIFY reportChanged)

    Q_PROPERTY(EvidenceList *evidence READ evidence CONSTANT)
    Q_PROPERTY(int evidenceCount READ evidenceCount NOTIFY evidenceChanged)
    Q_PROPERTY(QString limitsText READ limitsText NOTIFY evidenceChanged)
    Q_PROPERTY(bool canPick READ canPick NOTIFY stateChanged)
    Q_PROPERTY(int pickLimit READ pickLimit NOTIFY evidenceChanged)
    Q_PROPERTY(UploadList *files READ files CONSTANT)
    Q_PROPERTY(int fileCount READ fileCount NOTIFY filesChanged)
    Q_PROPERTY(QString uploadText READ uploadText NOTIFY filesChanged)
    Q_PROPERTY(bool canUpload READ canUpload NOTIFY stateChanged)
    Q_PROPERTY(QStringList photoFilters READ photoFilters CONSTANT)

    Q_PROPERTY(bool busy READ busy NOTIFY stateChanged)
    // The upload button's own work: the pictures made ready and sent, until the answer.
    Q_PROPERTY(bool uploading READ uploading NOTIFY stateChanged)
    // The pictures are on their way to the service: sent, the answer not yet come.
    Q_PROPERTY(bool sending READ sending NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    // How many of the member's actions here (a pick, an upload, "重试") have failed: each is shown anew.
    Q_PROPERTY(int failures READ failures NOTIFY stateChanged)
    // What the last pick left out for want of room: no failure, so nothing to retry.
    Q_PROPERTY(QString notice READ notice NOTIFY stateChanged)
    Q_PROPERTY(bool success READ success NOTIFY stateChanged)

public:
    explicit PirepDetailModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);

    // The report the caller holds; the page shows the member data's newer copy when there is one.
    void setPirep(const Pirep &report);
    // The report of the route the page was pushed with.
    Q_INVOKABLE void openRoute(MemberNavigation *navigation, const PageRoute &route);
    QString reportId() const { return m_report.id; }
    void setPirepId(const QString &id);
    // The member data's copy of the report, else the one the page was opened with.
    Pirep current() const;

    QString statusTitle() const { return current().statusTitle(); }
    int verdict() const;
    QString from() const { return current().departureCode; }
    QString to() const { return current().arrivalCode; }
    QString durationText() const;
    QString aircraft() const { return current().aircraft; }
    QString livery() const { return current().livery; }
    QString flightTimeText() const;
    QString factorText() const;
    bool showsCounted() const { return current().status == QLatin1String("approved"); }
    QString countedText() const;
    QString landingsText() const;
    QString submittedText() const;
    // (title, value) of the header card: four facts, five for an approved report.
    QList<std::pair<QString, QString>> facts() const;
    bool showsReview() const { return !current().isPending(); }
    QString reviewSymbol() const;
    QString reviewerText() const;
    QString reviewedText() const;
    QString reason() const { return current().rejectionReason.value_or(QString()); }
    QString note() const { return current().submitNote.value_or(QString()); }
    bool showsInquiry() const;
    QString inquirer() const;
    QString inquiry() const;
    bool showsUpload() const;

    EvidenceList *evidence() { return &m_evidence; }
    int evidenceCount() const { return m_evidence.rowCount(); }
    QString limitsText() const;
    bool canPick() const { return !busy() && evidenceCount() < maxPictures; }
    int pickLimit() const { return std::max(1, maxPictures - evidenceCount()); }
    UploadList *files() { return &m_files; }
    int fileCount() const { return m_files.rowCount(); }
    QString uploadText() const;
    bool canUpload() const { return !busy() && fileCount() > 0; }
    QStringList photoFilters() const;

    bool busy() const { return m_importing || m_uploading; }
    bool uploading() const { return m_uploading; }
    bool sending() const { return m_sending; }
    QString error() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }
    QString notice() const { return m_notice.value_or(QString()); }
    bool success() const { return m_success; }

    // The page came on screen: loads the evidence now and again whenever it is given another report.
    Q_INVOKABLE void appear();
    // The notice's retry.
    Q_INVOKABLE void showEvidence() { loadEvidence(true); }
    // `asked`: by the member ("重试"), whose failure is the outcome of what he just did; the page's own loads
    // fail quietly into the notice.
    QCoro::Task<> loadEvidence(bool asked = false);
    // The member pulled to refresh: their reports, then the evidence.
    Q_INVOKABLE void refresh() { refreshAll(); }
    QCoro::Task<> refreshAll();
    // A new pick replaces the screenshots with the conversion of the whole pick.
    Q_INVOKABLE void pickPhotos(const QList<QUrl> &items) { importPhotos(items); }
    QCoro::Task<> importPhotos(QList<QUrl> items);
    Q_INVOKABLE void removeFile(int index);
    Q_INVOKABLE void upload() { send(); }
    QCoro::Task<> send();
    // The "uploaded" alert was closed.
    Q_INVOKABLE void dismissSuccess();

    static constexpr int maxPictures = 6;

Q_SIGNALS:
    void appStateChanged();
    void memberDataChanged();
    void reportChanged();
    void evidenceChanged();
    void filesChanged();
    void stateChanged();

private:
    QString evidencePath() const;
    void setError(std::optional<QString> error);
    // What the member just did failed with this text.
    void fail(const QString &error);
    void setNotice(std::optional<QString> notice);
    void setFiles(QList<Upload> files);

    QPointer<AppState> m_app;
    QPointer<MemberData> m_data;
    Pirep m_report;
    EvidenceList m_evidence;
    UploadList m_files;
    std::optional<QString> m_error;
    int m_failures = 0;
    std::optional<QString> m_notice;
    bool m_importing = false;
    bool m_uploading = false;
    bool m_sending = false;
    bool m_success = false;
    bool m_shown = false;
    Lifetime m_reportRun; // loads for the report shown; another report's answers change nothing
    Lifetime m_photoRun;  // the newest pick; an older one that ends later changes nothing
    Lifetime m_lifetime;  // last: ends first
};
