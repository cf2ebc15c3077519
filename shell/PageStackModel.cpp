#include "PageStackModel.h"

#include "ViewRules.h"

#include <QQmlProperty>
#include <QQuickWindow>

using ComponentRules::focusBack;
using ComponentRules::focusOrigin;
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
        connect(m_navigation, &MemberNavigation::heldChanged, this, [this](NavigationStack stack) {
            if (stack == this->stack())
                Q_EMIT heldChanged();
        });
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
    Q_EMIT heldChanged();
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
    m_pages.append(Shown{root, {}});
    m_shown.clear();
    Q_EMIT countChanged();
    // Where the keyboard is on nothing named, as when the sign-in form that had it has gone, the first page
    // takes it; a sidebar row that chose the tab keeps it.
    QQuickWindow *window = root ? root->window() : nullptr;
    if (window && root->isVisible() && !ComponentRules::heard(window->activeFocusItem()))
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
    // Where the keyboard is before the pages are made: one that takes it as it is made (the review's back
    // button) is not its own way back.
    const QQuickItem *below = top();
    m_pushedFrom = below && kept < now.size() ? focusOrigin(below->window()) : ComponentRules::FocusOrigin{};
    for (qsizetype index = kept; index < now.size(); ++index)
        Q_EMIT push(m_navigation->routeAt(stack(), int(index)));
}

void PageStackModel::place(QQuickItem *page)
{
    if (!page)
        return;
    QQuickItem *below = top();
    m_pages.append(Shown{page, m_pushedFrom});
    for (const QString &state : {QStringLiteral("pageBusy"), QStringLiteral("pageSending")}) {
        const QQmlProperty followed(page, state);
        if (followed.isValid())
            followed.connectNotifySignal(this, SLOT(followBusy()));
    }
    reportBusy(m_pages.size() - 1);
    if (below)
        below->setVisible(false);
    page->setVisible(true);
    Q_EMIT countChanged();
    // The keyboard goes on in the new page, not at the top of the sidebar; on a tab that shows only now (a
    // page opened from another tab, or from the account popover), as the tab shows, unless the member has
    // put it on another control since (the sidebar's rows, walking the tabs).
    if (page->isVisible()) {
        focusPage(page);
        return;
    }
    QPointer<QQuickItem> shown = page;
    const QPointer<QQuickItem> pushedFrom = m_pushedFrom.item;
    connect(
        page, &QQuickItem::visibleChanged, this,
        [shown, pushedFrom] {
            QQuickWindow *window = shown ? shown->window() : nullptr;
            QQuickItem *now = window ? window->activeFocusItem() : nullptr;
            if (window && (now == pushedFrom || !ComponentRules::heard(now)))
                focusPage(shown);
        },
        Qt::SingleShotConnection);
}

void PageStackModel::followBusy()
{
    for (qsizetype place = 1; place < m_pages.size(); ++place) {
        QQuickItem *page = m_pages.at(place).page;
        if (!page || page != sender())
            continue;
        reportBusy(place);
        if (QQmlProperty::read(page, QStringLiteral("pageBusy")).toBool())
            ComponentRules::workStarted(page);
    }
}

void PageStackModel::reportBusy(qsizetype place)
{
    // The root is at place 0; the route of the page at a place above it is one below.
    QQuickItem *page = m_pages.at(place).page;
    if (!m_navigation || place == 0 || !page)
        return;
    const PageRoute route = m_navigation->routeAt(stack(), int(place - 1));
    m_navigation->setBusy(route, QQmlProperty::read(page, QStringLiteral("pageBusy")).toBool());
    m_navigation->setSending(route, QQmlProperty::read(page, QStringLiteral("pageSending")).toBool());
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
        // A page that goes is busy no more, whatever route stands at its place now.
        if (m_navigation && m_pages.size() > 1) {
            const PageRoute place{stack(), int(m_pages.size() - 2), ShellPage::NoPage};
            m_navigation->setBusy(place, false);
            m_navigation->setSending(place, false);
        }
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

    // The focus goes back where the first page popped was pushed from, when that stands on the page now on
    // top, else into that page: a screen reader presses without moving the keyboard, which may have stayed on
    // the sidebar as the page opened. Neither when this tab is not the one showing.
    if (now && now->isVisible()) {
        const ComponentRules::FocusOrigin &from = lowest.pushedFrom;
        const bool onPage = from.item && (from.item == now || now->isAncestorOf(from.item));
        focusBack(onPage ? from : ComponentRules::FocusOrigin{}, now, now->window());
    }
}
