#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QWindow>

// The desktop's keys for a window's menu bar: Alt pressed and let go on its own, or F10, asks for the menu.
// A key or a click while Alt is held makes it a modifier again (Alt+Tab, Alt and a drag, Alt and a menu's
// letter).
class MenuKeys : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QWindow *window READ window WRITE setWindow NOTIFY windowChanged)

public:
    using QObject::QObject;

    QWindow *window() const { return m_window; }
    void setWindow(QWindow *window);

Q_SIGNALS:
    void windowChanged();
    // The menu bar is asked for.
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWindow> m_window;
    bool m_altAlone = false;
};
