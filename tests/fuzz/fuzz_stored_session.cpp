#include "FuzzTarget.h"

#include "APIError.h"
#include "AccountSessionVault.h"
#include "Await.h"
#include "Json.h"
#include "SessionStore.h"
#include "SettingsFile.h"
#include "StoredCookie.h"

#include <QBuffer>

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

// A value as the read marks take it: a list of one text is written as that text, an empty list as none.
QStringList texts(const QVariant &value)
{
    if (!value.isValid())
        return {};
    return value.typeId() == QMetaType::QStringList ? value.toStringList() : QStringList{value.toString()};
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
// only texts and lists of texts, and what it gives is written and read back as the same texts.
VORNA_FUZZ_TARGET(settings_file)
{
    const QSettings::SettingsMap map = readSettings(bytes);
    for (const QVariant &value : map) {
        const int type = value.typeId();
        FUZZ_CHECK(type == QMetaType::UnknownType || type == QMetaType::QString
                   || type == QMetaType::QStringList);
    }
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    FUZZ_CHECK(SettingsFile::write(written, map));
    const QSettings::SettingsMap again = readSettings(written.data());
    FUZZ_CHECK(again.keys() == map.keys());
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        FUZZ_CHECK(texts(again.value(entry.key())) == texts(entry.value()));
}
