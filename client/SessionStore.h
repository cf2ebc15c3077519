#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <QCoro/QCoroTask>

#include <memory>
#include <optional>

// Whether the member asked for a write ("保持登录", "登录并保存"). Only such a write may make a desktop that
// has no keyring yet ask the member to create one; any other write goes to the private files there.
enum class KeyringPrompt { Avoid, Allowed };

// A store of one byte item: the session cookies, or the saved accounts. The keychain answers
// asynchronously, so the operations are coroutines; each throws APIError on failure.
class SessionStore
{
public:
    virtual ~SessionStore() = default;

    virtual QCoro::Task<std::optional<QByteArray>> read() = 0;
    virtual QCoro::Task<> write(QByteArray bytes, KeyringPrompt prompt = KeyringPrompt::Avoid) = 0;
    virtual QCoro::Task<> clear() = 0;
};

using SessionStorePtr = std::shared_ptr<SessionStore>;

// Bytes in memory: the session of a client being prepared for another account.
class MemorySessionStore final : public SessionStore
{
public:
    QCoro::Task<std::optional<QByteArray>> read() override;
    QCoro::Task<> write(QByteArray bytes, KeyringPrompt prompt = KeyringPrompt::Avoid) override;
    QCoro::Task<> clear() override;

    const std::optional<QByteArray> &data() const { return m_data; }

private:
    std::optional<QByteArray> m_data;
};

// Private files, where no keychain can be had: one file "<item>.json" in a folder only the user may
// enter (0700), each file readable only by them (0600), written atomically.
class FileSessionStore
{
public:
    // The folder holding the files; by default "Sessions" in the app's data folder.
    explicit FileSessionStore(QString item, QString folder = defaultFolder());

    std::optional<QByteArray> read() const;
    void write(const QByteArray &bytes) const;
    void clear() const;

    QString filePath() const;

    // "Sessions" in the app's data folder, after moving one left by an earlier build (once per process).
    static QString defaultFolder();
    // Moves the session files of an earlier build's folder into `folder` when `folder` does not exist yet.
    // The earlier folder is removed only when nothing else is left in it.
    static void migrate(const QString &olderFolder, const QString &folder);

private:
    QString m_item;
    QString m_folder;
};

class KeychainItem;

// The queues of the keychain items, one per item and folder, so two stores of one item never overlap.
// One per process: main/ makes it and installs it (Installed.h); a test makes and installs its own.
class KeychainQueues
{
public:
    KeychainQueues();
    KeychainQueues(const KeychainQueues &) = delete;
    KeychainQueues &operator=(const KeychainQueues &) = delete;
    ~KeychainQueues();

    KeychainItem &of(const QString &item, const QString &fileFolder);

private:
    QHash<QString, std::shared_ptr<KeychainItem>> m_items;
};

// The system keychain (Secret Service or KWallet here). Where none can be reached, or where the desktop has
// no keyring yet and the member did not ask to be remembered, the item lives in the private files instead;
// an item left there is still read, and dropped once the keychain holds it. Operations on one item run one
// after another in the order they were asked for, so an older snapshot never overwrites a newer one; bytes
// already stored are not written again.
class KeychainSessionStore final : public SessionStore
{
public:
    // `item` is the keychain account name: "session-cookies" or "saved-accounts-v1".
    explicit KeychainSessionStore(QString item, QString fileFolder = FileSessionStore::defaultFolder());

    QCoro::Task<std::optional<QByteArray>> read() override;
    QCoro::Task<> write(QByteArray bytes, KeyringPrompt prompt = KeyringPrompt::Avoid) override;
    QCoro::Task<> clear() override;

    static constexpr char serviceName[] = "org.vornalia.MemberCentre";
    static constexpr char sessionItem[] = "session-cookies";
    static constexpr char savedAccountsItem[] = "saved-accounts-v1";

    // The status of a keychain refusal: QtKeychain's error mapped to the keychain's own numbers
    // (item not found -25300, no keychain for the app -34018, denied -128, other failures -25293).
    static int statusOf(int keychainError);

private:
    QString m_item;
    QString m_fileFolder;
};
