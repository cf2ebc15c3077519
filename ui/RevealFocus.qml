import QtQuick
import Vorna.Ui

// Scrolls a flickable so that a control inside it that takes the keyboard focus comes into view, as Tab
// moves through a page longer than its window; and so that an item its page shows (a loader that says the
// page works, a message that just appeared) comes into view.
QtObject {
    id: reveal

    required property Flickable flickable
    // The item kept in view while the page settles around it.
    property Item kept: null

    function show(item: Item) {
        reveal.kept = item;
        ViewRules.reveal(reveal.flickable, item);
        reveal.settling.restart();
    }
    // The kept item back into view, while the page still settles.
    function keep() {
        if (reveal.settling.running)
            ViewRules.reveal(reveal.flickable, reveal.kept);
    }
    // Whether the item scrolls with the flickable: the page itself taking the keyboard (while it sends,
    // say) leaves in view what was brought there.
    function scrolls(item: Item): bool {
        for (let up = item; up; up = up.parent) {
            if (up === reveal.flickable.contentItem)
                return true;
        }
        return false;
    }

    readonly property Connections watcher: Connections {
        target: reveal.flickable.Window.window

        function onActiveFocusItemChanged() {
            const focused = reveal.flickable.Window.activeFocusItem;
            if (reveal.scrolls(focused))
                reveal.show(focused);
        }
    }
    // For a moment after it was brought into view, an item is kept there while the page still grows around it
    // (pictures above it arriving, a notice below it laid out, the item itself laid out as it shows), unless
    // the member scrolls meanwhile.
    readonly property Timer settling: Timer {
        interval: 1000
    }
    readonly property Connections growth: Connections {
        target: reveal.flickable

        function onContentHeightChanged() {
            reveal.keep();
        }
        function onMovementStarted() {
            reveal.settling.stop();
        }
    }
    // A page's layout places an item that has just shown after its content has grown.
    readonly property Connections placing: Connections {
        target: reveal.kept

        function onYChanged() {
            reveal.keep();
        }
        function onHeightChanged() {
            reveal.keep();
        }
    }
}
