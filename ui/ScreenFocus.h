#pragma once

#include "ViewRules.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>

// The keyboard of a screen that a view opens and closes itself (a sheet, an alert, a menu, a panel): while
// `open` holds the screen takes it, and once `open` falls it goes back to the control that had it before
// (ComponentRules::focusPage and focusBack). A popup is taken as open while it is visible: its own hand-back
// of the focus, at the end of its closing, has run by then.
//
// A screen in a modal popup keeps the keyboard while it is the one on top: a control behind it that takes
// the keyboard (an answer arriving, a page moving on) has it taken back into the screen, and is where the
// keyboard goes once the screen has closed.
class ScreenFocus : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *screen READ screen WRITE setScreen NOTIFY screenChanged)
    Q_PROPERTY(bool open READ isOpen WRITE setOpen NOTIFY openChanged)
    // Whether the keyboard is put into the screen as it opens; a screen that places it itself (Qt's file
    // dialog on its list) does without.
    Q_PROPERTY(bool placesKeyboard MEMBER m_placesKeyboard NOTIFY placesKeyboardChanged)
    // Whether closing gives the keyboard back. False once what the screen stands over has gone with it (the
    // sign-in form, signed in from its saved accounts): the screen that came in its place takes the keyboard
    // as it comes, as it does after the form alone.
    Q_PROPERTY(bool handsBack READ handsBack WRITE setHandsBack NOTIFY handsBackChanged)

public:
    using QObject::QObject;
    ~ScreenFocus() override;

    QQuickItem *screen() const { return m_screen; }
    void setScreen(QQuickItem *screen);
    bool isOpen() const { return m_open; }
    void setOpen(bool open);
    bool handsBack() const { return m_handsBack; }
    void setHandsBack(bool handsBack);

    // Where the keyboard is now is where it goes back to: before a screen opens that `open` does not follow.
    Q_INVOKABLE void opening();
    // The screen opens in place of another that closes as it opens (a pick in a list that the list's screen
    // hands on): the keyboard goes back where that one's would have.
    Q_INVOKABLE void openingInPlaceOf(ScreenFocus *other);

Q_SIGNALS:
    void screenChanged();
    void openChanged();
    void placesKeyboardChanged();
    void handsBackChanged();

private:
    // The keyboard goes into the screen as it opens, and back as it closes.
    void opened();
    void closed();
    // Where the keyboard goes when the control it came from has gone: the page the screen was opened from,
    // the nearest item on screen the element is declared under.
    QQuickItem *showing() const;
    QQuickWindow *window() const;
    // The popup's item the screen stands in (the screen itself outside a popup), and whether that popup is
    // modal and on screen.
    QQuickItem *area() const;
    bool holds() const;
    bool within(const QQuickItem *item) const;
    // The keyboard moved: kept in the screen while it holds it and is on top.
    void follow();
    void keep();

    QPointer<QQuickItem> m_screen;
    ComponentRules::FocusOrigin m_origin;
    // The screen's control that last had the keyboard.
    ComponentRules::FocusOrigin m_last;
    QMetaObject::Connection m_watch;
    // A screen that is a window of its own (the desktop's file chooser) gives the keyboard back once the
    // window is active again, when the window has put it back itself.
    QMetaObject::Connection m_activation;
    bool m_open = false;
    bool m_placesKeyboard = true;
    // When it last opened, in the order of every screen's openings: a screen opened later stands above it.
    quint64 m_openedAt = 0;
    bool m_handsBack = true;
    // An origin taken by opening() stands for the next opening.
    bool m_taken = false;
    // Closed, and the closing not yet run.
    bool m_closing = false;
    // The keyboard, taken out of the screen, is to be put back once the news has settled.
    bool m_keeping = false;
};
