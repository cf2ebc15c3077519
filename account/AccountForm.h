#pragma once

#include "AppState.h"
#include "Lifetime.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <QCoro/QCoroTask>

#include <optional>

// What the account's two forms, the password and the profile, have in common: the app state they work on,
// the required mode of the first login (whose success asks the account gate again; the window follows it),
// the saved alert of the edit mode, the busy flag, the error and the sign-out the required mode offers.
class AccountForm : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(bool required READ required WRITE setRequired NOTIFY requiredChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString error READ errorText NOTIFY errorChanged)
    // How many times what the member did here has failed: each failure is shown anew, also with the same
    // text.
    Q_PROPERTY(int failures READ failures NOTIFY errorChanged)
    Q_PROPERTY(bool saved READ saved WRITE setSaved NOTIFY savedChanged)

public:
    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);
    bool required() const { return m_required; }
    void setRequired(bool required);
    bool busy() const { return m_busy; }
    const std::optional<QString> &error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }
    bool saved() const { return m_saved; }
    void setSaved(bool saved);

    Q_INVOKABLE void startSignOut() { signOut(); }
    QCoro::Task<> signOut();

Q_SIGNALS:
    void appStateChanged();
    // The mode; whether a save, picture or sign-out runs; the failure shown; the saved alert.
    void requiredChanged();
    void busyChanged();
    void errorChanged();
    void savedChanged();

protected:
    explicit AccountForm(QObject *parent = nullptr);

    // The form follows a new app state; called before the change is told.
    virtual void followAppState() {}
    // Shows a failure as the form's error.
    virtual void showFailure(const QString &message);
    // After a save: in the required mode the gate is asked again (the form may be gone when it answers),
    // else the saved alert shows.
    QCoro::Task<> finishSave(QPointer<AppState> state);

    QPointer<AppState> m_appState;
    bool m_required = false;
    bool m_busy = false;
    std::optional<QString> m_error;
    int m_failures = 0;
    bool m_saved = false;
    // The forms' members end before it without resuming any of their work: it still ends before QObject's
    // children go.
    Lifetime m_lifetime;
};
