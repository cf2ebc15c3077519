#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "LiveTabModel.h"
#include "LiveValues.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

#include <QCoro/QCoroTask>

#include <functional>
#include <optional>

// A reviewer's screen for one schedule application. A pending one is approved or rejected with a reason; one
// in processing (or needing review) is resolved by what the reviewer found in Infinite Flight's official
// schedules; any other is only shown. It is sent once, after a confirmation; then the screen stays locked on
// its outcome and asks its opener to reload.
class LiveApplicationReviewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(LiveApplicationValue item READ item WRITE setItem NOTIFY itemChanged)
    // The Live page the screen was opened from: it reloads after the review, even once the screen is gone.
    Q_PROPERTY(LiveTabModel *opener READ opener WRITE setOpener NOTIFY openerChanged)
    Q_PROPERTY(Mode mode READ mode NOTIFY itemChanged)
    // The application as its card on the Live page shows it.
    Q_PROPERTY(LiveApplicationCardValue card READ card NOTIFY itemChanged)
    Q_PROPERTY(QString applicant READ applicant NOTIFY itemChanged)
    Q_PROPERTY(QString organization READ organization NOTIFY itemChanged)

    Q_PROPERTY(QVariantList decisionOptions READ decisionOptions CONSTANT)
    Q_PROPERTY(int decisionIndex READ decisionIndex WRITE setDecisionIndex NOTIFY editChanged)
    Q_PROPERTY(QString decision READ decision NOTIFY editChanged)
    Q_PROPERTY(QVariantList outcomeOptions READ outcomeOptions CONSTANT)
    Q_PROPERTY(int outcomeIndex READ outcomeIndex WRITE setOutcomeIndex NOTIFY editChanged)
    Q_PROPERTY(QString outcome READ outcome NOTIFY editChanged)
    Q_PROPERTY(QString reason READ reason WRITE setReason NOTIFY editChanged)
    Q_PROPERTY(bool asksReason READ asksReason NOTIFY editChanged)
    Q_PROPERTY(int reasonLimit READ reasonLimit CONSTANT)
    Q_PROPERTY(QString scheduleId READ scheduleId WRITE setScheduleId NOTIFY editChanged)
    Q_PROPERTY(bool checked READ checked WRITE setChecked NOTIFY editChanged)
    Q_PROPERTY(bool valid READ valid NOTIFY editChanged)

    Q_PROPERTY(bool busy READ busy NOTIFY editChanged)
    Q_PROPERTY(bool locked READ locked NOTIFY editChanged)
    Q_PROPERTY(bool confirming READ confirming WRITE setConfirming NOTIFY confirmingChanged)
    Q_PROPERTY(QString confirmMessage READ confirmMessage NOTIFY editChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    // The review was saved: the message says so (or what the service warned of).
    Q_PROPERTY(bool saved READ saved NOTIFY messageChanged)
    // How many reviews sent from here have failed: each failure is shown anew.
    Q_PROPERTY(int failures READ failures NOTIFY messageChanged)

public:
    // The longest reason or note, in characters as a reader counts them.
    static constexpr int maxReasonLength = 500;
    int reasonLimit() const { return maxReasonLength; }

    enum Mode { Decision, Verification, ReadOnly };
    Q_ENUM(Mode)

    explicit LiveApplicationReviewModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    LiveApplicationValue item() const { return m_item; }
    void setItem(const LiveApplicationValue &item);
    LiveTabModel *opener() const { return m_opener; }
    void setOpener(LiveTabModel *opener);
    // What the opener reloads after a submission, awaited before the screen is free again.
    void setChanged(std::function<QCoro::Task<>()> changed) { m_changed = std::move(changed); }

    Mode mode() const;
    LiveApplicationCardValue card() const { return LiveApplicationCardValue::of(m_item.item); }
    QString applicant() const { return m_item.item.username.value_or(QString()); }
    QString organization() const { return m_item.item.organization.value_or(QString()); }

    QVariantList decisionOptions() const;
    int decisionIndex() const;
    void setDecisionIndex(int index);
    QString decision() const { return m_decision; }
    void setDecision(const QString &decision);
    QVariantList outcomeOptions() const;
    int outcomeIndex() const;
    void setOutcomeIndex(int index);
    QString outcome() const { return m_outcome; }
    void setOutcome(const QString &outcome);
    QString reason() const { return m_reason; }
    void setReason(const QString &reason);
    // Whether the form shows the reason, which it then requires: a rejection of a pending application
    // needs one, an approval none; every verification needs its note.
    bool asksReason() const;
    QString scheduleId() const { return m_scheduleId; }
    void setScheduleId(const QString &id);
    bool checked() const { return m_checked; }
    void setChecked(bool checked);

    bool valid() const;
    bool busy() const { return m_busy; }
    bool locked() const { return m_locked; }
    bool confirming() const { return m_confirming; }
    void setConfirming(bool confirming);
    QString confirmMessage() const;
    QString message() const { return m_message.value_or(QString()); }
    int failures() const { return m_failures; }
    bool saved() const { return m_saved; }

    // The review request now: the endpoint's last segment and the body sent to it.
    QString requestName() const;
    QJsonObject body() const;
    // Whether a text is a schedule id: a UUID in its 36-character form, nothing around it.
    static bool isScheduleId(const QString &text);

    // The save button asks; the alert's confirm button sends.
    Q_INVOKABLE void ask();
    Q_INVOKABLE void confirm() { submit(); }
    QCoro::Task<> submit();

Q_SIGNALS:
    void appStateChanged();
    void itemChanged();
    void editChanged();
    void confirmingChanged();
    void openerChanged();
    void messageChanged();

private:
    void setMessage(std::optional<QString> message);
    void choose(QString &choice, const QStringList &options, int index);

    QPointer<AppState> m_app;
    LiveApplicationValue m_item;
    QPointer<LiveTabModel> m_opener;
    std::function<QCoro::Task<>()> m_changed;
    QString m_decision = QStringLiteral("approved");
    QString m_reason;
    QString m_outcome = QStringLiteral("created");
    QString m_scheduleId;
    bool m_checked = false;
    bool m_busy = false;
    bool m_locked = false;
    bool m_confirming = false;
    bool m_saved = false;
    std::optional<QString> m_message;
    int m_failures = 0;
    Lifetime m_lifetime; // last: ends first
};
