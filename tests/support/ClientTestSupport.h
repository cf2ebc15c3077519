#pragma once

// Helpers for tests that drive the client against the sample member service.
#include "APIClient.h"
#include "Await.h"
#include "SampleService.h"

#include <QCoro/QCoroTask>
#include <QtTest>

#include <memory>
#include <optional>

namespace TestSupport {

// The error of the given type that a call threw, or none when it threw nothing or something else.
template <typename Error, typename Call>
std::optional<Error> thrown(Call &&call)
{
    try {
        call();
    } catch (const Error &error) {
        return error;
    } catch (...) {
    }
    return std::nullopt;
}

// The owner, group and other permissions of a file, without Qt's extra "user" bits.
inline QFileDevice::Permissions permissionsOf(const QString &path)
{
    constexpr QFileDevice::Permissions unixBits =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
        | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    return QFileInfo(path).permissions() & unixBits;
}

// A started sample service and a client of it that trusts its certificate.
struct Site
{
    Site()
        : service(std::make_unique<Sample::Service>())
    {
        started = service->start();
    }

    std::unique_ptr<APIClient> client(SessionStorePtr store = std::make_shared<MemorySessionStore>()) const
    {
        return std::make_unique<APIClient>(service->origin(), std::move(store),
                                           QList<QSslCertificate>{Sample::Service::certificate()});
    }

    // A client signed in as a sample member, the requests of its sign-in forgotten by the service.
    std::unique_ptr<APIClient> signedInClient(const QString &username = QStringLiteral("lichen")) const
    {
        std::unique_ptr<APIClient> signedIn = client();
        await(signedIn->login(username, QStringLiteral("fly-vornalia"), false));
        service->clearRequests();
        return signedIn;
    }

    std::unique_ptr<Sample::Service> service;
    bool started = false;
};

} // namespace TestSupport
