import QtQuick
import Vorna.Ui

// Scrolls a flickable so that a control inside it that takes the keyboard focus comes into view, as Tab
// moves through a page longer than its window.
QtObject {
    id: reveal

    required property Flickable flickable

    function show(item: Item) {
        ViewRules.reveal(reveal.flickable, item);
    }

    readonly property Connections watcher: Connections {
        target: reveal.flickable.Window.window

        function onActiveFocusItemChanged() {
            reveal.show(reveal.flickable.Window.activeFocusItem);
            reveal.settling.restart();
        }
    }
    // For a moment after it took the keyboard, an item is kept in view while the page still grows around it
    // (pictures above it arriving, a notice below it laid out), unless the member scrolls meanwhile.
    readonly property Timer settling: Timer {
        interval: 1000
    }
    readonly property Connections growth: Connections {
        target: reveal.flickable

        function onContentHeightChanged() {
            if (reveal.settling.running)
                reveal.show(reveal.flickable.Window.activeFocusItem);
        }
        function onMovementStarted() {
            reveal.settling.stop();
        }
    }
}
