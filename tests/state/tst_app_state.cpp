// The account state against the sample member service: restore, gate, sign-in and sign-out, profile,
// and the saved accounts.
#include "AppState.h"
#include "ClientTestSupport.h"
#include "Installed.h"
#include "Join.h"
#include "NotifyWatch.h"
#include "Outcome.h"
#include "PictureBytes.h"
#include "StoredCookie.h"

#include <QDBusConnection>
#include <QJsonArray>
#include <QTemporaryDir>

#include <QCoro/QCoroSignal>

using namespace TestSupport;

namespace {

// One item the account state keeps, held in memory, that counts what it is asked and can be made to fail
// its writes, or to keep a deletion waiting as a keyring prompt does until the member answers it.
class KeptItem : public QObject, public SessionStore
{
    Q_OBJECT

public:
    QCoro::Task<std::optional<QByteArray>> read() override { return m_bytes.read(); }
    QCoro::Task<> write(QByteArray bytes, KeyringPrompt prompt = KeyringPrompt::Avoid) override
    {
        ++writes;
        prompts.append(prompt);
        if (failWrites)
            throw APIError(-25293, "钥匙串写入失败");
        co_await m_bytes.write(std::move(bytes));
    }
    QCoro::Task<> clear() override
    {
        ++clears;
        if (holdClears) {
            const bool refused = co_await qCoro(this, &KeptItem::answered);
            if (refused)
                throw APIError(-128, "系统钥匙串暂时不可用，请解锁设备后重试。");
        }
        co_await m_bytes.clear();
    }
    const std::optional<QByteArray> &data() const { return m_bytes.data(); }
    // The member answers the prompt that holds a deletion.
    void answer(bool refused) { Q_EMIT answered(refused); }

    bool failWrites = false;
    bool holdClears = false;
    int writes = 0;
    QList<KeyringPrompt> prompts; // of each write, in order
    int clears = 0;

Q_SIGNALS:
    void answered(bool refused);

private:
    MemorySessionStore m_bytes;
};

struct Stores
{
    std::shared_ptr<KeptItem> session = std::make_shared<KeptItem>();
    std::shared_ptr<KeptItem> vault = std::make_shared<KeptItem>();

    AccountEnvironment environment(const QUrl &origin) const
    {
        return {origin,
                {Sample::Service::certificate()},
                [session = session, vault = vault](const QString &item) -> SessionStorePtr {
                    if (item == "session-cookies")
                        return session;
                    return vault;
                }};
    }
};

const QString expiredMessage = "登录已过期，请重新登录。";

} // namespace

class AppStateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void restoreWithoutSessionSendsNothing();
    void restoreWithAnExpiredSession();
    void restoreRefusesOtherRoles();
    void restoreAsksTheGate_data();
    void restoreAsksTheGate();
    void restoreWithoutNetwork();
    void unreadableSavedAccounts();
    void gateFailuresAndRetry();
    void cancelledRestoreLeavesNoMessage_data();
    void cancelledRestoreLeavesNoMessage();
    void restrictedAnswerChecksTheGate();
    void signInRemembersOnlyWhenAsked();
    void signOutRemovesTheCurrentAccount();
    void signOutFailures();
    void signOutFinishesWhenTheListCannotBeWritten();
    void signOutAsksTheKeychainOnlyForWhatWasStored();
    void signOutDoesNotWaitForTheKeyring();
    void profileAndAvatar();
    void avatarIsKeptWithinItsBounds_data();
    void avatarIsKeptWithinItsBounds();
    void addAndSwitchAccounts();
    void switchRefusals();
    void limitOfTwoAndRemoval();
    void busyKeepsAccountOperationsApart();
    void keyringIsAskedOnlyWhenTheMemberAsks();
    void signOutStoresNothingOfTheEndingSession();
    void accountsInTheRealKeyring();
    void everyChangeIsTold();

