// Session cookies, the stores that keep them (the keychain, private files, memory) and the saved accounts.
#include "AccountSessionVault.h"
#include "ClientTestSupport.h"
#include "Installed.h"
#include "Join.h"
#include "StoredCookie.h"

#include <QDBusConnection>
#include <QJsonArray>
#include <QTemporaryDir>

#include <numeric>

using namespace TestSupport;

namespace {

const QUrl siteOrigin("https://vornalia.org");

QNetworkCookie cookie(const QString &domain, bool secure = true,
                      std::optional<QDateTime> expires = std::nullopt)
{
    QNetworkCookie c("vornalia_session", "token");
    c.setDomain(domain);
    c.setPath("/");
    c.setSecure(secure);
    c.setHttpOnly(true);
    if (expires)
        c.setExpirationDate(*expires);
    return c;
}

SavedLogin savedLogin(const QString &id, const QByteArray &session = "[]")
{
    return {User{id, "user-" + id, std::nullopt, "member"}, session, std::nullopt};
}

// A store that records how often it is written.
class CountingStore : public SessionStore
{
public:
    QCoro::Task<std::optional<QByteArray>> read() override
    {
        std::optional<QByteArray> copy = data; // co_return moves its operand
        co_return copy;
    }
    QCoro::Task<> write(QByteArray bytes, KeyringPrompt = KeyringPrompt::Avoid) override
    {
        ++writes;
        data = bytes;
        co_return;
    }
    QCoro::Task<> clear() override
    {
        data.reset();
        co_return;
    }
    std::optional<QByteArray> data;
    int writes = 0;
};

} // namespace

class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { qputenv("LANGUAGE", "zh_CN"); }

    void cookieAdmission_data();
    void cookieAdmission();
    void cookieJsonRoundTrip();
    void restoreSkipsWhatCannotBeUsed();
    void installingASavedSession();
    void persistingMovesTheSessionIntoTheStore();
    void memoryStore();
    void keychainRoad();
    void keychainKeepsTheOrderOfWrites();
    void keychainQueueUnderLoad();
    void signedInSessionSurvivesANewClient();
    void fileStoreIsPrivate();
    void fileStoreMigrationKeepsOtherFiles();
    void savedAccountsLimits();
    void savedAccountsStoredForm();

private:
    // The keychain's queues main/ would install, this test's own.
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
};

void SessionTest::cookieAdmission_data()
{
    QTest::addColumn<QNetworkCookie>("live");
    QTest::addColumn<bool>("admitted");
    const QDateTime later = QDateTime::currentDateTimeUtc().addDays(3);
    QTest::newRow("host") << cookie("vornalia.org", true, later) << true;
    QTest::newRow("leading dot") << cookie(".vornalia.org", true, later) << true;
    QTest::newRow("subdomain") << cookie("www.vornalia.org", true, later) << false;
    QTest::newRow("parent domain") << cookie(".org", true, later) << false;
    QTest::newRow("other case") << cookie("Vornalia.org", true, later) << false;
    QTest::newRow("not secure") << cookie("vornalia.org", false, later) << false;
    QTest::newRow("expired") << cookie("vornalia.org", true, QDateTime::currentDateTimeUtc().addSecs(-1))
                             << false;
    QTest::newRow("browser session") << cookie("vornalia.org") << true;
}

void SessionTest::cookieAdmission()
{
    QFETCH(QNetworkCookie, live);
    QFETCH(bool, admitted);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto stored = StoredCookie::admit(live, siteOrigin, true, now);
    QCOMPARE(bool(stored), admitted);
    if (!stored)
        return;
    QCOMPARE(stored->domain, live.domain()); // kept as the cookie store gave it
    if (live.isSessionCookie()) {
        QCOMPARE(stored->expires, now.addSecs(2'592'000));
        QVERIFY(!StoredCookie::admit(live, siteOrigin, false, now));
    }
    const auto rebuilt = stored->cookie(siteOrigin, now);
    QVERIFY(rebuilt);
    QVERIFY(rebuilt->isSecure());
    QCOMPARE(rebuilt->isHttpOnly(), live.isHttpOnly());
    QVERIFY(!stored->cookie(siteOrigin, stored->expires)); // not after its expiry
}

