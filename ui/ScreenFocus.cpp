#include "ScreenFocus.h"

#include <QQuickWindow>

void ScreenFocus::setScreen(QQuickItem *screen)
{
    if (m_screen == screen)
        return;
    m_screen = screen;
    Q_EMIT screenChanged();
}

void ScreenFocus::setOpen(bool open)
{
    if (m_open == open)
        return;
    m_open = open;
    Q_EMIT openChanged();
    if (open) {
        if (!m_taken)
            opening();
        m_taken = false;
    }
    // Once what opens it has laid it out, or what closes it has handed the focus back its own way.
    QMetaObject::invokeMethod(
        this, [this, open] { open ? opened() : closed(); }, Qt::QueuedConnection);
}

QQuickItem *ScreenFocus::showing() const
{
    // A popup's own items are hidden once it has closed.
    for (QObject *above = parent(); above; above = above->parent()) {
        auto *item = qobject_cast<QQuickItem *>(above);
        if (item && item->isVisible() && !(m_screen && (item == m_screen || m_screen->isAncestorOf(item))))
            return item;
    }
    return nullptr;
}

QQuickWindow *ScreenFocus::window() const
{
    if (m_screen && m_screen->window())
        return m_screen->window();
    QQuickItem *below = showing();
    return below ? below->window() : nullptr;
}

void ScreenFocus::opening()
{
    m_origin = ComponentRules::focusOrigin(window());
    m_taken = true;
}

void ScreenFocus::opened() { ComponentRules::focusPage(m_screen); }

void ScreenFocus::closed()
{
    ComponentRules::focusBack(m_origin, showing(), window());
    m_origin = {};
}
