import QtQuick
import Vorna.Ui

// An outcome that the screen shows as plain text, or not at all, said to a screen reader as it comes: an
// alert on the accessibility bus that draws nothing and leaves the keyboard where it is. Qt 6.4 has no
// announcement of its own; an alert that shows is what a reader reads at once. Each new text, and each new
// count of the caller's, is said anew, also when it reads as the last one did. Keep it out of layouts: it
// takes no room, and a layout would give it spacing.
Item {
    id: announcement

    property string message
    // How many outcomes the caller has had: each new count says the text again. -1: the caller counts nothing.
    property int count: -1

    // Hidden and shown again: the bus hears an alert that shows, whose name is the outcome.
    function say() {
        announcement.visible = false;
        announcement.visible = announcement.message.length > 0;
    }
    // A text and its count that change together are said once.
    function sayLater() {
        soon.restart();
    }

    width: 0
    height: 0
    visible: false
    activeFocusOnTab: false
    Accessible.role: Accessible.AlertMessage
    Accessible.name: announcement.message
    onMessageChanged: announcement.sayLater()
    onCountChanged: announcement.sayLater()
    Component.onCompleted: announcement.sayLater()

    Timer {
        id: soon

        interval: 0
        onTriggered: announcement.say()
    }
}
