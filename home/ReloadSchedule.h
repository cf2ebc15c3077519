#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

// What the inbox's periodic reload waits on: a single wait on the monotonic clock, and the application's
// state. The app uses the real clock and the real application; tests hand in one they drive themselves.
class ReloadSchedule : public QObject
{
    Q_OBJECT

public:
    explicit ReloadSchedule(QObject *parent = nullptr);

    virtual Qt::ApplicationState applicationState() const;
    // Starts one wait, in place of any running one.
    virtual void startWait(std::chrono::milliseconds interval);
    virtual void stopWait();

Q_SIGNALS:
    void waitEnded();
    // Only real changes; the state at start is not one.
    void applicationStateChanged(Qt::ApplicationState state);

private:
    QTimer m_timer;
};
