#pragma once

// Helpers for tests that drive the client against the sample member service.
#include "APIClient.h"
#include "SampleService.h"

#include <QCoro/QCoroTask>
#include <QtTest>

#include <memory>
#include <optional>

namespace TestSupport {

// Runs a coroutine to its end and hands back its result or rethrows its error (tests only: this spins an
// event loop).
template <typename T>
T await(QCoro::Task<T> task)
{
    QEventLoop loop;
    std::optional<T> result;
    std::exception_ptr error;
    bool done = false;
    auto run = [&]() -> QCoro::Task<> {
        try {
            result.emplace(co_await std::move(task));
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    auto running = run();
    if (!done)
        loop.exec();
    if (error)
        std::rethrow_exception(error);
    return std::move(*result);
}

inline void await(QCoro::Task<> task)
{
    auto wrapped = [](QCoro::Task<> inner) -> QCoro::Task<bool> {
        co_await std::move(inner);
        co_return true;
    };
    await(wrapped(std::move(task)));
}

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

    std::unique_ptr<Sample::Service> service;
    bool started = false;
};

} // namespace TestSupport
