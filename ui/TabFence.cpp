#include "TabFence.h"

#include <private/qquickitem_p.h>

TabFence::~TabFence() { fence(m_item, false); }

void TabFence::setItem(QQuickItem *item)
{
    if (item == m_item)
        return;
    fence(m_item, false);
    m_item = item;
    fence(m_item, m_active);
    emit itemChanged();
}

void TabFence::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    fence(m_item, m_active);
    emit activeChanged();
}

void TabFence::fence(QQuickItem *item, bool on)
{
    if (item)
        QQuickItemPrivate::get(item)->isTabFence = on;
}
