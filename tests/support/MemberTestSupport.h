#pragma once

// Helpers for tests of the member screens against the sample member service.
#include "AppState.h"
#include "ClientTestSupport.h"

#include <memory>

namespace TestSupport {

// The account state of a window signed in as a sample account, its session kept in memory only.
inline std::unique_ptr<AppState> signedInApp(const Site &site, const QString &username)
{
    const auto store = std::make_shared<MemorySessionStore>();
    auto app = std::make_unique<AppState>(
        AccountEnvironment{site.service->origin(),
                           {Sample::Service::certificate()},
                           [store](const QString &) -> SessionStorePtr { return store; }},
        nullptr);
    await(app->signIn(username, "fly-vornalia", false));
    return app;
}

} // namespace TestSupport
