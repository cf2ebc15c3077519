#include "AppState.h"

#include "APIPath.h"
#include "BoundedPicture.h"
#include "Outcome.h"
#include "ServiceHosts.h"
#include "StateLog.h"

#include <QBuffer>
#include <QPointer>
#include <QTimer>

#include <QCoro/QCoroSignal>

namespace {

constexpr char sessionItem[] = "session-cookies";
constexpr char savedAccountsItem[] = "saved-accounts-v1";

std::optional<QByteArray> jpeg(const QImage &image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 70) || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

QList<SavedLogin> without(const QList<SavedLogin> &logins, const QString &userId)
{
    QList<SavedLogin> rest;
    for (const SavedLogin &login : logins) {
        if (login.id() != userId)
            rest.append(login);
    }
    return rest;
}

APIError listFull()
{
    // Shown as it stands in every language.
    return APIError(400, QStringLiteral("最多保存两个账号，请先移除一个。"));
}

} // namespace

AccountEnvironment AccountEnvironment::standard()
{
    const ServiceHosts::MemberEndpoint &endpoint = ServiceHosts::memberEndpoint();
    return {endpoint.origin, endpoint.trustedCertificates,
            [](const QString &item) { return std::make_shared<KeychainSessionStore>(item); }};
}

std::unique_ptr<APIClient> AccountEnvironment::client(SessionStorePtr sessionStore) const
{
    return std::make_unique<APIClient>(origin, std::move(sessionStore), trustedCertificates);
}

AppState::AppState(QObject *parent)
    : AppState(AccountEnvironment::standard(), nullptr, parent)
{
}

AppState::AppState(AccountEnvironment environment, std::unique_ptr<APIClient> api, QObject *parent)
    : QObject(parent)
    , m_environment(std::move(environment))
    , m_api(api ? std::move(api) : m_environment.client(m_environment.store(QLatin1String(sessionItem))))
    , m_accountVault(m_environment.store(QLatin1String(savedAccountsItem)))
{
    loadSavedAccounts();
    bind(m_api.get());
}

AppState::~AppState() = default;

QCoro::Task<> AppState::loadSavedAccounts()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<QList<SavedLogin>> read = co_await attempt(m_accountVault.load());
    if (!lifetime.alive())
        co_return;
    if (read.ok())
        m_savedAccounts = read.value();
    else if (read.failed())
        setMessage(read.message());
    m_savedAccountsRead = true;
    tell(Accounts);
    Q_EMIT savedAccountsLoaded();
}

void AppState::bind(APIClient *client)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QPointer<APIClient> bound(client);
    // A client that is no longer the current one cannot change the state, even before it is retired.
    const auto current = [this, lifetime, bound] {
        return lifetime.alive() && bound && m_api.get() == bound.data();
    };

    client->onSessionSaved = [this, current](const QByteArray &cookies) {
        if (!current() || !m_user)
            return;
        QList<SavedLogin> copy = m_savedAccounts;
        auto entry = std::find_if(copy.begin(), copy.end(),
                                  [&](const SavedLogin &login) { return login.id() == m_user->id; });
        if (entry == copy.end())
            return;
        entry->session = cookies;
        [](AppState *state, Lifetime::Guard lifetime, QList<SavedLogin> list) -> QCoro::Task<> {
            const Outcome<> saved = co_await attempt(state->m_accountVault.save(list));
            if (!lifetime.alive())
                co_return;
            if (saved.ok())
                state->m_savedAccounts = list;
            else if (saved.failed())
                state->setMessage(saved.message());
            state->tell(Accounts);
        }(this, m_lifetime.guard(), copy);
    };
    client->onUnauthorized = [this, current] {
        if (!current())
            return;
        // What the member was typing outlives the session, for the same account's sign-in.
        if (m_user)
            m_keptForms.keepOpenForms(m_user->id);
        m_user.reset();
        m_profile.reset();
        m_avatar = QImage();
        m_gate.reset();
        m_message = L("登录已过期，请重新登录。");
        newRevision();
    };
    client->onRestricted = [this, current] {
        if (!current() || !m_user)
            return;
        QTimer::singleShot(0, this, [this] { checkGate(); });
    };
}