private:
    std::unique_ptr<AppState> makeState() const
    {
        return std::make_unique<AppState>(m_stores.environment(m_site->service->origin()), nullptr);
    }
    // A stored session of the given account, as a remembered sign-in leaves it.
    void storeSessionOf(const QString &username, const QString &password = "fly-vornalia")
    {
        const auto client = m_site->client(m_stores.session);
        await(client->login(username, password, true));
    }
    // A stored session that the service opened itself, for an account the client would refuse.
    void storeSessionFor(const QString &accountId)
    {
        const QByteArray setCookie = service().openSession(accountId, true);
        const QByteArray token = setCookie.split(';').constFirst().split('=').constLast();
        const StoredCookie cookie{Sample::Service::sessionCookie,
                                  QString::fromLatin1(token),
                                  service().origin().host(),
                                  "/",
                                  QDateTime::currentDateTimeUtc().addDays(1),
                                  true,
                                  true};
        await(m_stores.session->write(StoredCookie::encodeList({cookie})));
    }
    Sample::Service &service() { return *m_site->service; }

    std::unique_ptr<Site> m_site;
    Stores m_stores;
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
};

void AppStateTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_stores = Stores();
}

void AppStateTest::cleanup() { m_site.reset(); }

void AppStateTest::restoreWithoutSessionSendsNothing()
{
    const auto state = makeState();
    QVERIFY(state->checking());
    const QUuid revision = state->revision();
    await(state->restore());
    QVERIFY(service().requests().isEmpty());
    QVERIFY(!state->checking());
    QVERIFY(!state->signedIn());
    QVERIFY(!state->hasMessage());
    QCOMPARE(state->revision(), revision);
}

void AppStateTest::restoreWithAnExpiredSession()
{
    storeSessionOf("lichen");
    service().expireSessions();
    const auto state = makeState();
    const QUuid revision = state->revision();
    await(state->restore());
    QVERIFY(!state->signedIn());
    QCOMPARE(state->message(), expiredMessage);
    QVERIFY(state->revision() != revision);
    QVERIFY(!m_stores.session->data());
    QVERIFY(!state->checking());
}

void AppStateTest::restoreRefusesOtherRoles()
{
    storeSessionFor("u-1004"); // a role the member centre does not take
    QVERIFY(m_stores.session->data());
    const auto state = makeState();
    await(state->restore());
    QVERIFY(!state->signedIn());
    QVERIFY(!state->hasMessage());
    QVERIFY(!m_stores.session->data()); // forgotten
}

void AppStateTest::restoreAsksTheGate_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<AppState::Gate>("gate");
    QTest::newRow("member") << "lichen"
                            << "fly-vornalia" << AppState::Gate::Ready;
    QTest::newRow("staff") << "wangfang"
                           << "fly-vornalia" << AppState::Gate::Ready;
    QTest::newRow("temporary password") << "zhouning"
                                        << "temporary-123" << AppState::Gate::Password;
    QTest::newRow("profile to set up") << "xuhang"
                                       << "fly-vornalia" << AppState::Gate::Profile;
}

void AppStateTest::restoreAsksTheGate()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(AppState::Gate, gate);
    storeSessionOf(username, password);
    const auto state = makeState();
    await(state->restore());
    QVERIFY(state->signedIn());
    QCOMPARE(state->username(), username);
    QCOMPARE(state->gateState(), gate);
    QVERIFY(!state->checking());
}

void AppStateTest::restoreWithoutNetwork()
{
    storeSessionOf("lichen");
    // Nothing listens there: the stored cookies belong to the same host, so they are sent and fail.
    QUrl closed = service().origin();
    closed.setPort(1);
    const auto state = std::make_unique<AppState>(m_stores.environment(closed), nullptr);
    await(state->restore());
    QVERIFY(!state->signedIn());
    QVERIFY(state->hasMessage());
    QVERIFY(state->message() != expiredMessage);
    QVERIFY(!state->checking());
}

void AppStateTest::unreadableSavedAccounts()
{
    QJsonArray three;
    for (const char *id : {"a", "b", "c"})
        three.append(SavedLogin{User{id, id, std::nullopt, "member"}, "[]", std::nullopt}.toJson());
    await(m_stores.vault->write(Json::compact(three)));
    const auto state = makeState();
    QCOMPARE(state->message(), QString("本地账号资料无效。"));
    QCOMPARE(state->savedAccountCount(), 0);
}

