#pragma once

#include <functional>

class QAccessibleEvent;
class QQuickItem;

// What the accessibility bus hears of the app's items, where Qt 6.4's own interfaces fall short:
// - a password field: Qt hands its typed text to the bus in plain text, where any program of the member's
//   session can read it. An item that declares `property bool secretText: true` is given an interface of
//   ours instead: the field's name, role and state, and never its text;
// - every other item gets Qt Quick's own interface, which also says when the item is disabled and tells the
//   bus when that changes, tells it when the item is chosen or let go (a tab, a segment), and clicks a button
//   a screen reader presses (Qt 6.4's does none of these);
// - an item that leaves its window is on no screen: Qt Quick tells the bus it shows as it goes (a sheet's
//   page dropped once the sheet has closed, a loader's item let go), and a reader would say an alert in it
//   again; as the window itself goes, the news comes from items half taken apart. Neither reaches the bus;
// - text a sighted member reads is heard too: a plain text item (or a read-only text edit, whose text can
//   be selected) under an item on the bus becomes static text named by what it shows, unless its owner's name
//   already says it (a button's label, a card read as a whole) or it draws a symbol.
namespace ItemAccessibility {

// Once, before the first window: Qt Quick puts its own accessible factory in place with that window, and
// the first factory that answers for an item wins.
void install();

// Whether the news goes on to the desktop's bus: not that an item shows or hides once it is out of its
// window, nor that one shows beneath an open modal popup.
bool reachesTheBus(const QAccessibleEvent *event);

// Hands the news that reaches the bus, and says something, on to `deliver`: not that the keyboard went to a
// frame no key reaches and no name says (the window's screen as one screen gives way to the next, a page as
// it is taken apart), of which a reader has nothing to say but "filler" or "panel" before the next screen's
// page or notice takes the keyboard. That an alert comes into sight is held to the end of the turn, and
// dropped where it is a failure's notice being presented: the keyboard it takes says it, and a reader told
// both in one breath says the failure twice.
void tell(QAccessibleEvent *event, const std::function<void(QAccessibleEvent *)> &deliver);

// Whether a reader finds the item off screen: hidden, on a page faded out, or beneath a modal popup that is
// open (a sheet, an alert), whose content is all that can be reached until it closes.
bool offScreen(const QQuickItem *item);

} // namespace ItemAccessibility
