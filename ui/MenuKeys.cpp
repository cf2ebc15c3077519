#include "MenuKeys.h"

#include <QKeyEvent>

void MenuKeys::setWindow(QWindow *window)
{
    if (m_window == window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    m_altAlone = false;
    if (m_window)
        m_window->installEventFilter(this);
    Q_EMIT windowChanged();
}

bool MenuKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            break;
        // Desktops differ on whether Alt's own press already carries the Alt modifier.
        m_altAlone = key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
            Q_EMIT activated();
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride:
        // A key that a shortcut takes (a menu's letter, Alt+V) never reaches the window as a key press, but
        // still makes Alt a modifier: letting Alt go then must not close the menu it just opened.
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Alt)
            m_altAlone = false;
        break;
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Alt && m_altAlone && !key->isAutoRepeat()) {
            m_altAlone = false;
            Q_EMIT activated();
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::FocusOut:
        m_altAlone = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
