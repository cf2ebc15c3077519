#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "MemberNavigation.h"
#include "ReviewRecords.h"
#include "ReviewWorkbenchModel.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

#include <functional>
#include <optional>

// The texts of the system checks and the history rows, which the page draws as they come.
namespace ReviewText {
// How a check line is coloured.
enum class Tone { Plain, Good, Bad, Neutral, Caption };
struct Line
{
    QString text;
    Tone tone = Tone::Plain;
    bool operator==(const Line &) const = default;
};
// The route check's verdict and, for a matching callsign, its second line; none without a route check.
QList<Line> routeCheck(const Pirep &report);
// Whether the uploaded, simulator and site callsigns agree.
Line callsignVerdict(const CallsignReview &review);
// Why the simulator's callsign is missing.
QString missingCallsign(const std::optional<QString> &note);
// One history row: its title, status, reason, multiplier (each empty when the entry has none) and time.
struct HistoryRow
{
    QString title;
    std::optional<QString> status;
    std::optional<QString> reason;
    std::optional<QString> multiplier;
    QString time;
};
HistoryRow historyRow(const ReviewEntry &entry);
} // namespace ReviewText

// The review page of one report: the report, the service's checks, the evidence, the decision, the
// release of a hold, the multiplier, the history and, for developers, the deletion. Every action is
// confirmed and then posted; after a success the queue reloads and the page closes.
class PirepReviewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)

    Q_PROPERTY(QString applicantHeader READ applicantHeader NOTIFY reportChanged)
    Q_PROPERTY(QString applicant READ applicant NOTIFY reportChanged)
    Q_PROPERTY(QString statusTitle READ statusTitle NOTIFY reportChanged)
    Q_PROPERTY(int verdict READ verdict NOTIFY reportChanged)
    Q_PROPERTY(QString from READ from NOTIFY reportChanged)
    Q_PROPERTY(QString to READ to NOTIFY reportChanged)
    Q_PROPERTY(QString equipment READ equipment NOTIFY reportChanged)
    Q_PROPERTY(QString flightTimeText READ flightTimeText NOTIFY reportChanged)
    Q_PROPERTY(QString countedText READ countedText NOTIFY reportChanged)
    Q_PROPERTY(QString landingsText READ landingsText NOTIFY reportChanged)
    Q_PROPERTY(QString submitNote READ submitNote NOTIFY reportChanged)
    Q_PROPERTY(bool showsSubmitNote READ showsSubmitNote NOTIFY reportChanged)
    Q_PROPERTY(QString holdNote READ holdNote NOTIFY reportChanged)
    Q_PROPERTY(bool showsHoldNote READ showsHoldNote NOTIFY reportChanged)
    Q_PROPERTY(QString rejectionReason READ rejectionReason NOTIFY reportChanged)
    Q_PROPERTY(bool showsRejectionReason READ showsRejectionReason NOTIFY reportChanged)
    Q_PROPERTY(bool held READ held NOTIFY reportChanged)
    Q_PROPERTY(bool showsDelete READ showsDelete NOTIFY reportChanged)

    Q_PROPERTY(QVariantList checkLines READ checkLines NOTIFY checksChanged)
    Q_PROPERTY(bool checking READ checking NOTIFY checksChanged)
    Q_PROPERTY(QString checkError READ checkError NOTIFY checksChanged)
    Q_PROPERTY(bool showsNoChecks READ showsNoChecks NOTIFY checksChanged)

    Q_PROPERTY(QStringList evidence READ evidence NOTIFY loadedChanged)
    Q_PROPERTY(QVariantList historyRows READ historyRows NOTIFY loadedChanged)

    Q_PROPERTY(QString decisionTitle READ decisionTitle NOTIFY reportChanged)
    Q_PROPERTY(QVariantList decisionOptions READ decisionOptions NOTIFY reportChanged)
    Q_PROPERTY(QString decision READ decision WRITE setDecision NOTIFY editChanged)
    Q_PROPERTY(int decisionIndex READ decisionIndex WRITE setDecisionIndex NOTIFY editChanged)
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY editChanged)
    Q_PROPERTY(QString reason READ reason WRITE setReason NOTIFY editChanged)
    Q_PROPERTY(double percent READ percent WRITE setPercent NOTIFY editChanged)
    Q_PROPERTY(QVariantList multiplierOptions READ multiplierOptions CONSTANT)
    Q_PROPERTY(int textLimit READ textLimit CONSTANT)
    Q_PROPERTY(int multiplierIndex READ multiplierIndex WRITE setMultiplierIndex NOTIFY editChanged)
    Q_PROPERTY(bool canSave READ canSave NOTIFY editChanged)
    Q_PROPERTY(QString saveSymbol READ saveSymbol NOTIFY editChanged)
    Q_PROPERTY(bool saveApproves READ saveApproves NOTIFY editChanged)

    Q_PROPERTY(QString confirmAction READ confirmAction NOTIFY confirmChanged)
    Q_PROPERTY(bool confirming READ confirming WRITE setConfirming NOTIFY confirmChanged)
    Q_PROPERTY(QString confirmTitle READ confirmTitle NOTIFY confirmChanged)
    Q_PROPERTY(QString confirmMessage READ confirmMessage NOTIFY confirmChanged)
    Q_PROPERTY(QString confirmButton READ confirmButton NOTIFY confirmChanged)
    Q_PROPERTY(bool confirmDestroys READ confirmDestroys NOTIFY confirmChanged)

    Q_PROPERTY(bool busy READ busy NOTIFY editChanged)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)