void SessionTest::cookieJsonRoundTrip()
{
    // "expires" counts from 2001-01-01 00:00 UTC.
    const QDateTime expires(QDate(2001, 1, 2), QTime(0, 0), Qt::UTC);
    const StoredCookie stored{"a", "b", ".vornalia.org", "/", expires, true, false};
    const QByteArray json = StoredCookie::encodeList({stored});
    QCOMPARE(QJsonDocument::fromJson(json).array().at(0)["expires"].toDouble(), 86400.0);
    QVERIFY(!json.contains(' '));
    QCOMPARE(StoredCookie::decodeList(json), QList<StoredCookie>{stored});
    QCOMPARE(StoredCookie::encodeList({}), QByteArray("[]"));
    // Guards the fraction being cut on reading: each save and restore lost a millisecond.
    for (const qint64 ms : {1086614909156LL, 2150205961818LL, 40980054558LL}) {
        const StoredCookie fractional{
            "a", "b", "vornalia.org", "/", QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC), true, false};
        QList<StoredCookie> restored{fractional};
        for (int round = 0; round < 3; ++round)
            restored = StoredCookie::decodeList(StoredCookie::encodeList(restored));
        QCOMPARE(restored, QList<StoredCookie>{fractional});
    }

    const QByteArray withoutHttpOnly =
        R"([{"name":"a","value":"b","domain":"vornalia.org","path":"/","expires":1e9,"secure":true}])";
    QVERIFY(thrown<DecodeError>([&] { StoredCookie::decodeList(withoutHttpOnly); }));
    QVERIFY(thrown<DecodeError>([&] { StoredCookie::decodeList(R"({"name":"a"})"); }));
    // Snake-case keys are not the stored form.
    const QByteArray snake =
        R"([{"name":"a","value":"b","domain":"d","path":"/","expires":1,"secure":true,"http_only":true}])";
    QVERIFY(thrown<DecodeError>([&] { StoredCookie::decodeList(snake); }));
    // A damaged date does not become an undefined conversion.
    const QByteArray huge =
        R"([{"name":"a","value":"b","domain":"d","path":"/","expires":1e300,"secure":true,"httpOnly":true}])";
    QVERIFY(thrown<DecodeError>([&] { StoredCookie::decodeList(huge); }));
}

void SessionTest::restoreSkipsWhatCannotBeUsed()
{
    Site site;
    QVERIFY(site.started);
    const QString host = site.service->origin().host();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const StoredCookie expired{"vornalia_session", "t", host, "/", now.addSecs(-10), true, true};
    const StoredCookie insecure{"vornalia_session", "t", host, "/", now.addDays(1), false, true};

    using Stored = APIClient::StoredSession;
    const QList<std::pair<QByteArray, Stored>> cases{
        {StoredCookie::encodeList({expired, insecure}), Stored::None},
        {"not json", Stored::Damaged},
        {R"([{"name":"x"}])", Stored::Damaged}};
    for (const auto &[bytes, expected] : cases) {
        const auto store = std::make_shared<MemorySessionStore>();
        await(store->write(bytes));
        const auto client = site.client(store);
        QCOMPARE(await(client->restoreCookies()), expected);
        QVERIFY(!store->data()); // cleared
        QVERIFY(!client->remembersSession());
    }
    const auto empty = std::make_shared<MemorySessionStore>();
    QCOMPARE(await(site.client(empty)->restoreCookies()), Stored::None);
}

void SessionTest::installingASavedSession()
{
    Site site;
    QVERIFY(site.started);
    const auto first = site.client();
    await(first->login("lichen", "fly-vornalia", false));
    const QByteArray session = first->accountSessionData();
    QCOMPARE(QJsonDocument::fromJson(session).array().size(), 1);

    const auto store = std::make_shared<CountingStore>();
    const auto second = site.client(store);
    QCOMPARE(thrown<APIError>([&] { second->installAccountSession("[]"); }),
             APIError(401, "登录已过期，请重新登录。"));
    QVERIFY(!second->remembersSession());
    QVERIFY(thrown<DecodeError>([&] { second->installAccountSession("{}"); }));

    second->installAccountSession(session);
    QVERIFY(second->remembersSession());
    QCOMPARE(store->writes, 0); // written by the next answer, not here
    QCOMPARE(await(second->decode<UserResponse>(second->makeRequest("/api/me", "GET"))).user.id,
             QString("u-1001"));
    QCOMPARE(store->writes, 1);
}

