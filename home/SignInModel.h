#pragma once

#include "AppState.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

// The sign-in form: user name, password, whether to stay signed in, and the one sign-in at a time.
class SignInModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(QString username READ username WRITE setUsername NOTIFY changed)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY changed)
    Q_PROPERTY(bool remember READ remember WRITE setRemember NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(bool ready READ ready NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    // How many sign-ins of this form have failed: each failure is shown anew, also with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY changed)
    Q_PROPERTY(bool offersSavedAccounts READ offersSavedAccounts NOTIFY changed)

public:
    explicit SignInModel(QObject *parent = nullptr);

    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);

    QString username() const { return m_username; }
    void setUsername(const QString &username);
    QString password() const { return m_password; }
    void setPassword(const QString &password);
    bool remember() const { return m_remember; }
    void setRemember(bool remember);
    bool busy() const { return m_busy; }
    const std::optional<QString> &error() const { return m_error; }

    // The button is enabled: not busy, a user name that is more than blanks, any password.
    bool ready() const;
    // The form's own failure first, else the account state's message (an expired session, a failed restore).
    QString notice() const;
    bool offersSavedAccounts() const;
    int failures() const { return m_failures; }

    // The button and Return in the password field: the same rule, so a blank user name is never sent.
    Q_INVOKABLE void signIn();
    // The same, for a caller that wants to wait for the outcome.
    QCoro::Task<> submit();

Q_SIGNALS:
    void appStateChanged();
    void changed();

private:
    QPointer<AppState> m_appState;
    QString m_username;
    QString m_password;
    bool m_remember = false;
    bool m_busy = false;
    std::optional<QString> m_error;
    int m_failures = 0;
    Lifetime m_lifetime;
};
