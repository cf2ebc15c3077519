import QtQuick

// When a page loads: each time it comes on screen (`appeared`), and on the desktop's refresh keys, F5 and
// Ctrl+R, while it shows (`refresh`, as its refresh button).
Item {
    id: refresher

    required property Item page
    signal appeared
    signal refresh

    visible: false
    Component.onCompleted: {
        if (refresher.page.visible)
            refresher.appeared();
    }

    Connections {
        target: refresher.page

        function onVisibleChanged() {
            if (refresher.page.visible)
                refresher.appeared();
        }
    }
    Shortcut {
        sequences: ["F5", "Ctrl+R"]
        enabled: refresher.page.visible
        onActivated: refresher.refresh()
    }
}