public:
    explicit PirepReviewModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);

    // The report the queue hands over, and what reloads the queue after a success.
    void setPirep(const Pirep &report);
    void setChanged(std::function<QCoro::Task<>()> changed) { m_changed = std::move(changed); }
    // The report of the review page's route.
    Q_INVOKABLE void openRoute(MemberNavigation *navigation, const PageRoute &route);
    const Pirep &report() const { return m_report; }
    // The report as last fetched with the checks, else the one handed over.
    const Pirep &checked() const { return m_checked ? *m_checked : m_report; }

    QString applicantHeader() const;
    QString applicant() const;
    QString statusTitle() const { return m_report.statusTitle(); }
    int verdict() const;
    QString from() const { return m_report.departureCode; }
    QString to() const { return m_report.arrivalCode; }
    QString equipment() const { return m_report.aircraft + QStringLiteral(" · ") + m_report.livery; }
    QString flightTimeText() const;
    QString countedText() const;
    QString landingsText() const;
    QString submitNote() const { return m_report.submitNote.value_or(QString()); }
    bool showsSubmitNote() const { return m_report.submitNote.has_value(); }
    QString holdNote() const { return m_report.holdNote.value_or(QString()); }
    bool showsHoldNote() const { return held() && m_report.holdNote.has_value(); }
    QString rejectionReason() const { return m_report.rejectionReason.value_or(QString()); }
    bool showsRejectionReason() const { return m_report.rejectionReason.has_value(); }
    bool held() const;
    bool showsDelete() const;

    QList<ReviewText::Line> checkList() const;
    QVariantList checkLines() const;
    bool checking() const { return m_checking; }
    QString checkError() const { return m_checkError.value_or(QString()); }
    bool showsNoChecks() const;

    QStringList evidence() const { return m_evidence; }
    const QList<ReviewEntry> &history() const { return m_history; }
    QVariantList historyRows() const;

    QString decisionTitle() const;
    QVariantList decisionOptions() const;
    QString decision() const { return m_decision; }
    void setDecision(const QString &decision);
    int decisionIndex() const;
    void setDecisionIndex(int index);
    QString note() const { return m_note; }
    void setNote(const QString &note);
    QString reason() const { return m_reason; }
    void setReason(const QString &reason);
    double percent() const { return m_percent; }
    void setPercent(double percent);
    QVariantList multiplierOptions() const;
    int multiplierIndex() const;
    void setMultiplierIndex(int index);
    bool canSave() const;
    QString saveSymbol() const;
    bool saveApproves() const { return m_decision == QLatin1String("approved"); }

    QString confirmAction() const { return m_confirmAction.value_or(QString()); }
    bool confirming() const { return m_confirming; }
    void setConfirming(bool confirming);
    QString confirmTitle() const;
    QString confirmMessage() const;
    QString confirmButton() const;
    bool confirmDestroys() const { return m_confirmAction == QLatin1String("delete"); }

    bool busy() const { return m_busy; }
    QString error() const { return m_error.value_or(QString()); }

    // The body that `action` posts, read from the edits now; none when it cannot be built.
    QJsonObject body(const QString &action) const;
    static QString pathSegment(const QString &action);

    // The page showed: the evidence then the history, and the checks beside them.
    Q_INVOKABLE void appear();
    QCoro::Task<> loadRecords();
    QCoro::Task<> loadChecks();
    Q_INVOKABLE void retryChecks() { loadChecks(); }
    // A button asks for its action; the alert's confirm button performs it.
    Q_INVOKABLE void ask(const QString &action);
    Q_INVOKABLE void save()
    {
        ask(m_decision == QLatin1String("inquiry") ? QStringLiteral("hold") : QStringLiteral("review"));
    }
    Q_INVOKABLE void confirm() { perform(); }
    QCoro::Task<> perform();

    // The longest rejection reason or inquiry note, in characters as a reader counts them.
    static constexpr int maxTextLength = 500;
    int textLimit() const { return maxTextLength; }

Q_SIGNALS:
    void appStateChanged();
    void reportChanged();
    void checksChanged();
    void loadedChanged();
    void editChanged();
    void confirmChanged();
    void errorChanged();
    // The action is done and the queue reloaded: the page goes.
    void closed();

private:
    // What a session that ends during a review keeps of the decision being written, for the same report.
    struct Kept
    {
        QString decision;
        QString reason;
        QString note;
        double percent = 100;
        bool operator==(const Kept &) const = default;
    };
    Kept edits() const { return {m_decision, m_reason, m_note, m_percent}; }
    void setError(std::optional<QString> error);

    QPointer<AppState> m_app;
    Kept m_opened; // the decision as the report came: an untouched form is not kept
    Pirep m_report;
    std::optional<Pirep> m_checked;
    std::function<QCoro::Task<>()> m_changed;
    QPointer<ReviewWorkbenchModel> m_queue;
    QString m_decision = QStringLiteral("approved");
    QString m_reason;
    QString m_note;
    double m_percent = 100;
    bool m_busy = false;
    std::optional<QString> m_error;
    std::optional<QString> m_confirmAction;
    bool m_confirming = false;
    QStringList m_evidence;
    QList<ReviewEntry> m_history;
    bool m_checking = false;
    std::optional<QString> m_checkError;
    Lifetime m_lifetime; // last: ends first
};
