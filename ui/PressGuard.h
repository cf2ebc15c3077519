#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>

// While a control's work runs it takes no press, by the pointer or by the keys, yet it stays on. Turned off,
// it would lose the keyboard to its page in the middle of the work, and a screen reader would say the page
// between the press and the answer; kept on, the keyboard and its ring stay on the control until the answer
// takes them.
class PressGuard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *target READ target WRITE setTarget NOTIFY targetChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)

public:
    using QObject::QObject;

    QQuickItem *target() const { return m_target; }
    void setTarget(QQuickItem *target);
    bool active() const { return m_active; }
    void setActive(bool active);

    // Whether the event would press a control: a button of the pointer, a touch, Space or Return.
    static bool presses(const QEvent *event);

Q_SIGNALS:
    void targetChanged();
    void activeChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch();

    QPointer<QQuickItem> m_target;
    bool m_active = false;
};
