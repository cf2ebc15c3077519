#include "FailureFocus.h"

#include "ViewRules.h"

#include <QAccessible>
#include <QMetaProperty>
#include <QQuickWindow>

#include <algorithm>

namespace {

// The page a notice stands in: the nearest page or dialog a screen reader names, else the popup around it,
// else the window's content.
QQuickItem *pageAround(QQuickItem *notice)
{
    for (QQuickItem *above = notice->parentItem(); above; above = above->parentItem()) {
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(above);
        if (heard && (heard->role() == QAccessible::Pane || heard->role() == QAccessible::Dialog)
            && ComponentRules::heard(above))
            return above;
    }
    if (QQuickItem *popupItem = ComponentRules::popupAround(notice))
        return popupItem;
    return notice->window() ? notice->window()->contentItem() : nullptr;
}

} // namespace

FailureFocus::FailureFocus(QObject *parent)
    : QObject(parent)
{
    // A window that draws no frame (hidden, or nothing changed) has it placed after a moment.
    m_late.setSingleShot(true);
    m_late.setInterval(500);
    connect(&m_late, &QTimer::timeout, this, &FailureFocus::placed);
}

void FailureFocus::setNotice(QQuickItem *notice)
{
    if (m_notice == notice)
        return;
    QObject::disconnect(m_visible);
    m_notice = notice;
    if (m_notice)
        m_visible = connect(m_notice, &QQuickItem::visibleChanged, this, &FailureFocus::hidden);
    Q_EMIT noticeChanged();
}

void FailureFocus::setFailures(int failures)
{
    if (m_failures == failures)
        return;
    m_failures = failures;
    Q_EMIT failuresChanged();
    if (m_complete)
        present();
}

void FailureFocus::present()
{
    if (!m_notice)
        return;
    m_pending = true;
    QObject::disconnect(m_frame);
    QObject::disconnect(m_enabled);
    if (QQuickWindow *window = m_notice->window()) {
        m_frame = connect(window, &QQuickWindow::afterAnimating, this, &FailureFocus::placed);
        window->update();
    }
    m_late.start();
}

void FailureFocus::placed()
{
    QObject::disconnect(m_frame);
    m_late.stop();
    if (!m_pending || !m_notice)
        return;
    if (!m_notice->isVisible()) {
        m_pending = false;
        return;
    }
    reveal(m_notice);
    takeKeyboard();
}

void FailureFocus::takeKeyboard()
{
    QObject::disconnect(m_enabled);
    // Off while its form works, or in a page that holds the keyboard while what it sends is on its way: once
    // the form is on again.
    if (!m_notice->isEnabled()) {
        m_enabled = connect(m_notice, &QQuickItem::enabledChanged, this, &FailureFocus::retake);
        return;
    }
    if (QQuickItem *page = ComponentRules::workingPage(m_notice)) {
        const QMetaObject *type = page->metaObject();
        const QMetaProperty busy = type->property(type->indexOfProperty("pageBusy"));
        m_enabled = connect(page, busy.notifySignal(), this,
                            metaObject()->method(metaObject()->indexOfSlot("retake()")));
        return;
    }
    m_pending = false;
    m_justPresented = true;
    QTimer::singleShot(0, this, [this] { m_justPresented = false; });
    m_notice->forceActiveFocus(Qt::OtherFocusReason);
}

void FailureFocus::retake()
{
    if (m_notice && m_notice->isEnabled() && !ComponentRules::workingPage(m_notice))
        placed();
}

void FailureFocus::hidden()
{
    if (!m_notice || m_notice->isVisible())
        return;
    m_pending = false;
    QObject::disconnect(m_enabled);
    // A page that goes takes its notice with it: whatever shows next places the keyboard itself.
    QQuickItem *around = m_notice->parentItem();
    if (!around || !around->isVisible())
        return;
    QQuickWindow *window = m_notice->window();
    QQuickItem *now = window ? window->activeFocusItem() : nullptr;
    if (!now || (now != m_notice && !m_notice->isAncestorOf(now)))
        return;
    // A hidden item keeps the keyboard, and Tab from it goes to the top of the window.
    ComponentRules::focusPage(pageAround(m_notice), now->property("visualFocus").toBool()
                                                        ? Qt::TabFocusReason
                                                        : Qt::OtherFocusReason);
}

bool FailureFocus::presenting(const QQuickItem *notice)
{
    const QList<FailureFocus *> presenters = notice->findChildren<FailureFocus *>(Qt::FindDirectChildrenOnly);
    return std::any_of(presenters.cbegin(), presenters.cend(), [notice](const FailureFocus *presenter) {
        return presenter->m_notice == notice && (presenter->m_pending || presenter->m_justPresented);
    });
}

void FailureFocus::reveal(QQuickItem *item, double margin)
{
    for (QQuickItem *above = item ? item->parentItem() : nullptr; above; above = above->parentItem()) {
        if (above->inherits("QQuickFlickable"))
            ComponentRules::revealIn(above, item, margin);
    }
}
