#pragma once

#include <QCoro/QCoroTask>
#include <QEventLoop>

#include <exception>
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

} // namespace TestSupport
