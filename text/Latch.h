#pragma once

#include <QObject>

#include <QCoro/QCoroSignal>
#include <QCoro/QCoroTask>

#include <memory>

// Tells the waiters of a latch that it has opened.
class LatchSignal : public QObject
{
    Q_OBJECT

Q_SIGNALS:
    void opened();
};

// Lets one piece of work wait for another that is under way, without holding that one up: the running
// work keeps the latch closed for as long as it keeps the Hold it took (every way out of it lets go), and
// `opened()` returns once no hold is kept, at once when none is. The state lives as long as a hold or a
// waiter does, so the waiters resume even when the latch's owner went away meanwhile (they check their
// own guard then).
//
//     const Latch::Hold asking = m_liveAnswer.close();   // in the work others wait for
//     co_await m_liveAnswer.opened();                      // in the work that waits
class Latch
{
    struct State
    {
        LatchSignal signal;
        int holds = 0;
    };

public:
    class Hold
    {
    public:
        Hold(Hold &&other) noexcept = default;
        Hold &operator=(Hold &&) = delete;
        ~Hold()
        {
            if (m_state && --m_state->holds == 0)
                Q_EMIT m_state->signal.opened();
        }

    private:
        friend class Latch;
        explicit Hold(std::shared_ptr<State> state)
            : m_state(std::move(state))
        {
            ++m_state->holds;
        }
        std::shared_ptr<State> m_state;
    };

    Latch() = default;
    Latch(const Latch &) = delete;
    Latch &operator=(const Latch &) = delete;

    Hold close() const { return Hold(m_state); }
    bool isOpen() const { return m_state->holds == 0; }

    QCoro::Task<> opened() const
    {
        const std::shared_ptr<State> state = m_state;
        while (state->holds > 0)
            co_await qCoro(&state->signal, &LatchSignal::opened);
    }

private:
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
