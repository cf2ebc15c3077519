// Without any keychain to reach (no session bus here), the keychain store keeps its item in private files.
#include "ClientTestSupport.h"
#include "Installed.h"

#include <QDBusConnection>
#include <QTemporaryDir>

using namespace TestSupport;

class KeychainFallbackTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemsGoToPrivateFiles();

private:
    // The keychain's queues main/ would install, this test's own.
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
};

void KeychainFallbackTest::itemsGoToPrivateFiles()
{
    QVERIFY(!QDBusConnection::sessionBus().isConnected());
    QTemporaryDir root;
    const QString folder = root.filePath("Sessions");
    KeychainSessionStore store("session-cookies", folder);
    QCOMPARE(await(store.read()), std::nullopt);
    await(store.write("[]"));
    const QString file = folder + "/session-cookies.json";
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(permissionsOf(file), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(permissionsOf(folder), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(await(KeychainSessionStore("session-cookies", folder).read()), std::optional<QByteArray>("[]"));
    await(store.clear());
    QVERIFY(!QFileInfo::exists(file));
}

QTEST_GUILESS_MAIN(KeychainFallbackTest)
#include "tst_keychain_fallback.moc"
