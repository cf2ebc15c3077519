#pragma once

#include "APIError.h"

#include <QObject>

#include <QCoro/QCoroSignal>
#include <QCoro/QCoroTask>

#include <exception>
#include <memory>
#include <optional>

// Tells the waiters of a shared load that it has ended.
class SharedLoadSignal : public QObject
{
    Q_OBJECT

Q_SIGNALS:
    void ended();
};

// The result of one load that many callers wait for: the load runs once, however many wait, and a waiter
// that goes away does not stop it. `abandon` ends it for its waiters at once with a cancellation; the
// load's own late result is then ignored.
template <typename T>
class SharedLoad
{
public:
    SharedLoad()
        : m_state(std::make_shared<State>())
    {
    }

    // Runs the work to its end without anyone awaiting it; its result goes to the waiters.
    static SharedLoad start(QCoro::Task<T> work)
    {
        SharedLoad load;
        run(load.m_state, std::move(work));
        return load;
    }

    QCoro::Task<T> wait() const
    {
        const std::shared_ptr<State> state = m_state;
        if (!state->ended)
            co_await qCoro(&state->signal, &SharedLoadSignal::ended);
        if (state->error)
            std::rethrow_exception(state->error);
        T value = *state->value;
        co_return value;
    }

    void abandon() const { finish(m_state, std::make_exception_ptr(CancellationError()), std::nullopt); }
    bool ended() const { return m_state->ended; }
    bool sameAs(const SharedLoad &other) const { return m_state == other.m_state; }

private:
    struct State
    {
        SharedLoadSignal signal;
        std::optional<T> value;
        std::exception_ptr error;
        bool ended = false;
    };

    static void finish(const std::shared_ptr<State> &state, std::exception_ptr error, std::optional<T> value)
    {
        if (state->ended)
            return;
        state->ended = true;
        state->error = std::move(error);
        state->value = std::move(value);
        Q_EMIT state->signal.ended();
    }

    static QCoro::Task<> run(std::shared_ptr<State> state, QCoro::Task<T> work)
    {
        std::exception_ptr error;
        std::optional<T> value;
        try {
            value.emplace(co_await std::move(work));
        } catch (...) {
            error = std::current_exception();
        }
        finish(state, std::move(error), std::move(value));
    }

    std::shared_ptr<State> m_state;
};
