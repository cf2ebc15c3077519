#include "PressGuard.h"

#include <QKeyEvent>

void PressGuard::setTarget(QQuickItem *target)
{
    if (m_target == target)
        return;
    if (m_target)
        m_target->removeEventFilter(this);
    m_target = target;
    watch();
    Q_EMIT targetChanged();
}

void PressGuard::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    watch();
    Q_EMIT activeChanged();
}

void PressGuard::watch()
{
    if (!m_target)
        return;
    // Installed afresh as it becomes active, so it is asked before every other filter of the control (the
    // one that makes Return press it among them): the filter installed last is asked first.
    m_target->removeEventFilter(this);
    if (m_active)
        m_target->installEventFilter(this);
}

bool PressGuard::presses(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        switch (static_cast<const QKeyEvent *>(event)->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Select:
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

bool PressGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_active || watched != m_target || !presses(event))
        return false;
    // Taken here, so that it reaches neither the control nor what lies behind it.
    event->accept();
    return true;
}