void AppStateTest::gateFailuresAndRetry()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    QCOMPARE(state->gateState(), AppState::Gate::Ready);
    const QUuid revision = state->revision();

    service().setFault("/member", {.status = 500, .times = 1});
    await(state->checkGate());
    QCOMPARE(state->message(), QString("账号状态暂时不可用，请重试。"));
    QVERIFY(state->signedIn());
    await(state->checkGate()); // the retry
    QVERIFY(!state->hasMessage());
    QCOMPARE(state->gateState(), AppState::Gate::Ready);

    // The gate found the sign-in page: signed out here too, but the gate and revision stay.
    service().expireSessions();
    await(state->checkGate());
    QVERIFY(!state->signedIn());
    QCOMPARE(state->message(), QString("会话已过期，请重新登录。"));
    QCOMPARE(state->gateState(), AppState::Gate::Ready);
    QCOMPARE(state->revision(), revision);
}

// Regression: a restore whose request was cancelled (its client retired, as an account change does) left
// "请求已取消。" as the account message.
void AppStateTest::cancelledRestoreLeavesNoMessage_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("the user") << "/api/me";
    QTest::newRow("the gate") << "/member";
}

void AppStateTest::cancelledRestoreLeavesNoMessage()
{
    QFETCH(QString, path);
    storeSessionOf("lichen");
    service().clearRequests();
    const auto state = makeState();
    service().setFault(path, {.held = true, .times = 1});
    auto restoring = state->restore();
    QTRY_COMPARE(service().requestsTo(path).size(), 1);
    state->api()->retire();
    await(std::move(restoring));
    QVERIFY(!state->hasMessage());
    QVERIFY(!state->checking());
}

void AppStateTest::restrictedAnswerChecksTheGate()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    const int gateChecks = service().requestsTo("/member").size();
    service().setFault("/api/profile", {.status = 403, .times = 1});
    QCOMPARE(thrown<APIError>([&] { await(state->refreshProfile()); })->status(), 403);
    QTRY_COMPARE(service().requestsTo("/member").size(), gateChecks + 1);
}

void AppStateTest::signInRemembersOnlyWhenAsked()
{
    const auto state = makeState();
    const auto refused = thrown<APIError>([&] { await(state->signIn("lichen", "wrong", true)); });
    QCOMPARE(refused->status(), 401);
    QVERIFY(!state->hasMessage());
    QVERIFY(!state->signedIn());

    const QUuid revision = state->revision();
    await(state->signIn("lichen", "fly-vornalia", false));
    QVERIFY(state->signedIn());
    QVERIFY(state->revision() != revision);
    QVERIFY(!m_stores.session->data());

    const auto remembering = makeState();
    await(remembering->signIn("wangfang", "fly-vornalia", true));
    QVERIFY(m_stores.session->data());
    QCOMPARE(remembering->displayName(), QString("王芳"));
    QVERIFY(!remembering->isMember());
}

void AppStateTest::signOutRemovesTheCurrentAccount()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->addAccount("wangfang", "fly-vornalia"));
    QCOMPARE(state->savedAccountCount(), 2);
    const QUuid revision = state->revision();

    await(state->signOut());
    QVERIFY(!state->signedIn());
    QCOMPARE(state->gateState(), AppState::Gate::NoGate);
    QVERIFY(state->revision() != revision);
    QCOMPARE(state->savedAccountCount(), 1);
    QCOMPARE(state->savedAccounts().constFirst().user.username, QString("lichen"));
    QCOMPARE(await(AccountSessionVault(m_stores.vault).load()).size(), 1);
}

