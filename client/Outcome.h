#pragma once

#include "APIError.h"

#include <QString>

#include <QCoro/QCoroTask>

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

// What became of one piece of awaited work: it finished (with its value), it was cancelled, or it failed
// with the one text shown to the user. A cancellation is never shown; a failure always has its text.
template <typename T = void>
class Outcome
{
public:
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

    static Outcome success(Value value = {}) { return Outcome(std::in_place_index<0>, std::move(value)); }
    static Outcome cancellation() { return Outcome(std::in_place_index<1>, Cancelled{}); }
    // The status is the APIError's, 0 for any other failure.
    static Outcome failure(QString message, int status = 0)
    {
        return Outcome(std::in_place_index<2>, Failure{std::move(message), status});
    }

    bool ok() const { return m_state.index() == 0; }
    bool cancelled() const { return m_state.index() == 1; }
    bool failed() const { return m_state.index() == 2; }
    // The failure's text; empty unless it failed.
    QString message() const { return failed() ? std::get<2>(m_state).message : QString(); }
    // The same, or none unless it failed.
    std::optional<QString> failureMessage() const
    {
        return failed() ? std::optional(message()) : std::nullopt;
    }
    // The status of a failed APIError (401: the session is gone); 0 otherwise.
    int status() const { return failed() ? std::get<2>(m_state).status : 0; }
    // Only after ok().
    Value &value() { return std::get<0>(m_state); }
    const Value &value() const { return std::get<0>(m_state); }

private:
    struct Cancelled
    {
    };
    struct Failure
    {
        QString message;
        int status = 0;
    };
    template <std::size_t I, typename A>
    Outcome(std::in_place_index_t<I> index, A &&argument)
        : m_state(index, std::forward<A>(argument))
    {
    }
    std::variant<Value, Cancelled, Failure> m_state;
};

// The outcome of the exception being handled: a CancellationError is a cancellation, anything else a
// failure with errorMessage's text. Only inside a catch block.
template <typename T = void>
Outcome<T> outcomeOfCurrentException()
{
    try {
        throw;
    } catch (const CancellationError &) {
        return Outcome<T>::cancellation();
    } catch (const APIError &error) {
        return Outcome<T>::failure(error.message(), error.status());
    } catch (const std::exception &error) {
        return Outcome<T>::failure(errorMessage(error));
    } catch (...) {
        return Outcome<T>::failure(unknownErrorMessage());
    }
}

// Awaits the work and sorts its end into an Outcome; it never throws.
template <typename T>
QCoro::Task<Outcome<T>> attempt(QCoro::Task<T> work)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(work);
            co_return Outcome<T>::success();
        } else {
            co_return Outcome<T>::success(co_await std::move(work));
        }
    } catch (...) {
        co_return outcomeOfCurrentException<T>();
    }
}
