#include "SessionStore.h"

#include "APIError.h"
#include "ClientLog.h"
#include "Installed.h"
#include "L.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingReply>

#include <qt6keychain/keychain.h>

#include <coroutine>
#include <deque>

namespace {

constexpr QFileDevice::Permissions ownerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

[[noreturn]] void throwFileError(const QString &reason)
{
    throw APIError(500, L("本地会话文件无法读写：%@", reason));
}

APIError keychainError(int keychainError)
{
    return APIError(KeychainSessionStore::statusOf(keychainError),
                    L("系统钥匙串暂时不可用，请解锁设备后重试。"));
}

constexpr char secretService[] = "org.freedesktop.secrets";

// Which keychains the session bus offers; asked once per process. Without any, the items live in the private
// files, as where the keychain refuses the app.
struct KeychainBus
{
    bool reachable = false;
    // The Secret Service (gnome-keyring, KeePassXC, …): it keeps items in the desktop's default keyring.
    bool secretService = false;
};

const KeychainBus &keychainBus()
{
    static const KeychainBus bus = [] {
        KeychainBus found;
#ifdef Q_OS_LINUX
        QDBusConnection session = QDBusConnection::sessionBus();
        if (!session.isConnected() || !session.interface())
            return found;
        const QStringList activatable = session.interface()->activatableServiceNames();
        const auto offered = [&](const QString &name) {
            return session.interface()->isServiceRegistered(name) || activatable.contains(name);
        };
        found.secretService = offered(QLatin1String(secretService));
        found.reachable = found.secretService || offered(QStringLiteral("org.kde.kwalletd6"))
                          || offered(QStringLiteral("org.kde.kwalletd5"));
#else
        found.reachable = true;
#endif
        return found;
    }();
    return bus;
}

} // namespace

// One keychain item's queue: operations run one at a time, in the order asked. Each operation is awaited
// through its own completion, resumed from the event loop once it has ended, so no waiter depends on a
// signal or an object that another waiter's resumption may end.
class KeychainItem : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Read, Write, Clear };

    KeychainItem(QString item, QString fileFolder)
        : m_item(std::move(item))
        , m_files(m_item, std::move(fileFolder))
    {
    }

    QCoro::Task<std::optional<QByteArray>> run(Kind kind, QByteArray bytes = {},
                                               KeyringPrompt prompt = KeyringPrompt::Avoid)
    {
        const auto operation = std::make_shared<Operation>(kind, std::move(bytes), prompt);
        m_queue.push_back(operation);
        pump();
        // The awaiter is a named, trivially destroyed value: GCC 12 may destroy a temporary of a co_await
        // expression twice.
        Completion completion{operation.get()};
        co_return co_await completion;
    }