void AppStateTest::signOutFailures()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->rememberCurrentAccount());

    service().setFault("/api/logout", {.status = 500, .times = 1});
    QCOMPARE(thrown<APIError>([&] { await(state->signOut()); })->status(), 500);
    QVERIFY(state->signedIn());
    QCOMPARE(state->savedAccountCount(), 1);
    QVERIFY(!state->accountBusy());

    // A 401 means the session is gone already: signed out, without a message.
    service().setFault("/api/logout", {.status = 401, .times = 1});
    await(state->signOut());
    QVERIFY(!state->signedIn());
    QVERIFY(!state->hasMessage());
    QCOMPARE(state->savedAccountCount(), 0);

    // Regression: an answer that found the session gone while the sign-out was on its way (the dashboard's
    // loads, racing it) made the sign-out end as cancelled: "登录已过期" instead of a sign-out, and the
    // account stayed in the saved list.
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->rememberCurrentAccount());
    service().setFault("/api/logout", {.held = true, .times = 1});
    QCoro::Task<> signingOut = state->signOut();
    QTRY_COMPARE(service().requestsTo("/api/logout").size(), 3);
    service().expireSessions();
    QVERIFY(
        thrown<APIError>([&] { await(state->api()->perform(state->api()->makeRequest("/api/me", "GET"))); }));
    service().release();
    await(std::move(signingOut));
    QVERIFY(!state->signedIn());
    QVERIFY(!state->hasMessage());
    QCOMPARE(state->savedAccountCount(), 0);
    QCOMPARE(await(AccountSessionVault(m_stores.vault).load()).size(), 0);
}

void AppStateTest::signOutFinishesWhenTheListCannotBeWritten()
{
    // Regression: a failed write of the saved accounts used to leave the member shown as signed in
    // although his session was already gone.
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->rememberCurrentAccount());
    const QUuid revision = state->revision();
    m_stores.vault->failWrites = true;
    QVERIFY(thrown<APIError>([&] { await(state->signOut()); }));
    QVERIFY(!state->signedIn());
    QVERIFY(state->revision() != revision);
    QVERIFY(!state->accountBusy());
}

void AppStateTest::signOutAsksTheKeychainOnlyForWhatWasStored()
{
    // Regression: signing out a member who never asked to stay signed in deleted the session item (and wrote
    // an empty account list), which raised the desktop's keyring prompt where no keyring existed yet.
    const auto state = makeState();
    await(state->restore());
    await(state->signIn("lichen", "fly-vornalia", false));
    await(state->signOut());
    QVERIFY(!state->signedIn());
    QCOMPARE(m_stores.session->clears, 0);
    QCOMPARE(m_stores.session->writes, 0);
    QCOMPARE(m_stores.vault->writes, 0);

    // A member who did stay signed in has his stored session removed on the next sign-out, once.
    await(state->signIn("lichen", "fly-vornalia", true));
    QVERIFY(m_stores.session->data());
    await(state->signOut());
    QVERIFY(!m_stores.session->data());
    QCOMPARE(m_stores.session->clears, 1);

    // A session found stored at start is removed too, though this run never wrote it.
    storeSessionOf("wangfang");
    const int clearsBefore = m_stores.session->clears;
    const auto restored = makeState();
    await(restored->restore());
    QVERIFY(restored->signedIn());
    await(restored->signOut());
    QVERIFY(!m_stores.session->data());
    QCOMPARE(m_stores.session->clears, clearsBefore + 1);
}

void AppStateTest::signOutDoesNotWaitForTheKeyring()
{
    // Regression: while the keyring's prompt waited, the window stayed half signed out (the member shown,
    // the session gone), and a dismissed prompt put "钥匙串不可用" on the sign-in form.
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->rememberCurrentAccount());
    const QUuid revision = state->revision();
    m_stores.session->holdClears = true;
    const int clearsBefore = m_stores.session->clears;
    QCoro::Task<> signingOut = state->signOut();
    QTRY_COMPARE(m_stores.session->clears, clearsBefore + 1);
    QVERIFY(!state->signedIn());
    QVERIFY(state->revision() != revision);
    QVERIFY(!state->hasMessage());

    m_stores.session->answer(true);
    await(std::move(signingOut));
    QVERIFY(!state->signedIn());
    QVERIFY(!state->hasMessage());
    QVERIFY(!state->accountBusy());
    // The rest of the sign-out is done all the same: the account left the saved list.
    QCOMPARE(state->savedAccountCount(), 0);
    QCOMPARE(await(AccountSessionVault(m_stores.vault).load()).size(), 0);
}