void SessionTest::persistingMovesTheSessionIntoTheStore()
{
    Site site;
    QVERIFY(site.started);
    const auto memory = std::make_shared<MemorySessionStore>();
    const auto client = site.client(memory);
    await(client->login("lichen", "fly-vornalia", false));
    int told = 0;
    client->onSessionSaved = [&](const QByteArray &) { ++told; };

    const auto lasting = std::make_shared<CountingStore>();
    await(client->persistSession(lasting));
    QVERIFY(client->remembersSession());
    // The same cookies (a session cookie's thirty days count from each snapshot, so not the same bytes).
    QVERIFY(lasting->data);
    const QList<StoredCookie> stored = StoredCookie::decodeList(*lasting->data);
    const QList<StoredCookie> live = StoredCookie::decodeList(client->accountSessionData());
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.constFirst().value, live.constFirst().value);
    QCOMPARE(told, 0);
    QVERIFY(!memory->data());
    // From now on answers write into the new store.
    await(client->perform(client->makeRequest("/api/me", "GET")));
    QCOMPARE(lasting->writes, 2);
    QCOMPARE(told, 1);
}

void SessionTest::memoryStore()
{
    MemorySessionStore store;
    QCOMPARE(await(store.read()), std::nullopt);
    await(store.write("one"));
    await(store.write("two"));
    QCOMPARE(await(store.read()), std::optional<QByteArray>("two"));
    await(store.clear());
    QCOMPARE(await(store.read()), std::nullopt);
}

void SessionTest::keychainRoad()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("needs the session bus with an unlocked keyring (scripts/test provides one)");
    QTemporaryDir files;
    const QString item = "test-item-" + QString::number(QCoreApplication::applicationPid());
    KeychainSessionStore store(item, files.path());
    await(store.clear());
    QCOMPARE(await(store.read()), std::nullopt);
    await(store.clear()); // clearing what is not there succeeds

    await(store.write("first"));
    await(store.write("second")); // replaces, no second item
    QCOMPARE(await(KeychainSessionStore(item, files.path()).read()), std::optional<QByteArray>("second"));
    // The keychain held it: nothing went to the private files.
    QVERIFY(QDir(files.path()).isEmpty());
    await(store.clear());
    QCOMPARE(await(store.read()), std::nullopt);
}

