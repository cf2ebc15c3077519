#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>

// Keeps Tab and Shift+Tab inside a panel while it is open, as a dialog keeps them: from its last control Tab
// goes round to its first, and nothing behind it is reached until it closes (Escape, or its own button).
class TabFence : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *item READ item WRITE setItem NOTIFY itemChanged)
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)

public:
    using QObject::QObject;
    ~TabFence() override;

    QQuickItem *item() const { return m_item; }
    void setItem(QQuickItem *item);
    bool isActive() const { return m_active; }
    void setActive(bool active);

Q_SIGNALS:
    void itemChanged();
    void activeChanged();

private:
    void fence(QQuickItem *item, bool on);

    QPointer<QQuickItem> m_item;
    bool m_active = true;
};