void AppStateTest::profileAndAvatar()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->rememberCurrentAccount());
    await(state->refreshProfile());
    QCOMPARE(state->formattedCallsign(), QString("B-207CA"));
    QVERIFY(state->hasAvatar());
    // The saved entry now carries the avatar, as a JPEG.
    const auto saved = await(AccountSessionVault(m_stores.vault).load());
    QVERIFY(saved.constFirst().avatar);
    QVERIFY(saved.constFirst().avatar->startsWith("\xFF\xD8"));

    const auto staff = makeState();
    await(staff->signIn("zhaolei", "fly-vornalia", true));
    await(staff->refreshProfile());
    QVERIFY(!staff->hasAvatar());
}

void AppStateTest::avatarIsKeptWithinItsBounds_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QSize>("kept"); // invalid: refused
    // Regression: the avatar was bounded by the size a picture states only, so this decoded 1 x 12545.
    QTest::newRow("GIF stating 1 x 97, decoding 1 x 12545")
        << gifBytes(QSize(1, 12545), QSize(1, 97)) << QByteArray("image/gif") << QSize();
    // 16 Mi pixels at most, whatever their shape, and 8192 a side.
    QTest::newRow("PNG of 4096 x 4096")
        << plainPngBytes(QSize(4096, 4096)) << QByteArray("image/png") << QSize(4096, 4096);
    QTest::newRow("PNG of 4096 x 4097")
        << plainPngBytes(QSize(4096, 4097)) << QByteArray("image/png") << QSize();
    QTest::newRow("PNG of 8192 x 2048")
        << plainPngBytes(QSize(8192, 2048)) << QByteArray("image/png") << QSize(8192, 2048);
    QTest::newRow("PNG of 8193 x 1") << plainPngBytes(QSize(8193, 1)) << QByteArray("image/png") << QSize();
    // Regression: Qt's reader stopped at 128 MiB of pixels, short of the bound: a 16-bit picture of more
    // than 16 Mi pixels, or a 5793 x 5793 one of 8 bits, was refused within it.
    QTest::newRow("16-bit PNG of 4096 x 4096")
        << plainPngBytes(QSize(4096, 4096), true) << QByteArray("image/png") << QSize(4096, 4096);
}

void AppStateTest::avatarIsKeptWithinItsBounds()
{
    QFETCH(QByteArray, picture);
    QFETCH(QByteArray, type);
    QFETCH(QSize, kept);
    QVERIFY(!picture.isEmpty());
    Sample::Account *account = service().accountNamed("lichen");
    account->avatar = picture;
    account->avatarType = type;
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    await(state->refreshProfile());
    QCOMPARE(state->formattedCallsign(), QString("B-207CA"));
    QCOMPARE(state->hasAvatar(), kept.isValid());
    QCOMPARE(state->avatar().size(), kept.isValid() ? kept : QSize(0, 0));
}

void AppStateTest::addAndSwitchAccounts()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    const QUuid revision = state->revision();
    APIClient *first = state->api();

    await(state->addAccount("wangfang", "fly-vornalia"));
    QCOMPARE(state->username(), QString("wangfang"));
    QVERIFY(state->api() != first);
    QVERIFY(state->revision() != revision);
    QCOMPARE(state->gateState(), AppState::Gate::Ready);
    QVERIFY(!state->hasProfile());
    QStringList order;
    for (const SavedLogin &login : state->savedAccounts())
        order << login.user.username;
    QCOMPARE(order, (QStringList{"lichen", "wangfang"}));
    // The stored session is the new account's: a client restoring it is wangfang.
    const auto restored = m_site->client(m_stores.session);
    QCOMPARE(await(restored->restoreCookies()), APIClient::StoredSession::Restored);
    QCOMPARE(await(restored->decode<UserResponse>(restored->makeRequest("/api/me", "GET"))).user.username,
             QString("wangfang"));

    // Back to lichen with his saved cookies, without a password.
    const SavedLogin lichen = state->savedAccounts().constFirst();
    service().clearRequests();
    await(state->switchAccount(lichen));
    QCOMPARE(state->username(), QString("lichen"));
    QCOMPARE(state->savedAccounts().constLast().user.username, QString("lichen"));
    QVERIFY(service().requestsTo("/api/login").isEmpty());

    // Switching to the account that is current does nothing.
    const QUuid now = state->revision();
    await(state->switchAccount(state->savedAccounts().constLast()));
    QCOMPARE(state->revision(), now);
}

