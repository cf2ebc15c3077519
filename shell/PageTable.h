#pragma once

#include "MemberNavigation.h"

#include <QObject>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlListProperty>

// One row of the page table: a page and the component of its screen. The component's root takes the
// member's objects as required properties (appState, memberData, navigation); a page pushed on a stack
// also takes `route`, the pageRoute it shows.
class PageRow : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ShellPages::Page page MEMBER m_page NOTIFY pageChanged)
    Q_PROPERTY(QQmlComponent *component MEMBER m_component NOTIFY componentChanged)
    Q_CLASSINFO("DefaultProperty", "component")

public:
    using QObject::QObject;

    ShellPage page() const { return m_page; }
    QQmlComponent *component() const { return m_component; }

Q_SIGNALS:
    void pageChanged();
    void componentChanged();

private:
    ShellPage m_page = ShellPage::NoPage;
    QPointer<QQmlComponent> m_component;
};

// Every page the shell shows, one row each: a new screen is its ShellPage value and one row here.
class PageTable : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQmlListProperty<PageRow> rows READ rows CONSTANT)
    Q_CLASSINFO("DefaultProperty", "rows")

public:
    using QObject::QObject;

    QQmlListProperty<PageRow> rows();
    // The component of a page, or none when no row names it.
    Q_INVOKABLE QQmlComponent *component(ShellPages::Page page) const;

private:
    QList<PageRow *> m_rows;
};