void SessionTest::keychainKeepsTheOrderOfWrites()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("needs the session bus with an unlocked keyring (scripts/test provides one)");
    QTemporaryDir files;
    const QString item = "test-order-" + QString::number(QCoreApplication::applicationPid());
    KeychainSessionStore store(item, files.path());
    // Started together, finished in the order asked: the newest snapshot is what stays.
    await([&]() -> QCoro::Task<> {
        auto older = store.write(QByteArray(200'000, 'a'));
        auto newer = store.write("newest");
        co_await std::move(older);
        co_await std::move(newer);
    }());
    QCOMPARE(await(store.read()), std::optional<QByteArray>("newest"));
    await(store.clear());
}

void SessionTest::keychainQueueUnderLoad()
{
    // Regression: every operation waited on one signal of the item that all of them shared; once two waited
    // at a time, a waiter resumed by one operation's end was resumed again through its gone awaiter
    // (a crash at the second saved account, and at every start after it).
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("needs the session bus with an unlocked keyring (scripts/test provides one)");
    QTemporaryDir files;
    const QString item = "test-load-" + QString::number(QCoreApplication::applicationPid());
    KeychainSessionStore store(item, files.path());

    // Asked all at once, as a switch of accounts does beside the requests that save cookies: reads,
    // writes (some of the very bytes already stored) and clears, interleaved.
    enum class Step { Read, Write, Clear };
    struct Asked
    {
        Step step;
        QByteArray bytes;
    };
    QList<Asked> asked;
    for (int round = 0; round < 8; ++round) {
        const QByteArray bytes = "cookies-" + QByteArray::number(round % 3);
        asked << Asked{Step::Write, bytes} << Asked{Step::Read, {}} << Asked{Step::Write, bytes}
              << Asked{Step::Read, {}};
        if (round % 3 == 2)
            asked << Asked{Step::Clear, {}} << Asked{Step::Read, {}};
    }
    QList<int> ended;
    QList<std::optional<QByteArray>> seen(asked.size());
    const auto one = [&](int index) -> QCoro::Task<> {
        switch (asked[index].step) {
        case Step::Read:
            seen[index] = co_await store.read();
            break;
        case Step::Write:
            co_await store.write(asked[index].bytes);
            break;
        case Step::Clear:
            co_await store.clear();
            break;
        }
        ended.append(index);
    };
    std::vector<QCoro::Task<>> running;
    for (int index = 0; index < asked.size(); ++index)
        running.push_back(one(index));
    await(joinAll(std::move(running)));

    // Each ended once, in the order asked, and each read saw what the operations before it left.
    QList<int> inOrder(asked.size());
    std::iota(inOrder.begin(), inOrder.end(), 0);
    QCOMPARE(ended, inOrder);
    std::optional<QByteArray> held;
    for (int index = 0; index < asked.size(); ++index) {
        if (asked[index].step == Step::Write)
            held = asked[index].bytes;
        else if (asked[index].step == Step::Clear)
            held.reset();
        else
            QCOMPARE(seen[index], held);
    }
    QCOMPARE(await(KeychainSessionStore(item, files.path()).read()), held);
    await(store.clear());
}

void SessionTest::signedInSessionSurvivesANewClient()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("needs the session bus with an unlocked keyring (scripts/test provides one)");
    Site site;
    QVERIFY(site.started);
    QTemporaryDir files;
    const QString item = "test-session-" + QString::number(QCoreApplication::applicationPid());
    const auto keychain = std::make_shared<KeychainSessionStore>(item, files.path());

    const auto first = site.client(keychain);
    await(first->login("lichen", "fly-vornalia", true));
    QVERIFY(await(keychain->read()));

    const auto restored = site.client(std::make_shared<KeychainSessionStore>(item, files.path()));
    QCOMPARE(await(restored->restoreCookies()), APIClient::StoredSession::Restored);
    QVERIFY(restored->remembersSession());
    QCOMPARE(await(restored->decode<UserResponse>(restored->makeRequest("/api/me", "GET"))).user.username,
             QString("lichen"));
    await(restored->forgetSession());
    QCOMPARE(await(keychain->read()), std::nullopt);
}

void SessionTest::fileStoreIsPrivate()
{
    QTemporaryDir root;
    const QString folder = root.filePath("Sessions");
    const FileSessionStore store("session-cookies", folder);
    QCOMPARE(store.read(), std::nullopt);
    store.clear();
    store.write("cookies");
    QCOMPARE(store.filePath(), folder + "/session-cookies.json");
    QCOMPARE(store.read(), std::optional<QByteArray>("cookies"));
    QCOMPARE(permissionsOf(folder), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(permissionsOf(store.filePath()), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    store.write("again");
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"session-cookies.json"}); // no temporary left
    store.clear();
    QVERIFY(!QFileInfo::exists(store.filePath()));
}