void AppStateTest::switchRefusals()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->addAccount("wangfang", "fly-vornalia"));
    const SavedLogin lichen = state->savedAccounts().constFirst();
    APIClient *current = state->api();

    // Every cookie expired: refused before any request, and the entry stays.
    SavedLogin expired = lichen;
    QList<StoredCookie> cookies = StoredCookie::decodeList(lichen.session);
    for (StoredCookie &cookie : cookies)
        cookie.expires = QDateTime::currentDateTimeUtc().addSecs(-60);
    expired.session = StoredCookie::encodeList(cookies);
    QCOMPARE(thrown<APIError>([&] { await(state->switchAccount(expired)); }), APIError(401, expiredMessage));
    QCOMPARE(state->api(), current);
    QCOMPARE(state->username(), QString("wangfang"));

    // Another member behind the cookies.
    SavedLogin impostor = lichen;
    impostor.session = state->savedAccounts().constLast().session; // wangfang's cookies
    impostor.user.id = "u-1001";
    QCOMPARE(thrown<APIError>([&] { await(state->switchAccount(impostor)); }),
             APIError(403, "账号身份已变化，请重新登录。"));
    QCOMPARE(state->username(), QString("wangfang"));
    QCOMPARE(state->savedAccountCount(), 2);

    // A wrong password when adding leaves the current account current (and now saved).
    const auto refused = thrown<APIError>([&] { await(state->addAccount("zhaolei", "wrong")); });
    QVERIFY(refused);
    QCOMPARE(state->username(), QString("wangfang"));
}

void AppStateTest::limitOfTwoAndRemoval()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    await(state->addAccount("wangfang", "fly-vornalia"));
    service().clearRequests();
    const APIError full(400, "最多保存两个账号，请先移除一个。");
    QCOMPARE(thrown<APIError>([&] { await(state->addAccount("zhaolei", "fly-vornalia")); }), full);
    QVERIFY(service().requestsTo("/api/login").isEmpty());

    // The signed-in account leaves the list only by signing out.
    const SavedLogin current = state->savedAccounts().constLast();
    await(state->removeSavedAccount(current));
    QCOMPARE(state->savedAccountCount(), 2);
    await(state->removeSavedAccount(state->savedAccounts().constFirst()));
    QCOMPARE(state->savedAccountCount(), 1);
    QCOMPARE(state->savedAccounts().constFirst().user.username, QString("wangfang"));
}

void AppStateTest::busyKeepsAccountOperationsApart()
{
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    await(state->addAccount("wangfang", "fly-vornalia"));
    const SavedLogin lichen = state->savedAccounts().constFirst();

    service().setFault("/api/me", {.bodyDelayMs = 500, .times = 1});
    auto switching = state->switchAccount(lichen);
    QVERIFY(state->accountBusy());
    // While busy: sign-out and removal return at once and change nothing.
    await(state->signOut());
    QVERIFY(state->signedIn());
    await(state->removeSavedAccount(lichen));
    QCOMPARE(state->savedAccountCount(), 2);
    await(std::move(switching));
    QVERIFY(!state->accountBusy());
    QCOMPARE(state->username(), QString("lichen"));
}

