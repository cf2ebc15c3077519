#include "ReloadSchedule.h"

#include <QGuiApplication>

ReloadSchedule::ReloadSchedule(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    // No slack: a minute means a minute.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReloadSchedule::waitEnded);
    if (qGuiApp)
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                &ReloadSchedule::applicationStateChanged);
}

Qt::ApplicationState ReloadSchedule::applicationState() const
{
    return qGuiApp ? QGuiApplication::applicationState() : Qt::ApplicationActive;
}

void ReloadSchedule::startWait(std::chrono::milliseconds interval) { m_timer.start(interval); }

void ReloadSchedule::stopWait() { m_timer.stop(); }
