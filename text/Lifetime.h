#pragma once

#include "Cancellation.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Lets a coroutine that resumes after its owner is gone stop without touching it. The owner keeps a
// Lifetime (declared last among its members, so it ends first); each coroutine takes a Guard before its
// first co_await and calls check() after every one. An owner whose work starts over (a new key, the
// screen shown again) restarts it: the guards of the earlier run end, the new run's live on.
class Lifetime
{
    // One run: whether it goes on, and what its holders undo when the owner restarts it (the owner is
    // still there then, unlike at the end).
    struct Run
    {
        bool alive = true;
        std::vector<std::weak_ptr<const std::function<void()>>> onRestart;
    };

public:
    class Guard
    {
    public:
        bool alive() const { return m_run->alive; }
        // Throws CancellationError when the owner is gone.
        void check() const
        {
            if (!m_run->alive)
                throw CancellationError();
        }
        // Calls `undo` when the owner restarts this guard's run, for as long as the caller keeps it.
        void onRestart(const std::shared_ptr<const std::function<void()>> &undo) const
        {
            std::erase_if(m_run->onRestart, [](const auto &kept) { return kept.expired(); });
            m_run->onRestart.push_back(undo);
        }

    private:
        friend class Lifetime;
        explicit Guard(std::shared_ptr<Run> run)
            : m_run(std::move(run))
        {
        }
        std::shared_ptr<Run> m_run;
    };

    Lifetime() = default;
    Lifetime(const Lifetime &) = delete;
    Lifetime &operator=(const Lifetime &) = delete;
    ~Lifetime() { end(); }

    Guard guard() const { return Guard(m_run); }
    // Ends it early, for an owner whose teardown resumes coroutines (aborting its own replies).
    void end() { m_run->alive = false; }
    // Ends every guard taken so far; guards taken from now on live until the next restart or the end.
    void restart()
    {
        const std::shared_ptr<Run> ended = std::exchange(m_run, std::make_shared<Run>());
        ended->alive = false;
        for (const auto &kept : ended->onRestart) {
            if (const auto undo = kept.lock())
                (*undo)();
        }
    }

private:
    std::shared_ptr<Run> m_run = std::make_shared<Run>();
};
