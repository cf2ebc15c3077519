#pragma once

#include "Cancellation.h"

#include <memory>

// Lets a coroutine that resumes after its owner is gone stop without touching it. The owner keeps a
// Lifetime (declared last among its members, so it ends first); each coroutine takes a Guard before its
// first co_await and calls check() after every one. An owner whose work starts over (a new key, the
// screen shown again) restarts it: the guards of the earlier run end, the new run's live on.
class Lifetime
{
public:
    class Guard
    {
    public:
        bool alive() const { return *m_alive; }
        // Throws CancellationError when the owner is gone.
        void check() const
        {
            if (!*m_alive)
                throw CancellationError();
        }

    private:
        friend class Lifetime;
        explicit Guard(std::shared_ptr<const bool> alive)
            : m_alive(std::move(alive))
        {
        }
        std::shared_ptr<const bool> m_alive;
    };

    Lifetime() = default;
    Lifetime(const Lifetime &) = delete;
    Lifetime &operator=(const Lifetime &) = delete;
    ~Lifetime() { end(); }

    Guard guard() const { return Guard(m_alive); }
    // Ends it early, for an owner whose teardown resumes coroutines (aborting its own replies).
    void end() { *m_alive = false; }
    // Ends every guard taken so far; guards taken from now on live until the next restart or the end.
    void restart()
    {
        *m_alive = false;
        m_alive = std::make_shared<bool>(true);
    }

private:
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