void AppStateTest::keyringIsAskedOnlyWhenTheMemberAsks()
{
    // Regression: opening the account popover, or signing out, made a desktop without a keyring ask the
    // member to create one. Only "保持登录" and "登录并保存" may.
    using enum KeyringPrompt;
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", false));
    QCOMPARE(m_stores.session->prompts, QList<KeyringPrompt>{});
    await(state->rememberCurrentAccount()); // the switcher opens
    await(state->refreshProfile());         // the dashboard refreshes the profile of a saved account
    QVERIFY(!m_stores.session->prompts.contains(Allowed));
    QVERIFY(!m_stores.vault->prompts.contains(Allowed));
    QVERIFY(m_stores.vault->writes > 0);

    // "登录并保存": what it stores may set up a keyring, the current account's entry included.
    m_stores.session->prompts.clear();
    m_stores.vault->prompts.clear();
    await(state->addAccount("wangfang", "fly-vornalia"));
    QCOMPARE(m_stores.session->prompts, (QList<KeyringPrompt>{Allowed, Allowed}));
    QCOMPARE(m_stores.vault->prompts, (QList<KeyringPrompt>{Allowed, Allowed}));

    // Switching between accounts already kept, the requests' cookies and signing out ask nothing.
    m_stores.session->prompts.clear();
    m_stores.vault->prompts.clear();
    await(state->switchAccount(state->savedAccounts().constFirst()));
    await(state->refreshProfile());
    await(state->signOut());
    QVERIFY(!m_stores.session->prompts.contains(Allowed));
    QVERIFY(!m_stores.vault->prompts.contains(Allowed));

    // "保持登录" stores the new session as asked.
    m_stores.session->prompts.clear();
    await(state->signIn("lichen", "fly-vornalia", true));
    QCOMPARE(m_stores.session->prompts, QList<KeyringPrompt>{Allowed});
}

void AppStateTest::signOutStoresNothingOfTheEndingSession()
{
    // Regression: the sign-out's own answer was written to the keychain before the session was forgotten;
    // a keyring prompt dismissed there kept the member signed in with "系统钥匙串暂时不可用…".
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    const int writes = m_stores.session->writes;
    m_stores.session->failWrites = true;
    await(state->signOut());
    QVERIFY(!state->signedIn());
    QVERIFY(!state->hasMessage());
    QCOMPARE(m_stores.session->writes, writes);
    QVERIFY(!m_stores.session->data());

    // A sign-out the service does not confirm keeps the member signed in and still remembered: the next
    // answer stores the session as before.
    m_stores.session->failWrites = false;
    await(state->signIn("lichen", "fly-vornalia", true));
    // (Sent away before the service ends the session.)
    service().setFault("/api/logout", {.redirect = QUrl("https://elsewhere.example/"), .times = 1});
    QVERIFY(thrown<APIError>([&] { await(state->signOut()); }));
    QVERIFY(state->signedIn());
    const int before = m_stores.session->writes;
    await(state->api()->decode<UserResponse>(state->api()->makeRequest("/api/me", "GET")));
    QCOMPARE(m_stores.session->writes, before + 1);
}

