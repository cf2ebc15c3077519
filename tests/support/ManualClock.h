#pragma once

// A live-map clock that moves only when the test moves it, so thirty seconds of polling or fifteen minutes of
// idling pass at once.
#include "LiveMapClock.h"

#include <QTimeZone>

#include <algorithm>
#include <memory>
#include <vector>

namespace TestSupport {

class ManualClock : public LiveMapClock
{
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC))
        : m_now(std::move(start))
    {
    }

    QDateTime now() const override { return m_now; }

    std::unique_ptr<Alarm> after(std::chrono::milliseconds delay, std::function<void()> ring) override
    {
        auto armed = std::make_shared<bool>(true);
        m_alarms.push_back({m_now.addMSecs(delay.count()), m_next++, std::move(ring), armed});
        return std::make_unique<Handle>(armed);
    }

    // Moves the time on, ringing every alarm that falls due on the way, earliest first, each at its time.
    void advance(std::chrono::milliseconds by)
    {
        const QDateTime end = m_now.addMSecs(by.count());
        for (;;) {
            std::erase_if(m_alarms, [](const Pending &p) { return !*p.armed; });
            const auto due =
                std::min_element(m_alarms.begin(), m_alarms.end(), [](const Pending &a, const Pending &b) {
                    return a.at != b.at ? a.at < b.at : a.order < b.order;
                });
            if (due == m_alarms.end() || due->at > end)
                break;
            Pending ringing = std::move(*due);
            m_alarms.erase(due);
            m_now = ringing.at;
            if (*ringing.armed) {
                *ringing.armed = false;
                ringing.ring();
            }
        }
        m_now = end;
    }

    // Alarms still set.
    int pending() const
    {
        return int(
            std::count_if(m_alarms.begin(), m_alarms.end(), [](const Pending &p) { return *p.armed; }));
    }

private:
    struct Handle : Alarm
    {
        explicit Handle(std::shared_ptr<bool> armed)
            : armed(std::move(armed))
        {
        }
        ~Handle() override { *armed = false; }
        std::shared_ptr<bool> armed;
    };
    struct Pending
    {
        QDateTime at;
        quint64 order;
        std::function<void()> ring;
        std::shared_ptr<bool> armed;
    };

    QDateTime m_now;
    quint64 m_next = 0;
    std::vector<Pending> m_alarms;
};

} // namespace TestSupport