private:
    struct Operation
    {
        Operation(Kind kind, QByteArray bytes, KeyringPrompt prompt)
            : kind(kind)
            , bytes(std::move(bytes))
            , prompt(prompt)
        {
        }
        Kind kind;
        QByteArray bytes;
        KeyringPrompt prompt;
        bool done = false;
        std::optional<QByteArray> result;
        std::exception_ptr error;
        std::coroutine_handle<> waiter; // the one coroutine suspended on this operation, if any
    };

    // Awaits one operation (which its waiter keeps alive): ready at once when it has already ended.
    struct Completion
    {
        Operation *operation;
        bool await_ready() const noexcept { return operation->done; }
        void await_suspend(std::coroutine_handle<> waiter) const noexcept { operation->waiter = waiter; }
        std::optional<QByteArray> await_resume() const
        {
            if (operation->error)
                std::rethrow_exception(operation->error);
            return operation->result;
        }
    };

    void pump()
    {
        if (m_running || m_queue.empty())
            return;
        m_running = true;
        const std::shared_ptr<Operation> operation = m_queue.front();
        if (operation->kind == Kind::Write && m_known && *m_known == operation->bytes) {
            finish({});
            return;
        }
        if (!keychainBus().reachable) {
            useFiles();
            return;
        }
        // A Secret Service without a default keyring would ask the member to create one for a write: only a
        // write the member asked for may do that. Everything else stays in the private files there.
        if (keychainBus().secretService && operation->prompt == KeyringPrompt::Avoid) {
            askForDefaultKeyring();
            return;
        }
        startJob();
    }

    void askForDefaultKeyring()
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QLatin1String(secretService), QStringLiteral("/org/freedesktop/secrets"),
            QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("ReadAlias"));
        call << QStringLiteral("default");
        auto *watcher =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 10'000), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answered) {
            answered->deleteLater();
            const QDBusPendingReply<QDBusObjectPath> reply = *answered;
            // "/" names no collection. A service that cannot answer is left to the keychain library to judge.
            if (reply.isValid() && reply.value().path() == QLatin1String("/")) {
                qCDebug(lcClient) << "no default keyring: the item" << m_item << "stays in the private files";
                useFiles();
            } else {
                startJob();
            }
        });
    }

    void startJob()
    {
        const std::shared_ptr<Operation> &operation = m_queue.front();
        QKeychain::Job *job = nullptr;
        switch (operation->kind) {
        case Kind::Read:
            job = new QKeychain::ReadPasswordJob(QLatin1String(KeychainSessionStore::serviceName));
            break;
        case Kind::Write: {
            auto *write = new QKeychain::WritePasswordJob(QLatin1String(KeychainSessionStore::serviceName));
            write->setBinaryData(operation->bytes);
            job = write;
            break;
        }
        case Kind::Clear:
            job = new QKeychain::DeletePasswordJob(QLatin1String(KeychainSessionStore::serviceName));
            break;
        }
        job->setKey(m_item);
        job->setInsecureFallback(false);
        job->setAutoDelete(true);
        connect(job, &QKeychain::Job::finished, this,
                [this](QKeychain::Job *finished) { completed(finished); });
        job->start();
    }

    void completed(QKeychain::Job *job)
    {
        const Kind kind = m_queue.front()->kind;
        const QKeychain::Error error = job->error();
        try {
            if (error == QKeychain::NoBackendAvailable) {
                // No keychain for this app here: the item lives in the private files.
                finish(onFiles(kind));
                return;
            }
            if (error == QKeychain::EntryNotFound && kind != Kind::Write) {
                // What was kept in the private files while the desktop had no keyring is still the item.
                if (kind == Kind::Read)
                    finish(m_files.read());
                else
                    finish(onFiles(kind));
                return;
            }
            if (error != QKeychain::NoError)
                throw keychainError(error);
            switch (kind) {
            case Kind::Read:
                finish(static_cast<QKeychain::ReadPasswordJob *>(job)->binaryData());
                return;
            case Kind::Write:
                dropFileCopy();
                finish({});
                return;
            case Kind::Clear:
                m_files.clear();
                finish({});
                return;
            }
        } catch (...) {
            fail(std::current_exception());
        }
    }

    // The keychain holds the item now: an older copy in the private files must not outlive it.
    void dropFileCopy() const
    {
        try {
            m_files.clear();
        } catch (const APIError &error) {
            qCWarning(lcClient) << "an older copy of" << m_item
                                << "stays in the private files:" << error.message();
        }
    }

    void useFiles()
    {
        try {
            finish(onFiles(m_queue.front()->kind));
        } catch (...) {
            fail(std::current_exception());
        }
    }

    std::optional<QByteArray> onFiles(Kind kind) const
    {
        switch (kind) {
        case Kind::Read:
            return m_files.read();
        case Kind::Write:
            m_files.write(m_queue.front()->bytes);
            return {};
        case Kind::Clear:
            m_files.clear();
            return {};
        }
        return {};
    }

    void finish(std::optional<QByteArray> result)
    {
        const std::shared_ptr<Operation> operation = m_queue.front();
        switch (operation->kind) {
        case Kind::Read:
            m_known = result;
            break;
        case Kind::Write:
            m_known = operation->bytes;
            break;
        case Kind::Clear:
            m_known.emplace(); // known to hold nothing
            break;
        }
        operation->result = std::move(result);
        complete(operation);
    }

    void fail(std::exception_ptr error)
    {
        m_known.reset();
        const std::shared_ptr<Operation> operation = m_queue.front();
        operation->error = std::move(error);
        complete(operation);
    }

    void complete(const std::shared_ptr<Operation> &operation)
    {
        m_queue.pop_front();
        m_running = false;
        operation->done = true;
        // Resumed from the event loop, never from inside this queue's own work; posted in the order the
        // operations end, so their waiters go on in that order too.
        if (operation->waiter) {
            QMetaObject::invokeMethod(
                this,
                [operation] {
                    if (const std::coroutine_handle<> waiter = std::exchange(operation->waiter, nullptr))
                        waiter.resume();
                },
                Qt::QueuedConnection);
        }
        pump();
    }

    QString m_item;
    FileSessionStore m_files;
    std::deque<std::shared_ptr<Operation>> m_queue;
    bool m_running = false;
    // What the item is known to hold after the last operation; unknown after a failure.
    std::optional<std::optional<QByteArray>> m_known;
};

