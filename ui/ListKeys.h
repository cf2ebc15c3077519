#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

// The keyboard in a list whose rows take the focus. The row that has the focus is the list's current row, so
// the arrows go on from the row Tab reached; the row they move to takes the focus with its ring, as Tab would
// give it, so that Return presses the row the member sees; and a row that goes while the keyboard is on it
// (a notice marked read) hands the keyboard, ring and all, to the row taking its place. A pointer pressed in
// the window puts the rings away again.
class ListKeys : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // The list: a ListView, whose `currentIndex`, `currentItem` and `count` are read.
    Q_PROPERTY(QQuickItem *view READ view WRITE setView NOTIFY viewChanged)

public:
    using QObject::QObject;

    QQuickItem *view() const { return m_view; }
    void setView(QQuickItem *view);

    // The keyboard comes into the list from outside (the search field's Down): onto its current row, the
    // first when there is none, with its ring.
    Q_INVOKABLE void enter();

Q_SIGNALS:
    void viewChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void currentChanged();

private:
    void follow(QQuickWindow *window);
    void focusChanged();
    // The row of the list an item is, or is in; none for the list itself and for items outside it.
    QQuickItem *rowOf(QQuickItem *item) const;
    bool holdsKeyboard() const;
    void ring(QQuickItem *row) const;

    QPointer<QQuickItem> m_view;
    QPointer<QQuickWindow> m_window;
    // The member was last on the keyboard in this list: a row had its ring, or an arrow moved the current
    // row. A pointer pressed in the window says otherwise.
    bool m_keyboard = false;
};
