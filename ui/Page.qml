import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// The scrolling page of a screen: a leading-aligned column, capped in width and centred, on the paper
// colour that fills the whole page however short the content is.
Rectangle {
    id: page

    property real spacing: 16
    default property alias content: column.data
    readonly property bool regular: ViewRules.isRegular(Window.width)
    readonly property real horizontalPadding: ViewRules.pageHorizontalPadding(regular)

    // Scrolls the page so that one of its items is in view (a message that just appeared, say).
    function reveal(item: Item) {
        revealer.show(item);
    }

    color: Theme.paper
    // Page Up, Page Down, Home and End scroll the page when the control that has the keyboard leaves them.
    Keys.onPressed: event => {
        const flickable = scroll.contentItem as Flickable;
        if (!flickable)
            return;
        const to = ViewRules.keyedOffset(event.key, flickable.contentY, flickable.height, flickable.contentHeight);
        if (to < 0)
            return;
        flickable.contentY = to;
        event.accepted = true;
    }

    RevealFocus {
        id: revealer

        flickable: scroll.contentItem as Flickable
    }

    ScrollView {
        id: scroll

        anchors.fill: parent
        contentWidth: availableWidth
        contentHeight: body.implicitHeight

        ScrollBar.vertical: ScrollBar {
            id: scrollBar

            parent: scroll
            x: scroll.width - width
            height: scroll.availableHeight
            policy: ScrollBar.AsNeeded
            contentItem: Rectangle {
                implicitWidth: 6
                radius: 3
                color: Theme.muted
                // Faint while resting, clearer while scrolling; absent when everything fits.
                opacity: scrollBar.size >= 1 ? 0 : scrollBar.active ? 0.6 : 0.3
            }
        }

        Item {
            id: body

            width: scroll.availableWidth
            implicitHeight: column.implicitHeight + 8 + 28

            ColumnLayout {
                id: column

                width: Math.min(body.width, ViewRules.pageMaximumWidth(page.regular)) - 2 * page.horizontalPadding
                x: (body.width - width) / 2
                y: 8
                spacing: page.spacing
            }
        }
    }
}
