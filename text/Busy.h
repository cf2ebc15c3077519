#pragma once

#include "Lifetime.h"

#include <functional>
#include <memory>

// Holds an owner's busy flag for as long as it lives: set when made, cleared on every way out of the
// operation that holds it (return, failure, cancellation) and when the owner restarts the run the guard
// was taken from, never once the owner itself has gone.
//
//     if (m_busy) co_return;              // a second press while busy does nothing
//     const BusyGuard busy(m_busy, m_lifetime.guard(), [this] { Q_EMIT busyChanged(); });
//
// A flag that is not a plain member (one entry of a table) is set through a function instead:
//     const BusyGuard busy(lifetime, [this, key](bool busy) { setLoading(key, busy); });
class BusyGuard
{
public:
    BusyGuard(Lifetime::Guard run, std::function<void(bool)> set)
        : m_run(std::move(run))
        , m_set(std::move(set))
        , m_clear(std::make_shared<const std::function<void()>>([this] { m_set(false); }))
    {
        m_set(true);
        m_run.onRestart(m_clear);
    }
    BusyGuard(bool &flag, Lifetime::Guard run, std::function<void()> changed = {})
        : BusyGuard(std::move(run), [&flag, changed = std::move(changed)](bool busy) {
            flag = busy;
            if (changed)
                changed();
        })
    {
    }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;
    // A run ended by a restart was cleared then; the flag may be a newer run's by now.
    ~BusyGuard()
    {
        if (m_run.alive())
            m_set(false);
    }

private:
    Lifetime::Guard m_run;
    std::function<void(bool)> m_set;
    std::shared_ptr<const std::function<void()>> m_clear;
};
