#include "ListKeys.h"

#include <QKeyEvent>

void ListKeys::setView(QQuickItem *view)
{
    if (m_view == view)
        return;
    if (m_view) {
        m_view->removeEventFilter(this);
        m_view->disconnect(this);
    }
    m_view = view;
    m_keyboard = false;
    if (m_view) {
        m_view->installEventFilter(this);
        connect(m_view, SIGNAL(currentItemChanged()), this, SLOT(currentChanged()));
        connect(m_view, &QQuickItem::windowChanged, this, &ListKeys::follow);
    }
    follow(m_view ? m_view->window() : nullptr);
    Q_EMIT viewChanged();
}

void ListKeys::enter()
{
    if (!m_view || m_view->property("count").toInt() == 0)
        return;
    m_keyboard = true;
    if (m_view->property("currentIndex").toInt() < 0)
        m_view->setProperty("currentIndex", 0);
    if (auto *row = m_view->property("currentItem").value<QQuickItem *>())
        ring(row);
}

void ListKeys::follow(QQuickWindow *window)
{
    if (m_window == window)
        return;
    if (m_window) {
        m_window->removeEventFilter(this);
        m_window->disconnect(this);
    }
    m_window = window;
    if (m_window) {
        m_window->installEventFilter(this);
        connect(m_window, &QQuickWindow::activeFocusItemChanged, this, &ListKeys::focusChanged);
    }
}

bool ListKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::MouseButtonPress)
        m_keyboard = false;
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        // The list moves its current row on the way out of here; the row it moves to is shown as the
        // keyboard's.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down)
            m_keyboard = true;
    }
    return QObject::eventFilter(watched, event);
}

void ListKeys::currentChanged()
{
    auto *row = m_view ? m_view->property("currentItem").value<QQuickItem *>() : nullptr;
    if (row && m_keyboard && holdsKeyboard())
        ring(row);
}

void ListKeys::focusChanged()
{
    QQuickItem *row = holdsKeyboard() ? rowOf(m_window->activeFocusItem()) : nullptr;
    if (!row)
        return;
    // Tab means the keyboard, a press the pointer. The list giving the focus to a row by itself, as its
    // current row goes, or a closing menu giving it back, says neither.
    switch (row->property("focusReason").toInt()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        m_keyboard = true;
        break;
    case Qt::MouseFocusReason:
        m_keyboard = false;
        break;
    default:
        break;
    }
    // The arrows go on from here. The list's own current row is where they are already: one it has just made
    // may not stand in its place yet.
    if (row == m_view->property("currentItem").value<QQuickItem *>())
        return;
    const QPointF centre = row->mapToItem(m_view->property("contentItem").value<QQuickItem *>(),
                                          QPointF(row->width() / 2, row->height() / 2));
    int index = -1;
    QMetaObject::invokeMethod(m_view, "indexAt", Q_RETURN_ARG(int, index), Q_ARG(qreal, centre.x()),
                              Q_ARG(qreal, centre.y()));
    if (index >= 0 && index != m_view->property("currentIndex").toInt())
        m_view->setProperty("currentIndex", index);
}

QQuickItem *ListKeys::rowOf(QQuickItem *item) const
{
    const auto *content = m_view ? m_view->property("contentItem").value<QQuickItem *>() : nullptr;
    while (item && item->parentItem() != content)
        item = item->parentItem();
    return content ? item : nullptr;
}

bool ListKeys::holdsKeyboard() const
{
    QQuickItem *focused = m_window ? m_window->activeFocusItem() : nullptr;
    return focused && m_view && (focused == m_view || m_view->isAncestorOf(focused));
}

void ListKeys::ring(QQuickItem *row) const
{
    row->forceActiveFocus(Qt::TabFocusReason);
    // A control draws its ring by the reason it last got the focus for, and one that already had the focus
    // gets no new reason from the call above.
    if (row->metaObject()->indexOfProperty("focusReason") >= 0)
        row->setProperty("focusReason", int(Qt::TabFocusReason));
}
