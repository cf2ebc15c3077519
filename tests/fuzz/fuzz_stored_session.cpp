#include "FuzzTarget.h"

#include "APIError.h"
#include "AccountSessionVault.h"
#include "Await.h"
#include "Json.h"
#include "SessionStore.h"
#include "SettingsFile.h"
#include "StoredCookie.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

// What the keychain hands back: the cookie JSON of the session, and the saved accounts. Whatever a damaged
// item holds, reading it either fails cleanly or gives records that are stored and read back unchanged.
VORNA_FUZZ_TARGET(stored_cookies)
{
    QList<StoredCookie> cookies;
    try {
        cookies = StoredCookie::decodeList(bytes);
    } catch (const DecodeError &) {
        return;
    }
    // The expiry keeps its millisecond through a save and a restore.
    FUZZ_CHECK(StoredCookie::decodeList(StoredCookie::encodeList(cookies)) == cookies);
}

VORNA_FUZZ_TARGET(saved_accounts)
{
    const auto store = std::make_shared<MemorySessionStore>();
    TestSupport::await(store->write(bytes));
    const AccountSessionVault vault(store);
    QList<SavedLogin> logins;
    try {
        logins = TestSupport::await(vault.load());
    } catch (const DecodeError &) {
        return;
    } catch (const APIError &error) {
        FUZZ_CHECK(error.status() == 400);
        return;
    }
    FUZZ_CHECK(logins.size() <= AccountSessionVault::maxAccounts);
    TestSupport::await(vault.save(logins));
    FUZZ_CHECK(TestSupport::await(vault.load()) == logins);
}

namespace {

bool isPlainValue(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::UnknownType || type == QMetaType::QString || type == QMetaType::QByteArray;
}

// A value as it reads back once written: a list of one as that value, none as no value, and a list of values
// that are all texts as a list of texts.
QVariant readBack(const QVariant &value)
{
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QVariantList)
        return value;
    const QVariantList items = value.toList();
    if (items.isEmpty())
        return {};
    if (items.size() == 1)
        return readBack(items.front());
    const auto isText = [](const QVariant &item) { return item.typeId() == QMetaType::QString; };
    return std::all_of(items.cbegin(), items.cend(), isText) ? QVariant(value.toStringList())
                                                             : QVariant(items);
}

QSettings::SettingsMap readSettings(const QByteArray &bytes)
{
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    FUZZ_CHECK(SettingsFile::read(file, map));
    return map;
}

} // namespace

// The settings file, as another program or a damaged disk may leave it. It is read without Qt's variant
// stream (a count it declares reserves nothing: the replay stops at any allocation over 4 GiB), it gives
// only texts, bytes, no value and lists of them, and what it gives is written and read back the same.
VORNA_FUZZ_TARGET(settings_file)
{
    const QSettings::SettingsMap map = readSettings(bytes);
    for (const QVariant &value : map) {
        if (value.typeId() == QMetaType::QStringList)
            continue;
        if (value.typeId() == QMetaType::QVariantList) {
            const QVariantList items = value.toList();
            FUZZ_CHECK(std::all_of(items.cbegin(), items.cend(), isPlainValue));
        } else {
            FUZZ_CHECK(isPlainValue(value));
        }
    }
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    FUZZ_CHECK(SettingsFile::write(file, map));
    const QSettings::SettingsMap again = readSettings(file.data());
    FUZZ_CHECK(again.keys() == map.keys());
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        const QVariant value = again.value(entry.key());
        const QVariant expected = readBack(entry.value());
        FUZZ_CHECK(value.typeId() == expected.typeId() && value == expected);
    }
}

namespace {

// One entry of the settings_from_qt input: the first byte picks what the value is, then the key, a 0x1d
// byte and the value, whose items a list separates by 0x1f bytes.
void setEntry(QSettings &settings, const QByteArray &entry)
{
    if (entry.isEmpty())
        return;
    const qsizetype split = entry.indexOf('\x1d');
    const QString key = QString::fromUtf8(entry.mid(1, split < 0 ? -1 : split - 1));
    // Qt refuses an empty key with a warning.
    if (key.count(QLatin1Char('/')) == key.size())
        return;
    const QByteArray written = split < 0 ? QByteArray() : entry.mid(split + 1);
    QStringList items;
    for (const QByteArray &item : written.split('\x1f'))
        items.append(QString::fromUtf8(item));
    switch (quint8(entry.front()) % 5) {
    case 0:
        settings.setValue(key, QString::fromUtf8(written));
        break;
    case 1:
        settings.setValue(key, items);
        break;
    case 2:
        settings.setValue(key, QVariantList(items.cbegin(), items.cend()));
        break;
    case 3:
        settings.setValue(key, written);
        break;
    default:
        settings.setValue(key, !written.isEmpty());
        break;
    }
}

} // namespace

// Texts, lists, flags and bytes as Qt's own writer leaves them in the file (0x1e bytes separate the
// entries): the app's reader reads the same keys and the same values of the same types as Qt's reader.
VORNA_FUZZ_TARGET(settings_from_qt)
{
    static const QTemporaryDir folder;
    static int run = 0;
    const QString written = folder.filePath(QString::number(++run));
    {
        QSettings qt(written, QSettings::IniFormat);
        // Written in place: a file renamed over and flushed to disk each time would take most of the run.
        qt.setAtomicSyncRequired(false);
        for (const QByteArray &entry : bytes.split('\x1e'))
            setEntry(qt, entry);
        qt.sync();
        FUZZ_CHECK(qt.status() == QSettings::NoError);
    }
    // Copies, so neither reader finds the other's, nor the writer's, values cached for the file.
    const QString forQt = written + QStringLiteral(".qt");
    const QString forApp = written + QStringLiteral(".app");
    QFile::copy(written, forQt);
    QFile::copy(written, forApp);
    {
        const QSettings qt(forQt, QSettings::IniFormat);
        const QSettings app(forApp, SettingsFile::format());
        const QStringList keys = qt.allKeys();
        FUZZ_CHECK(app.allKeys() == keys);
        for (const QString &key : keys) {
            const QVariant expected = qt.value(key);
            const QVariant read = app.value(key);
            FUZZ_CHECK(read.typeId() == expected.typeId() && read == expected);
        }
    }
    for (const QString &file : {written, forQt, forApp})
        QFile::remove(file);
}