void SessionTest::fileStoreMigrationKeepsOtherFiles()
{
    QTemporaryDir root;
    const QString older = root.filePath("Vorna/Sessions");
    QVERIFY(QDir().mkpath(older));
    FileSessionStore("session-cookies", older).write("old cookies");
    const QString current = root.filePath("Vornalia/Vornalia/Sessions");
    FileSessionStore::migrate(older, current);
    QCOMPARE(FileSessionStore("session-cookies", current).read(), std::optional<QByteArray>("old cookies"));
    QVERIFY(!QFileInfo::exists(root.filePath("Vorna"))); // empty, so removed

    // Something else in the earlier folder stays where it is.
    const QString olderAgain = root.filePath("Old/Sessions");
    QVERIFY(QDir().mkpath(olderAgain));
    FileSessionStore("saved-accounts-v1", olderAgain).write("accounts");
    QFile keep(root.filePath("Old/notes.txt"));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    const QString fresh = root.filePath("New/Sessions");
    FileSessionStore::migrate(olderAgain, fresh);
    QCOMPARE(FileSessionStore("saved-accounts-v1", fresh).read(), std::optional<QByteArray>("accounts"));
    QVERIFY(QFileInfo::exists(root.filePath("Old/notes.txt")));

    // With the new folder already there, the earlier one is left alone.
    const QString third = root.filePath("Third/Sessions");
    QVERIFY(QDir().mkpath(third));
    FileSessionStore("session-cookies", third).write("x");
    FileSessionStore::migrate(third, fresh);
    QVERIFY(QFileInfo::exists(third + "/session-cookies.json"));
}

void SessionTest::savedAccountsLimits()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const AccountSessionVault vault(store);
    QCOMPARE(await(vault.load()), QList<SavedLogin>());

    const QList<SavedLogin> two{savedLogin("u-1"), savedLogin("u-2", R"([{"n":1}])")};
    await(vault.save(two));
    QCOMPARE(await(vault.load()), two);

    const APIError tooMany(400, "最多保存两个账号，请先移除一个。");
    QCOMPARE(thrown<APIError>([&] { await(vault.save(two + QList{savedLogin("u-3")})); }), tooMany);
    QCOMPARE(thrown<APIError>([&] {
                 await(vault.save({savedLogin("u-1"), savedLogin("u-1", "[1]")}));
             }),
             tooMany);
    QCOMPARE(await(vault.load()), two); // unchanged

    // A stored list that breaks the limits, written by other means, is refused and left as it is.
    QJsonArray three;
    for (const char *id : {"u-1", "u-2", "u-3"})
        three.append(savedLogin(id).toJson());
    const QByteArray stored = QJsonDocument(three).toJson(QJsonDocument::Compact);
    await(store->write(stored));
    QCOMPARE(thrown<APIError>([&] { await(vault.load()); }), APIError(400, "本地账号资料无效。"));
    QCOMPARE(*store->data(), stored);
    // These two texts are the same in every language.
    qputenv("LANGUAGE", "en_US");
    QCOMPARE(thrown<APIError>([&] { await(vault.load()); })->message(), QString("本地账号资料无效。"));
}

void SessionTest::savedAccountsStoredForm()
{
    const auto store = std::make_shared<MemorySessionStore>();
    const AccountSessionVault vault(store);
    SavedLogin withAvatar{User{"u-1", "lichen", "李辰", "member"}, "[]", QByteArray("\x89PNG\r\n", 6)};
    await(vault.save({withAvatar, savedLogin("u-2")}));
    const QJsonArray list = QJsonDocument::fromJson(*store->data()).array();
    QCOMPARE(list.at(0)["session"].toString(), QString("W10="));
    QCOMPARE(list.at(0)["avatar"].toString(), QString("iVBORw0K"));
    QCOMPARE(list.at(0)["user"]["name"].toString(), QString("李辰"));
    QVERIFY(!list.at(1).toObject().contains("avatar"));
    QVERIFY(!list.at(1)["user"].toObject().contains("name"));
    QCOMPARE(await(vault.load()).constFirst(), withAvatar);

    for (const QByteArray &damaged :
         {QByteArray(R"([{"user":{"id":"u","username":"x","role":"member"},"session":"W10"}])"),
          QByteArray(R"([{"user":{"id":"u","username":"x","role":"member"},"session":"!!!!"}])"),
          QByteArray(R"([{"user":{"id":"u","username":"x","role":"member"}}])"), QByteArray("{}")}) {
        await(store->write(damaged));
        QVERIFY2(thrown<DecodeError>([&] { await(vault.load()); }), damaged.constData());
    }
}

QTEST_GUILESS_MAIN(SessionTest)
#include "tst_session.moc"