void AppState::newRevision()
{
    m_revision = QUuid::createUuid();
    tell(Everything);
    Q_EMIT revisionChanged();
}

void AppState::tell(int concerns)
{
    if (concerns & Session)
        Q_EMIT sessionChanged();
    if (concerns & Message)
        Q_EMIT messageChanged();
    if (concerns & ProfileShown)
        Q_EMIT profileChanged();
    if (concerns & Accounts)
        Q_EMIT accountsChanged();
    Q_EMIT stateChanged();
}

void AppState::setMessage(std::optional<QString> message)
{
    m_message = std::move(message);
    tell(Message);
}

void AppState::signedOutLocally()
{
    m_user.reset();
    m_profile.reset();
    m_avatar = QImage();
}

QCoro::Task<> AppState::restore()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    if (!m_savedAccountsRead)
        co_await qCoro(this, &AppState::savedAccountsLoaded);
    if (!lifetime.alive())
        co_return;
    const BusyGuard checking(m_checking, lifetime, [this] { tell(Session); });
    setMessage(std::nullopt);

    APIClient *client = m_api.get();
    try {
        const APIClient::StoredSession stored = co_await client->restoreCookies();
        if (stored == APIClient::StoredSession::Damaged) {
            if (lifetime.alive())
                setMessage(L("保存的登录信息无法读取，请重新登录。"));
            co_return;
        }
        if (stored != APIClient::StoredSession::Restored)
            co_return;
        if (!lifetime.alive())
            co_return;
        const UserResponse me = co_await APIClient::get<UserResponse>(client, APIPath::me());
        if (!lifetime.alive())
            co_return;
        if (me.user.mayUseCentre()) {
            m_user = me.user;
            tell(Session);
            co_await checkGate();
            co_return;
        }
        co_await client->forgetSession();
    } catch (...) {
        // A 401 has already left the expired session's message, through the client.
        const Outcome<> outcome = outcomeOfCurrentException();
        if (lifetime.alive() && outcome.failed() && outcome.status() != 401)
            setMessage(outcome.message());
    }
}

QCoro::Task<> AppState::checkGate()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    if (!m_user)
        co_return;
    APIClient *client = m_api.get();
    const Outcome<AccountGate> asked = co_await attempt(client->accountGate(*m_user));
    // A check overtaken by an account change says nothing: the message belongs to the new account.
    if (!lifetime.alive() || asked.cancelled())
        co_return;
    if (asked.ok()) {
        m_gate = asked.value();
        m_message.reset();
        tell(Session | Message);
        co_return;
    }
    if (asked.status() == 401) {
        const Outcome<> forgotten = co_await attempt(client->forgetSession());
        if (!lifetime.alive() || forgotten.cancelled())
            co_return;
        if (forgotten.failed()) {
            setMessage(forgotten.message());
            co_return;
        }
        signedOutLocally();
        tell(Session | ProfileShown);
    }
    setMessage(asked.message());
}

QCoro::Task<> AppState::signIn(QString username, QString password, bool remember)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    setMessage(std::nullopt);
    const User user = co_await m_api->login(username, password, remember);
    lifetime.check();
    m_keptForms.signedIn(user.id);
    m_user = user;
    newRevision();
    co_await checkGate();
}

