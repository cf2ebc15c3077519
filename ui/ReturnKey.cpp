#include "ReturnKey.h"

#include <QCoreApplication>
#include <QKeyEvent>

void ReturnKey::setTarget(QQuickItem *target)
{
    if (m_target == target)
        return;
    if (m_target)
        m_target->removeEventFilter(this);
    m_target = target;
    if (m_target)
        m_target->installEventFilter(this);
    Q_EMIT targetChanged();
}

bool ReturnKey::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_target || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Enter comes from the keypad; any other modifier leaves the key to whoever wants it.
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || modifiers != Qt::NoModifier)
        return false;
    // The control treats it as the key it already knows, so it is pressed and clicked the same way.
    QKeyEvent space(event->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), key->isAutoRepeat());
    QCoreApplication::sendEvent(m_target, &space);
    if (!space.isAccepted())
        return false;
    event->accept();
    return true;
}
