#pragma once

#include "AppState.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

#include <optional>

// The account switcher over the saved accounts of AppState: switch, remove, add with user name
// and password, sign out. The limit of two, the sessions and the busy flag are AppState's; the panel shows
// its state and the failures. `dismiss` asks the presenter to close the panel.
class AccountSwitcherModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    // One map per saved account, in stored order: id, username, current, status (the state text shown under
    // the name), heard (the row's name for a screen reader), removeName (its remove button's), avatar (a
    // QImage or nothing).
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(bool canAdd READ canAdd NOTIFY changed)
    Q_PROPERTY(bool signedIn READ signedIn NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString username READ username WRITE setUsername NOTIFY changed)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY changed)
    Q_PROPERTY(bool addingAccount READ addingAccount WRITE setAddingAccount NOTIFY changed)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY changed)
    Q_PROPERTY(QString error READ errorText NOTIFY changed)
    // How many of the member's actions here have failed: each failure is shown anew, also with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY changed)

public:
    explicit AccountSwitcherModel(QObject *parent = nullptr);

    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);
    QVariantList rows() const;
    bool canAdd() const { return m_appState && m_appState->savedAccountCount() < 2; }
    bool signedIn() const { return m_appState && m_appState->signedIn(); }
    bool busy() const { return m_appState && m_appState->accountBusy(); }
    QString username() const { return m_username; }
    void setUsername(const QString &text);
    QString password() const { return m_password; }
    void setPassword(const QString &text);
    bool addingAccount() const { return m_addingAccount; }
    // Closing the form empties the password, not the user name.
    void setAddingAccount(bool open);
    bool canSubmit() const;
    QString errorText() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }

    Q_INVOKABLE void appear() { rememberCurrent(); }
    // A new presentation of the panel: the fields, the error and the add form as at first, then appear().
    Q_INVOKABLE void reset();
    Q_INVOKABLE void switchTo(const QString &id) { switchAccount(id); }
    Q_INVOKABLE void remove(const QString &id) { removeAccount(id); }
    Q_INVOKABLE void add() { addAccount(); }
    Q_INVOKABLE void startSignOut() { signOut(); }

    QCoro::Task<> rememberCurrent();
    QCoro::Task<> switchAccount(QString id);
    QCoro::Task<> removeAccount(QString id);
    QCoro::Task<> addAccount();
    QCoro::Task<> signOut();

Q_SIGNALS:
    void appStateChanged();
    void changed();
    void dismiss();
    // A removal asked for has ended, the account gone from the rows or, failing, kept there.
    void removeEnded(bool removed);

private:
    std::optional<SavedLogin> saved(const QString &id) const;
    bool isCurrent(const SavedLogin &login) const;
    // A failure of what the member did; `quiet`: of the panel's own step as it opens.
    void setError(const QString &text, bool quiet = false);

    QPointer<AppState> m_appState;
    QString m_username;
    QString m_password;
    bool m_addingAccount = false;
    std::optional<QString> m_error;
    int m_failures = 0;
    Lifetime m_lifetime;
};
