#pragma once

#include "Lifetime.h"

#include <QDateTime>

#include <chrono>
#include <coroutine>
#include <functional>
#include <memory>

// The live map's time: the wall clock that stamps interactions and selections, and the monotonic waits of
// its polling loop and demonstration tour. The app runs on the system's; a test hands in one that moves
// only when it is told, so thirty seconds of polling pass without waiting for them.
class LiveMapClock
{
public:
    // A wait that is running; dropping it stops it without ringing.
    class Alarm
    {
    public:
        virtual ~Alarm() = default;
    };

    virtual ~LiveMapClock() = default;
    virtual QDateTime now() const = 0;
    // Calls `ring` once after `delay` has passed, unless the alarm is dropped first.
    virtual std::unique_ptr<Alarm> after(std::chrono::milliseconds delay, std::function<void()> ring) = 0;

    // The clock of the app: the system's time and precise timers of the event loop.
    static std::shared_ptr<LiveMapClock> system();
};

// A wait a coroutine sleeps through: `co_await sleep` resumes it true when the time has passed, false at
// once when the run of the guard it was given is restarted or ended (a new polling cycle, the page going
// away), so a cancelled loop ends at once and never leaves its frame behind.
//
//     if (!co_await Sleep(clock, 30s, lifetime.guard()))
//         co_return;
class Sleep
{
public:
    Sleep(LiveMapClock &clock, std::chrono::milliseconds delay, const Lifetime::Guard &run);

    bool await_ready() const noexcept { return m_state->ended; }
    void await_suspend(std::coroutine_handle<> waiter);
    bool await_resume() const noexcept { return m_state->rang; }

private:
    struct State
    {
        bool ended = false;
        bool rang = false;
        std::coroutine_handle<> waiter;
        std::unique_ptr<LiveMapClock::Alarm> alarm;
        std::shared_ptr<const std::function<void()>> cancel;
        void end(bool rang);
    };
    std::shared_ptr<State> m_state;
};
