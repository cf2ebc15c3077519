#include "FuzzTarget.h"

#include "APIError.h"
#include "AccountSessionVault.h"
#include "Await.h"
#include "Json.h"
#include "SessionStore.h"
#include "StoredCookie.h"

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
