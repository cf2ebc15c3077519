#include "SessionStore.h"

#include "APIError.h"
#include "Installed.h"
#include "L.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

#include <QCoro/QCoroSignal>
#include <qt6keychain/keychain.h>

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

// Whether a keychain can be reached at all; without one the items live in the private files, as where the
// keychain refuses the app. Asked once per process.
bool keychainReachable()
{
#ifdef Q_OS_LINUX
    static const bool reachable = [] {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface())
            return false;
        const QStringList keychains{QStringLiteral("org.freedesktop.secrets"),
                                    QStringLiteral("org.kde.kwalletd6"), QStringLiteral("org.kde.kwalletd5")};
        const QStringList activatable = bus.interface()->activatableServiceNames();
        for (const QString &name : keychains) {
            if (bus.interface()->isServiceRegistered(name) || activatable.contains(name))
                return true;
        }
        return false;
    }();
    return reachable;
#else
    return true;
#endif
}

} // namespace

// One keychain item's queue: operations run one at a time, in the order asked.
class KeychainItem : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Read, Write, Clear };
    struct Operation
    {
        Kind kind;
        QByteArray bytes;
        bool done = false;
        std::optional<QByteArray> result;
        std::exception_ptr error;
    };

    KeychainItem(QString item, QString fileFolder)
        : m_item(std::move(item))
        , m_files(m_item, std::move(fileFolder))
    {
    }

    QCoro::Task<std::optional<QByteArray>> run(Kind kind, QByteArray bytes = {})
    {
        auto operation = std::make_shared<Operation>(Operation{kind, std::move(bytes)});
        m_queue.push_back(operation);
        pump();
        while (!operation->done)
            co_await qCoro(this, &KeychainItem::operationFinished);
        if (operation->error)
            std::rethrow_exception(operation->error);
        co_return operation->result;
    }

Q_SIGNALS:
    void operationFinished();

private:
    void pump()
    {
        if (m_running || m_queue.empty())
            return;
        m_running = true;
        const auto &operation = m_queue.front();
        if (operation->kind == Kind::Write && m_known && *m_known == operation->bytes) {
            finish({});
            return;
        }
        if (!keychainReachable()) {
            try {
                finish(onFiles(operation->kind));
            } catch (...) {
                m_known.reset();
                finishWithError(std::current_exception());
            }
            return;
        }
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
                finish({});
                return;
            }
            if (error != QKeychain::NoError)
                throw keychainError(error);
            if (kind == Kind::Read)
                finish(static_cast<QKeychain::ReadPasswordJob *>(job)->binaryData());
            else
                finish({});
        } catch (...) {
            m_known.reset();
            finishWithError(std::current_exception());
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
        auto operation = m_queue.front();
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

    void finishWithError(std::exception_ptr error)
    {
        auto operation = m_queue.front();
        operation->error = error;
        complete(operation);
    }

    void complete(const std::shared_ptr<Operation> &operation)
    {
        m_queue.pop_front();
        m_running = false;
        operation->done = true;
        Q_EMIT operationFinished();
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

QCoro::Task<> MemorySessionStore::write(QByteArray bytes)
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

QCoro::Task<> KeychainSessionStore::write(QByteArray bytes)
{
    co_await Installed<KeychainQueues>::current()
        .of(m_item, m_fileFolder)
        .run(KeychainItem::Kind::Write, std::move(bytes));
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
