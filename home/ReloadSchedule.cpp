#include "ReloadSchedule.h"

#include "ApplicationPhase.h"

ReloadSchedule::ReloadSchedule(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    // No slack: a minute means a minute.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReloadSchedule::waitEnded);
    ApplicationPhase::follow(this,
                             [this](Qt::ApplicationState state) { Q_EMIT applicationStateChanged(state); });
}

Qt::ApplicationState ReloadSchedule::applicationState() const { return ApplicationPhase::state(); }

void ReloadSchedule::startWait(std::chrono::milliseconds interval) { m_timer.start(interval); }

void ReloadSchedule::stopWait() { m_timer.stop(); }