void AppStateTest::accountsInTheRealKeyring()
{
    // Regression: saving a second account crashed the app once two keychain operations waited on one item,
    // and every start after it crashed too. Against the desktop's own Secret Service.
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("needs the session bus with an unlocked keyring (scripts/test provides one)");
    QTemporaryDir files;
    const QString prefix = "test-accounts-" + QString::number(QCoreApplication::applicationPid()) + "-";
    const AccountEnvironment keyring{m_site->service->origin(),
                                     {Sample::Service::certificate()},
                                     [&](const QString &item) -> SessionStorePtr {
                                         return std::make_shared<KeychainSessionStore>(prefix + item,
                                                                                       files.path());
                                     }};
    const auto names = [](const AppState &state) {
        QStringList listed;
        for (const SavedLogin &login : state.savedAccounts())
            listed << login.user.username;
        return listed;
    };
    // The dashboard's loads, their answers arriving together: each stores the session's cookies and the saved
    // entry's copy of them.
    const auto wave = [this](AppState &state) {
        const QStringList paths{"/api/pireps", "/api/events", "/api/leaderboard", "/api/notifications"};
        QCOMPARE(service().heldAnswers(), 0);
        for (const QString &path : paths)
            service().setFault(path, {.held = true, .times = 1});
        std::vector<QCoro::Task<>> loads;
        for (const QString &path : paths)
            loads.push_back([](APIClient *client, QString path) -> QCoro::Task<> {
                co_await attempt(client->perform(client->makeRequest(path, "GET")));
            }(state.api(), path));
        QTRY_VERIFY(service().heldAnswers() == paths.size());
        QTest::qWait(50);
        service().release();
        await(joinAll(std::move(loads)));
    };
    const auto started = [&] {
        auto state = std::make_unique<AppState>(keyring, nullptr);
        await(state->restore());
        if (state->signedIn())
            wave(*state);
        return state;
    };

    {
        const auto state = started();
        await(state->signIn("lichen", "fly-vornalia", true));
        await(state->rememberCurrentAccount()); // the popover opens
        wave(*state);
        await(state->addAccount("hejing", "fly-vornalia"));
        wave(*state);
        QCOMPARE(state->username(), QString("hejing"));
        QCOMPARE(names(*state), (QStringList{"lichen", "hejing"}));
    }
    {
        // A restart lists both and is hejing; switched both ways, each is current in turn.
        const auto state = started();
        QCOMPARE(state->username(), QString("hejing"));
        QCOMPARE(names(*state), (QStringList{"lichen", "hejing"}));
        await(state->switchAccount(state->savedAccounts().constFirst()));
        QCOMPARE(state->username(), QString("lichen"));
        wave(*state);
        await(state->switchAccount(state->savedAccounts().constFirst()));
        QCOMPARE(state->username(), QString("hejing"));
    }
    // Whatever the session item holds, a start is a signed-out one with a line saying why, and the saved
    // accounts stay.
    for (const QByteArray &damaged : {QByteArray("\x00\xff not json"), QByteArray(R"([{"name":1}])")}) {
        await(KeychainSessionStore(prefix + "session-cookies", files.path()).write(damaged));
        const auto state = started();
        QVERIFY(!state->signedIn());
        QCOMPARE(state->message(), QString("保存的登录信息无法读取，请重新登录。"));
        QCOMPARE(names(*state), (QStringList{"lichen", "hejing"}));
        QCOMPARE(await(KeychainSessionStore(prefix + "session-cookies", files.path()).read()), std::nullopt);
    }
    // The keychain held everything: nothing went to the private files.
    QVERIFY(QDir(files.path()).isEmpty());
    await(KeychainSessionStore(prefix + "saved-accounts-v1", files.path()).clear());
}

// Each property tells its own change, so a view bound to one is told when it changes, whatever else does.
void AppStateTest::everyChangeIsTold()
{
    const auto state = makeState();
    NotifyWatch watch(state.get(), &AppState::stateChanged);
    watch.step("restore", [&] { await(state->restore()); });
    watch.step("sign-in", [&] { await(state->signIn("lichen", "fly-vornalia", true)); });
    watch.step("remembered", [&] { await(state->rememberCurrentAccount()); });
    watch.step("profile", [&] { await(state->refreshProfile()); });
    watch.step("gate failing", [&] {
        service().setFault("/member", {.status = 500, .times = 1});
        await(state->checkGate());
    });
    watch.step("gate again", [&] { await(state->checkGate()); });
    watch.step("second account", [&] { await(state->addAccount("wangfang", "fly-vornalia")); });
    watch.step("switched back", [&] { await(state->switchAccount(state->savedAccounts().constFirst())); });
    watch.step("removed", [&] { await(state->removeSavedAccount(state->savedAccounts().constLast())); });
    // The gate finds the session over: signed out here, with the message.
    watch.step("session ended", [&] {
        service().expireSessions();
        await(state->checkGate());
    });
    QVERIFY(!state->signedIn() && state->hasMessage());
    watch.step("signed in again", [&] { await(state->signIn("lichen", "fly-vornalia", false)); });
    watch.step("signed out", [&] { await(state->signOut()); });
}

QTEST_GUILESS_MAIN(AppStateTest)

#include "tst_app_state.moc"
