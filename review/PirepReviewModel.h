#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "MemberNavigation.h"
#include "ReviewDecision.h"
#include "ReviewRecords.h"
#include "ReviewText.h"
#include "ReviewWorkbenchModel.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

#include <functional>
#include <optional>

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
    // How many of the checks' fetches the member asked for again ("重试") have failed.
    Q_PROPERTY(int checkFailures READ checkFailures NOTIFY checksChanged)
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
    // How many of the member's actions have failed: each failure is shown anew, also with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY errorChanged)

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

    QString applicantHeader() const { return ReviewText::applicantHeader(m_report); }
    QString applicant() const { return ReviewText::applicant(m_report); }
    QString statusTitle() const { return m_report.statusTitle(); }
    int verdict() const;
    QString from() const { return m_report.departureCode; }
    QString to() const { return m_report.arrivalCode; }
    QString equipment() const { return ReviewText::equipment(m_report); }
    QString flightTimeText() const { return ReviewText::flightTime(m_report); }
    QString countedText() const { return ReviewText::countedTime(m_report); }
    QString landingsText() const { return ReviewText::landings(m_report); }
    QString submitNote() const { return m_report.submitNote.value_or(QString()); }
    bool showsSubmitNote() const { return m_report.submitNote.has_value(); }
    QString holdNote() const { return m_report.holdNote.value_or(QString()); }
    bool showsHoldNote() const { return held() && m_report.holdNote.has_value(); }
    QString rejectionReason() const { return m_report.rejectionReason.value_or(QString()); }
    bool showsRejectionReason() const { return m_report.rejectionReason.has_value(); }
    bool held() const { return m_report.state() == PirepState::OnHold; }
    bool showsDelete() const;

    QList<ReviewText::Line> checkList() const { return ReviewText::checks(checked()); }
    QVariantList checkLines() const;
    bool checking() const { return m_checking; }
    QString checkError() const { return m_checkError.value_or(QString()); }
    int checkFailures() const { return m_checkFailures; }
    bool showsNoChecks() const;

    QStringList evidence() const { return m_evidence; }
    const QList<ReviewEntry> &history() const { return m_history; }
    QVariantList historyRows() const;

    QString decisionTitle() const { return ReviewText::decisionTitle(m_report); }
    QVariantList decisionOptions() const { return ReviewText::decisionOptions(m_report); }
    QString decision() const { return m_form.decision; }
    void setDecision(const QString &decision);
    int decisionIndex() const { return m_form.decisionIndex(); }
    void setDecisionIndex(int index);
    QString note() const { return m_form.note; }
    void setNote(const QString &note);
    QString reason() const { return m_form.reason; }
    void setReason(const QString &reason);
    double percent() const { return m_form.percent; }
    void setPercent(double percent);
    QVariantList multiplierOptions() const { return ReviewText::multiplierOptions(); }
    int multiplierIndex() const { return m_form.multiplierIndex(); }
    void setMultiplierIndex(int index);
    bool canSave() const { return !m_busy && m_form.complete(); }
    QString saveSymbol() const { return ReviewText::saveSymbol(m_form.decision); }
    bool saveApproves() const { return m_form.approves(); }

    QString confirmAction() const { return m_confirmAction.value_or(QString()); }
    bool confirming() const { return m_confirming; }
    void setConfirming(bool confirming);
    QString confirmTitle() const { return ReviewText::confirmTitle(confirmAction()); }
    QString confirmMessage() const { return ReviewText::confirmMessage(confirmAction()); }
    QString confirmButton() const { return ReviewText::confirmButton(confirmAction()); }
    bool confirmDestroys() const { return ReviewText::destroys(confirmAction()); }

    bool busy() const { return m_busy; }
    QString error() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }

    // The body that `action` posts, read from the edits now; none when it cannot be built.
    QJsonObject body(const QString &action) const { return m_form.body(action, m_report); }
    static QString pathSegment(const QString &action);

    // The page showed: the evidence then the history, and the checks beside them.
    Q_INVOKABLE void appear();
    QCoro::Task<> loadRecords();
    QCoro::Task<> loadChecks(bool asked = false);
    Q_INVOKABLE void retryChecks() { loadChecks(true); }
    // A button asks for its action; the alert's confirm button performs it.
    Q_INVOKABLE void ask(const QString &action);
    Q_INVOKABLE void save()
    {
        ask(m_form.decision == QLatin1String("inquiry") ? QStringLiteral("hold") : QStringLiteral("review"));
    }
    Q_INVOKABLE void confirm() { perform(); }
    QCoro::Task<> perform();

    int textLimit() const { return ReviewDecision::maxTextLength; }

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
    void setError(std::optional<QString> error);

    QPointer<AppState> m_app;
    Pirep m_report;
    std::optional<Pirep> m_checked;
    std::function<QCoro::Task<>()> m_changed;
    QPointer<ReviewWorkbenchModel> m_queue;
    // The decision being written; a session that ends during the review keeps it for the same report,
    // unless it is still the one the report came with.
    ReviewDecision m_form;
    ReviewDecision m_opened;
    bool m_busy = false;
    std::optional<QString> m_error;
    int m_failures = 0;
    std::optional<QString> m_confirmAction;
    bool m_confirming = false;
    QStringList m_evidence;
    QList<ReviewEntry> m_history;
    bool m_checking = false;
    std::optional<QString> m_checkError;
    int m_checkFailures = 0;
    Lifetime m_lifetime; // last: ends first
};
