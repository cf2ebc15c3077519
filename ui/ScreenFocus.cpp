#include "ScreenFocus.h"

#include <QQuickWindow>

namespace {

// The screens open now, in the order they opened: the last one is on top.
QList<ScreenFocus *> &openScreens()
{
    static QList<ScreenFocus *> screens;
    return screens;
}

} // namespace

ScreenFocus::~ScreenFocus() { openScreens().removeAll(this); }

void ScreenFocus::setScreen(QQuickItem *screen)
{
    if (m_screen == screen)
        return;
    m_screen = screen;
    Q_EMIT screenChanged();
}

void ScreenFocus::setOpen(bool open)
{
    if (m_open == open)
        return;
    m_open = open;
    Q_EMIT openChanged();
    // Open again before its closing has run (Qt's file dialog, opening again for the next file of a pick):
    // the same screen goes on, and the keyboard's way back stays where it was.
    const bool reopened = open && m_closing;
    m_closing = !open;
    openScreens().removeAll(this);
    QObject::disconnect(m_watch);
    QObject::disconnect(m_activation);
    m_last = {};
    if (open) {
        if (!m_taken && !reopened)
            opening();
        m_taken = false;
        static quint64 openings = 0;
        m_openedAt = ++openings;
        openScreens().append(this);
        if (QQuickWindow *shownIn = window())
            m_watch = connect(shownIn, &QQuickWindow::activeFocusItemChanged, this, &ScreenFocus::follow);
    }
    // Once what opens it has laid it out, or what closes it has handed the focus back its own way.
    QMetaObject::invokeMethod(
        this,
        [this, open] {
            if (m_open != open)
                return;
            m_closing = false;
            open ? opened() : closed();
        },
        Qt::QueuedConnection);
}

void ScreenFocus::setHandsBack(bool handsBack)
{
    if (m_handsBack == handsBack)
        return;
    m_handsBack = handsBack;
    Q_EMIT handsBackChanged();
}

QQuickItem *ScreenFocus::showing() const
{
    // A popup's own items are hidden once it has closed.
    for (QObject *above = parent(); above; above = above->parent()) {
        auto *item = qobject_cast<QQuickItem *>(above);
        if (item && item->isVisible() && !(m_screen && (item == m_screen || m_screen->isAncestorOf(item))))
            return item;
    }
    return nullptr;
}

QQuickWindow *ScreenFocus::window() const
{
    if (m_screen && m_screen->window())
        return m_screen->window();
    QQuickItem *below = showing();
    return below ? below->window() : nullptr;
}

QQuickItem *ScreenFocus::area() const
{
    QQuickItem *popupItem = ComponentRules::popupAround(m_screen);
    return popupItem ? popupItem : m_screen.data();
}

bool ScreenFocus::holds() const
{
    // A popup on its way out has hidden its item before it hands the keyboard back.
    const QQuickItem *popupItem = area();
    return m_open && popupItem && popupItem != m_screen && popupItem->isVisible() && popupItem->parent()
           && popupItem->parent()->property("modal").toBool();
}

bool ScreenFocus::within(const QQuickItem *item) const
{
    const QQuickItem *mine = area();
    return item && mine && (item == mine || mine->isAncestorOf(item));
}

void ScreenFocus::follow()
{
    QQuickWindow *shownIn = window();
    if (!holds() || !shownIn)
        return;
    QQuickItem *now = shownIn->activeFocusItem();
    if (within(now)) {
        m_last = ComponentRules::focusOrigin(shownIn);
        return;
    }
    // Taken by a control behind: back at once. Taken out to no control: back once the news has settled, for a
    // popup that starts to close takes the keyboard out of itself first, and has gone by then: the keyboard
    // goes where its closing hands it.
    if (ComponentRules::heard(now)) {
        keep();
    } else if (!m_keeping) {
        m_keeping = true;
        QMetaObject::invokeMethod(this, &ScreenFocus::keep, Qt::QueuedConnection);
    }
}

void ScreenFocus::keep()
{
    m_keeping = false;
    QQuickWindow *shownIn = window();
    if (!holds() || !shownIn)
        return;
    QQuickItem *now = shownIn->activeFocusItem();
    if (within(now))
        return;
    // Only the screen on top keeps it. A popup that keeps no keyboard of its own (a menu or a list a control
    // of the screen opened) may have it; a modal screen beneath may not.
    const QList<ScreenFocus *> &screens = openScreens();
    const auto top = std::find_if(screens.crbegin(), screens.crend(), [shownIn](const ScreenFocus *screen) {
        return screen->window() == shownIn && screen->holds();
    });
    if (top == screens.crend() || *top != this)
        return;
    const bool beneath = std::any_of(screens.cbegin(), screens.cend(), [now](const ScreenFocus *screen) {
        return screen->holds() && screen->within(now);
    });
    if (now && ComponentRules::popupAround(now) && !beneath)
        return;
    // Taken from behind: the control has it once the screen has closed, the screen has it back now. Not when
    // another screen beneath this one covers the control too (a failure behind an alert over an alert): that
    // screen has the keyboard once this one has closed, back where it had it.
    const bool covered =
        std::any_of(screens.cbegin(), screens.cend(), [this, now](const ScreenFocus *screen) {
            return screen != this && screen->holds() && screen->m_openedAt < m_openedAt
                   && !screen->within(now);
        });
    if (ComponentRules::heard(now) && !covered)
        m_origin = ComponentRules::focusOrigin(shownIn);
    if (!ComponentRules::focusOn(m_last, shownIn))
        ComponentRules::focusPage(m_screen);
}

void ScreenFocus::opening()
{
    m_origin = ComponentRules::focusOrigin(window());
    m_taken = true;
}

void ScreenFocus::openingInPlaceOf(ScreenFocus *other)
{
    if (!other)
        return opening();
    m_origin = other->m_origin;
    m_taken = true;
}

void ScreenFocus::opened()
{
    if (m_placesKeyboard)
        ComponentRules::focusPage(m_screen, m_origin.keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

void ScreenFocus::closed()
{
    QQuickWindow *shownIn = window();
    if (!m_screen && shownIn && !shownIn->isActive()) {
        m_activation = connect(shownIn, &QWindow::activeChanged, this, [this, shownIn] {
            if (!shownIn->isActive())
                return;
            QObject::disconnect(m_activation);
            closed();
        });
        return;
    }
    // A screen opened over this one came from it: it goes back where this one would have.
    for (ScreenFocus *above : std::as_const(openScreens())) {
        if (above != this && within(above->m_origin.item))
            above->m_origin = m_origin;
    }
    // The keyboard is in a screen opened over this one and still open: it stays there. A screen beneath (the
    // sheet an alert stood over) is where the keyboard goes back to.
    QQuickItem *now = shownIn ? shownIn->activeFocusItem() : nullptr;
    const bool keptAbove =
        std::any_of(openScreens().cbegin(), openScreens().cend(), [this, now](ScreenFocus *other) {
            return other != this && other->m_openedAt > m_openedAt && other->holds() && other->within(now);
        });
    // A screen that fades out keeps its controls a moment: the keyboard on one of them does not stay there.
    if (!keptAbove && m_handsBack)
        ComponentRules::focusBack(m_origin, showing(), shownIn, area());
    m_origin = {};
}
