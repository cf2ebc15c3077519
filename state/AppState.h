#pragma once

#include "APIClient.h"
#include "AccountSessionVault.h"
#include "Busy.h"
#include "KeptForms.h"
#include "Lifetime.h"

#include <QImage>
#include <QObject>
#include <QQmlEngine>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

// Where the account state makes its clients and finds its stores: the member site and the keychain,
// or, in tests, the sample service and stores of their own.
struct AccountEnvironment
{
    QUrl origin;
    TrustedCertificates trustedCertificates;
    std::function<SessionStorePtr(const QString &item)> store; // "session-cookies", "saved-accounts-v1"

    static AccountEnvironment standard();
    std::unique_ptr<APIClient> client(SessionStorePtr sessionStore) const;
};

// Lets QML name the client type that AppState hands to the member tabs.
struct APIClientForeign
{
    Q_GADGET
    QML_FOREIGN(APIClient)
    QML_UNCREATABLE("made by the account state")
    QML_NAMED_ELEMENT(APIClient)
};

// The one account state: the current client, the signed-in member, the account gate, the last account
// message, the profile and avatar, the revision that keys the member tabs, and the saved accounts.
class AppState : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(APIClient *api READ api NOTIFY revisionChanged)
    Q_PROPERTY(QString revision READ revisionText NOTIFY revisionChanged)
    Q_PROPERTY(bool checking READ checking NOTIFY sessionChanged)
    Q_PROPERTY(bool signedIn READ signedIn NOTIFY sessionChanged)
    Q_PROPERTY(Gate gate READ gateState NOTIFY sessionChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    Q_PROPERTY(QString username READ username NOTIFY sessionChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY sessionChanged)
    Q_PROPERTY(QString role READ role NOTIFY sessionChanged)
    Q_PROPERTY(bool isMember READ isMember NOTIFY sessionChanged)
    Q_PROPERTY(bool hasProfile READ hasProfile NOTIFY profileChanged)
    Q_PROPERTY(QString formattedCallsign READ formattedCallsign NOTIFY profileChanged)
    Q_PROPERTY(bool hasAvatar READ hasAvatar NOTIFY profileChanged)
    // A QImage; QML lint knows no such type, so it travels as a variant.
    Q_PROPERTY(QVariant avatar READ avatarValue NOTIFY profileChanged)
    Q_PROPERTY(int savedAccountCount READ savedAccountCount NOTIFY accountsChanged)
    Q_PROPERTY(bool accountBusy READ accountBusy NOTIFY accountsChanged)

public:
    // What the window root shows for the gate; NoGate while it has not answered.
    enum class Gate { NoGate, Ready, Password, Profile };
    Q_ENUM(Gate)

    explicit AppState(QObject *parent = nullptr);
    AppState(AccountEnvironment environment, std::unique_ptr<APIClient> api, QObject *parent = nullptr);
    ~AppState() override;

    // Start-up: takes up the stored session, names the user and asks the gate. Never throws.
    QCoro::Task<> restore();
    // Asks the gate again; failures end in `message`. Never throws.
    QCoro::Task<> checkGate();
    QCoro::Task<> signIn(QString username, QString password, bool remember);
    QCoro::Task<> signOut();
    // Signs out; a failure shows as the account message. Never throws.
    QCoro::Task<> signOutOrSay();
    QCoro::Task<> refreshProfile();

    // Saved accounts.
    QCoro::Task<> rememberCurrentAccount();
    QCoro::Task<> addAccount(QString username, QString password);
    QCoro::Task<> switchAccount(SavedLogin saved);
    QCoro::Task<> removeSavedAccount(SavedLogin saved);

    // Forms open when the session ends are read and kept for the same member's next sign-in.
    void watchForm(QObject *form, const QString &kind, KeptForms::Reading read);
    // Whether a form of that kind was kept for the signed-in member, and its content, handed over once.
    Q_INVOKABLE bool keepsForm(const QString &kind) const;
    std::optional<std::any> takeKeptForm(const QString &kind);

    // For the window root: the same operations started from QML, their outcome read from the state.
    Q_INVOKABLE void startRestore();
    Q_INVOKABLE void startGateCheck();
    // Signs out from a button; a failure shows as the account message.
    Q_INVOKABLE void startSignOut();

    APIClient *api() const { return m_api.get(); }
    const std::optional<User> &user() const { return m_user; }
    const std::optional<AccountGate> &gate() const { return m_gate; }
    const std::optional<Profile> &profile() const { return m_profile; }
    const QImage &avatar() const { return m_avatar; }
    QVariant avatarValue() const { return m_avatar.isNull() ? QVariant() : QVariant(m_avatar); }
    const QList<SavedLogin> &savedAccounts() const { return m_savedAccounts; }
    const QUuid &revision() const { return m_revision; }

    bool checking() const { return m_checking; }
    bool signedIn() const { return m_user.has_value(); }
    Gate gateState() const;
    QString message() const { return m_message.value_or(QString()); }
    bool hasMessage() const { return m_message.has_value(); }
    QString username() const;
    QString displayName() const;
    QString role() const;
    bool isMember() const;
    bool hasProfile() const { return m_profile.has_value(); }
    QString formattedCallsign() const;
    bool hasAvatar() const { return !m_avatar.isNull(); }
    int savedAccountCount() const { return int(m_savedAccounts.size()); }
    bool accountBusy() const { return m_accountBusy; }
    QString revisionText() const { return m_revision.toString(QUuid::WithoutBraces); }

Q_SIGNALS:
    // The signed-in member, the gate and the restore's check; the account message; the profile and avatar;
    // the saved accounts and whether an account operation runs.
    void sessionChanged();
    void messageChanged();
    void profileChanged();
    void accountsChanged();
    // After any of the four, for whoever follows the whole state.
    void stateChanged();
    void revisionChanged();
    // The saved accounts were read at creation (whether or not that succeeded).
    void savedAccountsLoaded();

private:
    QCoro::Task<> loadSavedAccounts();
    // Stores the current session and its entry; `prompt` says whether the member asked for it.
    QCoro::Task<> remember(KeyringPrompt prompt);
    QCoro::Task<> activate(std::unique_ptr<APIClient> client, User user, AccountGate gate,
                           KeyringPrompt prompt);
    std::unique_ptr<APIClient> freshClient() const;
    // Sets accountBusy until the guard goes, on every way out of the operation.
    BusyGuard holdAccountBusy(Lifetime::Guard lifetime);
    void bind(APIClient *client);
    void newRevision();
    enum Concern { Session = 1, Message = 2, ProfileShown = 4, Accounts = 8, Everything = 15 };
    // Tells what changed: each concern's signal, then stateChanged.
    void tell(int concerns);
    void setMessage(std::optional<QString> message);
    // The member, their profile and picture forgotten here; the caller tells the change.
    void signedOutLocally();

    AccountEnvironment m_environment;
    std::unique_ptr<APIClient> m_api;
    std::optional<User> m_user;
    bool m_checking = true;
    std::optional<AccountGate> m_gate;
    std::optional<QString> m_message;
    std::optional<Profile> m_profile;
    QImage m_avatar;
    QUuid m_revision = QUuid::createUuid();
    QList<SavedLogin> m_savedAccounts;
    bool m_accountBusy = false;
    AccountSessionVault m_accountVault;
    bool m_savedAccountsRead = false;
    KeptForms m_keptForms;
    Lifetime m_lifetime; // last: ends first
};