QCoro::Task<std::optional<QByteArray>> MemorySessionStore::read()
{
    // QCoro moves whatever co_return is given, so a member must be copied first.
    std::optional<QByteArray> copy = m_data;
    co_return copy;
}

QCoro::Task<> MemorySessionStore::write(QByteArray bytes, KeyringPrompt)
{
    m_data = std::move(bytes);
    co_return;
}

QCoro::Task<> MemorySessionStore::clear()
{
    m_data.reset();
    co_return;
}

FileSessionStore::FileSessionStore(QString item, QString folder)
    : m_item(std::move(item))
    , m_folder(std::move(folder))
{
}

QString FileSessionStore::filePath() const
{
    return QDir(m_folder).filePath(m_item + QStringLiteral(".json"));
}

std::optional<QByteArray> FileSessionStore::read() const
{
    QFile file(filePath());
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throwFileError(file.errorString());
    return file.readAll();
}

void FileSessionStore::write(const QByteArray &bytes) const
{
    if (!QDir().mkpath(m_folder))
        throwFileError(m_folder);
    QFile::setPermissions(m_folder, ownerOnlyFolder);

    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        throwFileError(file.errorString());
    // The file is private before it holds anything.
    file.setPermissions(ownerOnlyFile);
    file.write(bytes);
    if (!file.commit())
        throwFileError(file.errorString());
    if (!QFile::setPermissions(filePath(), ownerOnlyFile))
        throwFileError(filePath());
}

void FileSessionStore::clear() const
{
    QFile file(filePath());
    if (file.exists() && !file.remove())
        throwFileError(file.errorString());
}

void FileSessionStore::migrate(const QString &olderFolder, const QString &folder)
{
    QDir older(olderFolder);
    if (QFileInfo::exists(folder) || !older.exists())
        return;
    QDir().mkpath(folder);
    QFile::setPermissions(folder, ownerOnlyFolder);
    for (const QString &name : older.entryList(QDir::Files | QDir::Hidden))
        QFile::rename(older.filePath(name), QDir(folder).filePath(name));
    // Only empty folders go: whatever else an earlier build left stays where it is.
    const QString identifierFolder = QFileInfo(older.absolutePath()).absolutePath();
    if (QDir().rmdir(older.absolutePath()))
        QDir().rmdir(identifierFolder);
}

QString FileSessionStore::defaultFolder()
{
    static const QString folder = [] {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString current = QDir(data).filePath(QStringLiteral("Sessions"));
        // Earlier builds kept their data under the name "Vorna".
        const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        migrate(QDir(generic).filePath(QStringLiteral("Vorna/Sessions")), current);
        return current;
    }();
    return folder;
}

KeychainQueues::KeychainQueues() = default;
KeychainQueues::~KeychainQueues() = default;

KeychainItem &KeychainQueues::of(const QString &item, const QString &fileFolder)
{
    auto &found = m_items[fileFolder + QLatin1Char('\n') + item];
    if (!found)
        found = std::make_shared<KeychainItem>(item, fileFolder);
    return *found;
}

KeychainSessionStore::KeychainSessionStore(QString item, QString fileFolder)
    : m_item(std::move(item))
    , m_fileFolder(std::move(fileFolder))
{
}

QCoro::Task<std::optional<QByteArray>> KeychainSessionStore::read()
{
    co_return co_await Installed<KeychainQueues>::current()
        .of(m_item, m_fileFolder)
        .run(KeychainItem::Kind::Read);
}

QCoro::Task<> KeychainSessionStore::write(QByteArray bytes, KeyringPrompt prompt)
{
    co_await Installed<KeychainQueues>::current()
        .of(m_item, m_fileFolder)
        .run(KeychainItem::Kind::Write, std::move(bytes), prompt);
}

QCoro::Task<> KeychainSessionStore::clear()
{
    co_await Installed<KeychainQueues>::current().of(m_item, m_fileFolder).run(KeychainItem::Kind::Clear);
}

int KeychainSessionStore::statusOf(int keychainError)
{
    switch (keychainError) {
    case QKeychain::NoError:
        return 0;
    case QKeychain::EntryNotFound:
        return -25300;
    case QKeychain::NoBackendAvailable:
        return -34018;
    case QKeychain::AccessDeniedByUser:
        return -128;
    default:
        return -25293;
    }
}

#include "SessionStore.moc"