QCoro::Task<> AppState::signOut()
{
    if (m_accountBusy)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy = holdAccountBusy(lifetime);
    const std::optional<QString> userId = m_user ? std::optional(m_user->id) : std::nullopt;

    APIClient *client = m_api.get();
    try {
        co_await client->endSession();
    } catch (const APIError &error) {
        // A 401 means the session is already gone: that is signed out too.
        if (error.status() != 401)
            throw;
    } catch (const CancellationError &) {
        // Another answer found the session gone first (the sign-out itself ends it at the service) and the
        // client forgot it, which ends the sign-out's own request: signed out all the same. A client that
        // was replaced meanwhile is another matter.
        if (!lifetime.alive() || m_api.get() != client)
            throw;
    }
    lifetime.check();

    // The session is over at the service and in the client: the window leaves the member now, not once the
    // keychain has answered, which may wait for the member at the desktop's keyring prompt.
    const QList<SavedLogin> remaining = userId ? without(m_savedAccounts, *userId) : QList<SavedLogin>();
    const bool listChanges = remaining.size() != m_savedAccounts.size();
    signedOutLocally();
    m_gate.reset();
    m_message.reset();
    m_keptForms.clear();
    newRevision();

    // What is left in the keychain is a session the service has ended: a prompt the member dismissed
    // leaves it there harmlessly (the next start is refused it), so it is not the member's error.
    const Outcome<> forgotten = co_await attempt(client->forgetSession());
    if (!lifetime.alive())
        co_return;
    if (forgotten.failed())
        qCWarning(lcState) << "the ended session stays in the keychain:" << forgotten.message();

    if (!listChanges)
        co_return;
    co_await m_accountVault.save(remaining);
    lifetime.check();
    m_savedAccounts = remaining;
    tell(Accounts);
}

QCoro::Task<> AppState::refreshProfile()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    APIClient *client = m_api.get();
    const ProfileResponse answer = co_await APIClient::get<ProfileResponse>(client, APIPath::profile());
    lifetime.check();
    m_profile = answer.profile;
    tell(ProfileShown);
    if (answer.profile.hasAvatar) {
        const QByteArray bytes = co_await client->image(APIPath::profileAvatar());
        lifetime.check();
        m_avatar = BoundedPicture::decode(bytes);
    } else {
        m_avatar = QImage();
    }
    tell(ProfileShown);
    const bool saved = m_user
                       && std::any_of(m_savedAccounts.cbegin(), m_savedAccounts.cend(),
                                      [&](const SavedLogin &login) { return login.id() == m_user->id; });
    if (saved)
        co_await rememberCurrentAccount();
}

// Opening the switcher keeps the current account without the member asking: it must not make a desktop
// without a keyring ask for one.
QCoro::Task<> AppState::rememberCurrentAccount() { return remember(KeyringPrompt::Avoid); }

QCoro::Task<> AppState::remember(KeyringPrompt prompt)
{
    if (!m_user)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const User user = *m_user;
    co_await m_api->persistSession(m_environment.store(QLatin1String(sessionItem)), prompt);
    lifetime.check();
    QList<SavedLogin> list = without(m_savedAccounts, user.id);
    if (list.size() >= AccountSessionVault::maxAccounts)
        throw listFull();
    list.append(SavedLogin{user, m_api->accountSessionData(), jpeg(m_avatar)});
    co_await m_accountVault.save(list, prompt);
    lifetime.check();
    m_savedAccounts = list;
    tell(Accounts);
}

BusyGuard AppState::holdAccountBusy(Lifetime::Guard lifetime)
{
    return BusyGuard(m_accountBusy, std::move(lifetime), [this] { tell(Accounts); });
}

std::unique_ptr<APIClient> AppState::freshClient() const
{
    return m_environment.client(std::make_shared<MemorySessionStore>());
}

QCoro::Task<> AppState::addAccount(QString username, QString password)
{
    if (m_accountBusy)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy = holdAccountBusy(lifetime);
    // "登录并保存" is the member asking to keep both accounts: the one place, with "保持登录", that may
    // set up a keyring.
    co_await remember(KeyringPrompt::Allowed);
    lifetime.check();
    if (m_savedAccounts.size() >= AccountSessionVault::maxAccounts)
        throw listFull();

    // The new client stays apart until it is made current; on any failure it is dropped and the
    // current account stays as it is.
    std::unique_ptr<APIClient> client = freshClient();
    const User user = co_await client->login(username, password, true);
    lifetime.check();
    const AccountGate gate = co_await client->accountGate(user);
    lifetime.check();
    co_await activate(std::move(client), user, gate, KeyringPrompt::Allowed);
}

