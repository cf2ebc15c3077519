#include "PageStackModel.h"

#include "ViewRules.h"

#include <QQuickWindow>

using ComponentRules::focusPage;

void PageStackModel::setNavigation(MemberNavigation *navigation)
{
    if (m_navigation == navigation)
        return;
    if (m_navigation)
        m_navigation->disconnect(this);
    m_navigation = navigation;
    if (m_navigation) {
        connect(m_navigation, &MemberNavigation::pathChanged, this, &PageStackModel::sync);
        connect(m_navigation, &MemberNavigation::memberChanged, this, &PageStackModel::updateRoot);
    }
    updateRoot();
    Q_EMIT navigationChanged();
}

void PageStackModel::setTab(MemberTab tab)
{
    if (m_tab == tab)
        return;
    m_tab = tab;
    Q_EMIT tabChanged();
    updateRoot();
}

void PageStackModel::setStack(NavigationStack stack)
{
    if (m_stack == stack)
        return;
    m_stack = stack;
    Q_EMIT tabChanged();
    sync();
}

void PageStackModel::setOwnRoot(ShellPage page)
{
    if (m_ownRoot == page)
        return;
    m_ownRoot = page;
    updateRoot();
}

void PageStackModel::updateRoot()
{
    const ShellPage root = m_ownRoot != ShellPage::NoPage ? m_ownRoot
                           : m_navigation                 ? m_navigation->rootPageOf(m_tab)
                                                          : ShellPage::NoPage;
    if (root == m_rootPage)
        return;
    m_rootPage = root;
    Q_EMIT rootPageChanged();
}

void PageStackModel::showRoot(QQuickItem *root)
{
    popTo(0);
    m_pages.append({root, nullptr, false});
    m_shown.clear();
    Q_EMIT countChanged();
    // Where the keyboard is nowhere, as when the sign-in form that had it has gone, the first page takes it;
    // a sidebar row that chose the tab keeps it.
    QQuickWindow *window = root ? root->window() : nullptr;
    if (window && root->isVisible()
        && (!window->activeFocusItem() || window->activeFocusItem() == window->contentItem()))
        focusPage(root);
    sync();
}

void PageStackModel::sync()
{
    if (m_pages.isEmpty() || !m_navigation)
        return;
    const QList<Destination> now = m_navigation->path(stack());
    // How many routes, from the bottom, the pages already show as they are.
    qsizetype kept = 0;
    while (kept < m_shown.size() && kept < now.size() && m_shown.at(kept) == now.at(kept))
        ++kept;
    m_shown = now;
    popTo(kept + 1);
    for (qsizetype index = kept; index < now.size(); ++index)
        Q_EMIT push(m_navigation->routeAt(stack(), int(index)));
}

void PageStackModel::place(QQuickItem *page)
{
    if (!page)
        return;
    QQuickItem *below = top();
    QQuickItem *focused = page->window() ? page->window()->activeFocusItem() : nullptr;
    m_pages.append({page, focused, focused && focused->property("visualFocus").toBool()});
    if (below)
        below->setVisible(false);
    page->setVisible(true);
    Q_EMIT countChanged();
    // The keyboard goes on in the new page, not at the top of the sidebar.
    if (page->isVisible())
        focusPage(page);
}

void PageStackModel::clear()
{
    popTo(0);
    m_shown.clear();
}

void PageStackModel::popTo(qsizetype count)
{
    if (m_pages.size() <= count)
        return;
    const Shown lowest = m_pages.at(count);
    while (m_pages.size() > count) {
        const Shown popped = m_pages.takeLast();
        if (popped.page) {
            popped.page->setVisible(false);
            popped.page->deleteLater();
        }
    }
    QQuickItem *now = top();
    if (now)
        now->setVisible(true);
    Q_EMIT countChanged();

    // The focus goes back where the first page popped was pushed from, with its ring when the keyboard
    // had it there; else into the page now on top. Neither when this tab is not the one showing.
    if (lowest.pushedFrom && lowest.pushedFrom->isVisible()) {
        const Qt::FocusReason reason = lowest.keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason;
        lowest.pushedFrom->forceActiveFocus(reason);
        // A control draws its ring by the reason it last got the focus for.
        if (lowest.pushedFrom->metaObject()->indexOfProperty("focusReason") >= 0)
            lowest.pushedFrom->setProperty("focusReason", reason);
    } else if (now && now->isVisible()) {
        focusPage(now);
    }
}
