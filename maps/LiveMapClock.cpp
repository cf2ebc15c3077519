#include "LiveMapClock.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

class TimerAlarm : public LiveMapClock::Alarm
{
public:
    // The timer belongs to the application, so one still waiting to be deleted when the application ends goes
    // with it.
    TimerAlarm(std::chrono::milliseconds delay, std::function<void()> ring)
        : m_timer(new QTimer(QCoreApplication::instance()))
    {
        m_timer->setSingleShot(true);
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer, &QTimer::timeout, std::move(ring));
        m_timer->start(delay);
    }
    // Dropped from inside its own ring, too: the timer goes once its signal is over.
    ~TimerAlarm() override
    {
        m_timer->stop();
        m_timer->disconnect();
        m_timer->deleteLater();
    }

private:
    QTimer *m_timer;
};

class SystemClock : public LiveMapClock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    std::unique_ptr<Alarm> after(std::chrono::milliseconds delay, std::function<void()> ring) override
    {
        return std::make_unique<TimerAlarm>(delay, std::move(ring));
    }
};

} // namespace

std::shared_ptr<LiveMapClock> LiveMapClock::system()
{
    static const std::shared_ptr<LiveMapClock> clock = std::make_shared<SystemClock>();
    return clock;
}

void Sleep::State::end(bool rangNow)
{
    if (ended)
        return;
    ended = true;
    rang = rangNow;
    // The alarm may be what called here: it goes once the waiter has run, not under its own feet.
    const std::unique_ptr<LiveMapClock::Alarm> done = std::move(alarm);
    if (const std::coroutine_handle<> resumed = std::exchange(waiter, {}))
        resumed.resume();
}

Sleep::Sleep(LiveMapClock &clock, std::chrono::milliseconds delay, const Lifetime::Guard &run)
    : m_state(std::make_shared<State>())
{
    if (!run.alive()) {
        m_state->ended = true;
        return;
    }
    const std::weak_ptr<State> weak = m_state;
    m_state->cancel = std::make_shared<const std::function<void()>>([weak] {
        if (const auto state = weak.lock())
            state->end(false);
    });
    run.onRestart(m_state->cancel);
    m_state->alarm = clock.after(delay, [weak] {
        if (const auto state = weak.lock())
            state->end(true);
    });
}

void Sleep::await_suspend(std::coroutine_handle<> waiter) { m_state->waiter = waiter; }
