// A desktop whose keyring daemon starts on demand and holds no keyring yet, as on a fresh account: nothing
// the member did not ask for may make it ask him to create one. Run on a bus of its own
// (tests/support/keyring-absent-session), where such a question fails at once.
#include "AppState.h"
#include "ClientTestSupport.h"
#include "Installed.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QTemporaryDir>

using namespace TestSupport;

namespace {

// The desktop's default keyring, as the Secret Service names it ("/" for none).
QString defaultKeyring()
{
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.secrets", "/org/freedesktop/secrets",
                                                       "org.freedesktop.Secret.Service", "ReadAlias");
    call << QString("default");
    const QDBusReply<QDBusObjectPath> reply = QDBusConnection::sessionBus().call(call);
    return reply.isValid() ? reply.value().path() : QString("(no answer: %1)").arg(reply.error().message());
}

} // namespace

class KeyringAbsentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void quietItemsStayInPrivateFiles();
    void onlyWhatTheMemberAsksForGoesToTheKeyring();
    void accountsWithoutAKeyring();

private:
    AccountEnvironment environment(const QString &folder) const
    {
        return {m_site->service->origin(), {Sample::Service::certificate()}, [folder](const QString &item) {
                    return std::make_shared<KeychainSessionStore>(item, folder);
                }};
    }

    std::unique_ptr<Site> m_site;
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
};

void KeyringAbsentTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run by tests/support/keyring-absent-session");
    QCOMPARE(defaultKeyring(), QString("/"));
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void KeyringAbsentTest::quietItemsStayInPrivateFiles()
{
    QTemporaryDir folder;
    KeychainSessionStore store("session-cookies", folder.path());
    await(store.write("[]"));
    QVERIFY(QFileInfo::exists(folder.filePath("session-cookies.json")));
    QCOMPARE(await(KeychainSessionStore("session-cookies", folder.path()).read()),
             std::optional<QByteArray>("[]"));
    await(store.clear());
    QVERIFY(!QFileInfo::exists(folder.filePath("session-cookies.json")));
    QCOMPARE(defaultKeyring(), QString("/"));
}

void KeyringAbsentTest::onlyWhatTheMemberAsksForGoesToTheKeyring()
{
    // Asked for, the write goes to the keyring, which asks to create one: here nobody can answer, so it fails
    // with the keychain's message and nothing is left in the private files.
    QTemporaryDir folder;
    KeychainSessionStore store("session-cookies", folder.path());
    const auto refused = thrown<APIError>([&] { await(store.write("[]", KeyringPrompt::Allowed)); });
    QVERIFY(refused);
    QCOMPARE(refused->message(), QString("系统钥匙串暂时不可用，请解锁设备后重试。"));
    QVERIFY(QDir(folder.path()).isEmpty());
}

void KeyringAbsentTest::accountsWithoutAKeyring()
{
    // Signed in without "保持登录", the popover opened (the current account is kept), a restart, sign-out.
    QTemporaryDir folder;
    {
        AppState state(environment(folder.path()), nullptr);
        await(state.restore());
        await(state.signIn("lichen", "fly-vornalia", false));
        await(state.rememberCurrentAccount());
        QCOMPARE(state.savedAccountCount(), 1);
        QVERIFY(!state.hasMessage());
    }
    QCOMPARE(defaultKeyring(), QString("/"));
    AppState state(environment(folder.path()), nullptr);
    await(state.restore());
    QVERIFY(state.signedIn());
    QCOMPARE(state.username(), QString("lichen"));
    QCOMPARE(state.savedAccountCount(), 1);

    // Signed out at once, and what was kept is gone.
    await(state.signOut());
    QVERIFY(!state.signedIn());
    QVERIFY(!state.hasMessage());
    QCOMPARE(state.savedAccountCount(), 0);
    QVERIFY(!QFileInfo::exists(folder.filePath("session-cookies.json")));
    QCOMPARE(defaultKeyring(), QString("/"));
}

QTEST_GUILESS_MAIN(KeyringAbsentTest)
#include "tst_keyring_absent.moc"
