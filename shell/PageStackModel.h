#pragma once

#include "MemberNavigation.h"
#include "ViewRules.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>

#include <variant>

// The pages of one tab: its root page and, above it, one page per route of the tab's path. A stack that is
// no tab's own (the logbook sheet's) names its stack and its root page instead; the tab is then unused. When
// the path changes it keeps every page whose route, and every route below it, stayed the same, destroys the
// pages above them and asks its view to make the rest. Only the top page shows; a page under another stays as
// it was. The focus goes into a page pushed, and back to the control it was pushed from when it is popped.
// A page whose root has a `pageBusy` property says through it when it is busy, and keeps its place while it
// is (MemberNavigation::setBusy); through `pageSending`, when what it works on is on its way to the service.
class PageStackModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        MemberNavigation *navigation READ navigation WRITE setNavigation NOTIFY navigationChanged REQUIRED)
    Q_PROPERTY(MemberTabs::Tab tab READ tab WRITE setTab NOTIFY tabChanged REQUIRED)
    Q_PROPERTY(ShellPages::Page rootPage READ rootPage NOTIFY rootPageChanged)
    // The stack followed: the tab's own, unless one is set here (then with its own root page).
    Q_PROPERTY(NavigationStacks::Stack stack READ stack WRITE setStack NOTIFY tabChanged)
    Q_PROPERTY(ShellPages::Page ownRoot READ ownRoot WRITE setOwnRoot NOTIFY rootPageChanged)
    // The pages shown, the root included: 0 until the view has shown its root.
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(QQuickItem *top READ top NOTIFY countChanged)
    // A page of the stack is busy: the stack keeps it (a sheet that shows it stays open).
    Q_PROPERTY(bool held READ held NOTIFY heldChanged)

public:
    using QObject::QObject;

    MemberNavigation *navigation() const { return m_navigation; }
    void setNavigation(MemberNavigation *navigation);
    MemberTab tab() const { return m_tab; }
    void setTab(MemberTab tab);
    ShellPage rootPage() const { return m_rootPage; }
    NavigationStack stack() const
    {
        return m_stack != NavigationStack::NoStack ? m_stack : MemberNavigation::stackOf(m_tab);
    }
    void setStack(NavigationStack stack);
    ShellPage ownRoot() const { return m_ownRoot; }
    void setOwnRoot(ShellPage page);
    int count() const { return int(m_pages.size()); }
    QQuickItem *top() const { return m_pages.isEmpty() ? nullptr : m_pages.last().page.data(); }
    bool held() const { return m_navigation && m_navigation->held(stack()); }

    // The view made the root page: it replaces every page there was, and the path is pushed above it.
    Q_INVOKABLE void showRoot(QQuickItem *root);
    // The view made the page asked for by push(): it goes on top.
    Q_INVOKABLE void place(QQuickItem *page);
    // Every page goes, the root too: a sheet's pages are made afresh at its next opening.
    Q_INVOKABLE void clear();

Q_SIGNALS:
    void navigationChanged();
    void tabChanged();
    void rootPageChanged();
    void countChanged();
    void heldChanged();
    // Make the page of that route and place() it.
    void push(const PageRoute &route);

private Q_SLOTS:
    // A page's `pageBusy` or `pageSending` changed.
    void followBusy();

private:
    // Tells the navigation whether the page at this place is busy, and sending.
    void reportBusy(qsizetype place);
    void updateRoot();
    void sync();
    void popTo(qsizetype count);

    struct Shown
    {
        QPointer<QQuickItem> page;
        // The control that had the focus when this page was pushed.
        ComponentRules::FocusOrigin pushedFrom;
    };

    QPointer<MemberNavigation> m_navigation;
    MemberTab m_tab = MemberTab::Home;
    NavigationStack m_stack = NavigationStack::NoStack;
    ShellPage m_ownRoot = ShellPage::NoPage;
    ShellPage m_rootPage = ShellPage::NoPage;
    // The path as the pages above the root show it.
    QList<Destination> m_shown;
    QList<Shown> m_pages;
    // Where the keyboard was as the pages being pushed were asked for.
    ComponentRules::FocusOrigin m_pushedFrom;
};
