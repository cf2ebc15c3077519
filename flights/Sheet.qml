import QtQuick
import QtQuick.Controls
import Vorna.Ui

// A sheet over the window: modal, most of its height, closed by Escape or its own cancel button. Its
// page is made when it opens and dropped when it closes, so each opening starts afresh.
Popup {
    id: sheet

    property Component page

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - 48 : 560)
    height: parent ? parent.height - 48 : 480
    modal: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape

    background: Rectangle {
        radius: 16
        color: Theme.paper
        border.color: Theme.line
    }

    Loader {
        anchors.fill: parent
        active: sheet.visible
        sourceComponent: sheet.page
        focus: true
    }
}
