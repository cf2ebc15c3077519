#pragma once

#include "Lifetime.h"

#include <functional>

// Holds an owner's busy flag for as long as it lives: set when made, cleared on every way out of the
// operation that holds it (return, failure, cancellation), unless the owner itself has gone.
//
//     if (m_busy) co_return;              // a second press while busy does nothing
//     const BusyGuard busy(m_busy, m_lifetime.guard(), [this] { Q_EMIT busyChanged(); });
class BusyGuard
{
public:
    BusyGuard(bool &flag, Lifetime::Guard lifetime, std::function<void()> changed = {})
        : m_flag(flag)
        , m_lifetime(std::move(lifetime))
        , m_changed(std::move(changed))
    {
        m_flag = true;
        if (m_changed)
            m_changed();
    }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;
    ~BusyGuard()
    {
        if (!m_lifetime.alive())
            return;
        m_flag = false;
        if (m_changed)
            m_changed();
    }

private:
    bool &m_flag;
    Lifetime::Guard m_lifetime;
    std::function<void()> m_changed;
};