QCoro::Task<> AppState::switchAccount(SavedLogin saved)
{
    if (m_accountBusy)
        co_return;
    if (m_user && m_user->id == saved.id())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy = holdAccountBusy(lifetime);
    co_await rememberCurrentAccount();
    lifetime.check();

    std::unique_ptr<APIClient> client = freshClient();
    client->installAccountSession(saved.session);
    const UserResponse me = co_await APIClient::get<UserResponse>(client.get(), APIPath::me());
    lifetime.check();
    if (me.user.id != saved.id() || !me.user.mayUseCentre())
        throw APIError(403, QStringLiteral("账号身份已变化，请重新登录。")); // as it stands in every language
    const AccountGate gate = co_await client->accountGate(me.user);
    lifetime.check();
    co_await activate(std::move(client), me.user, gate, KeyringPrompt::Avoid);
}

QCoro::Task<> AppState::activate(std::unique_ptr<APIClient> client, User user, AccountGate gate,
                                 KeyringPrompt prompt)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    QList<SavedLogin> list = without(m_savedAccounts, user.id);
    if (list.size() >= AccountSessionVault::maxAccounts)
        throw listFull();
    std::optional<QByteArray> avatar;
    for (const SavedLogin &login : std::as_const(m_savedAccounts)) {
        if (login.id() == user.id) {
            avatar = login.avatar;
            break;
        }
    }
    list.append(SavedLogin{user, client->accountSessionData(), avatar});

    // The session is stored before the list names it, so the list never points at a session that is
    // not there.
    co_await client->persistSession(m_environment.store(QLatin1String(sessionItem)), prompt);
    lifetime.check();
    co_await m_accountVault.save(list, prompt);
    lifetime.check();

    std::unique_ptr<APIClient> previous = std::move(m_api);
    previous->retire();
    previous.release()->deleteLater();

    m_profile.reset();
    m_avatar = QImage();
    m_message.reset();
    m_keptForms.signedIn(user.id);
    m_user = user;
    m_gate = gate;
    m_savedAccounts = list;
    m_api = std::move(client);
    bind(m_api.get());
    newRevision();
}

QCoro::Task<> AppState::removeSavedAccount(SavedLogin saved)
{
    if (m_user && m_user->id == saved.id())
        co_return;
    if (m_accountBusy)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QList<SavedLogin> remaining = without(m_savedAccounts, saved.id());
    co_await m_accountVault.save(remaining);
    lifetime.check();
    m_savedAccounts = remaining;
    tell(Accounts);
}

void AppState::watchForm(QObject *form, const QString &kind, KeptForms::Reading read)
{
    m_keptForms.watch(form, kind, std::move(read));
}

bool AppState::keepsForm(const QString &kind) const { return m_user && m_keptForms.holds(m_user->id, kind); }

std::optional<std::any> AppState::takeKeptForm(const QString &kind)
{
    return m_user ? m_keptForms.take(m_user->id, kind) : std::nullopt;
}

void AppState::startRestore() { restore(); }

void AppState::startGateCheck() { checkGate(); }

void AppState::startSignOut() { signOutOrSay(); }

QCoro::Task<> AppState::signOutOrSay()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> signedOut = co_await attempt(signOut());
    if (lifetime.alive() && signedOut.failed())
        setMessage(signedOut.message());
}

AppState::Gate AppState::gateState() const
{
    if (!m_gate)
        return Gate::NoGate;
    switch (*m_gate) {
    case AccountGate::Ready:
        return Gate::Ready;
    case AccountGate::Password:
        return Gate::Password;
    case AccountGate::Profile:
        return Gate::Profile;
    }
    return Gate::NoGate;
}

QString AppState::username() const { return m_user ? m_user->username : QString(); }

QString AppState::displayName() const
{
    if (!m_user)
        return {};
    return m_user->name && !m_user->name->isEmpty() ? *m_user->name : m_user->username;
}

QString AppState::role() const { return m_user ? m_user->role : QString(); }

bool AppState::isMember() const { return m_user && m_user->isMember(); }

QString AppState::formattedCallsign() const { return m_profile ? m_profile->formattedCallsign() : QString(); }
