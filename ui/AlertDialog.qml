import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Vorna.Ui

// An alert: a title, a message and its buttons, centred over the window. It is open while `shown` holds;
// closing it in any way (a button, Escape, a click beside it) tells `closed`.
Dialog {
    id: alert

    property bool shown: false
    property string message
    // The button Return presses as soon as the alert opens; Tab moves on to the others.
    property Item defaultButton
    default property alias buttons: buttonRow.data
    // Where the keyboard was when the alert opened: it goes back there when the alert closes, or else into
    // the page the alert stands over.
    readonly property ScreenFocus keyboard: ScreenFocus {
        screen: alert.contentItem
        open: alert.visible
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(440, parent ? parent.width - 48 : 440)
    modal: true
    focus: true
    padding: 22
    // The title stands with the message, in the theme's colours.
    header: null
    onShownChanged: shown ? open() : close()
    Component.onCompleted: {
        if (shown)
            open();
    }
    onAboutToShow: alert.keyboard.opening()
    onOpened: {
        if (!defaultButton)
            return;
        defaultButton.forceActiveFocus(Qt.TabFocusReason);
        // At a second opening the button has the focus already, given back by the popup without a key's
        // reason, and a control draws its ring by the reason it last got the focus for.
        const button = defaultButton as T.Control;
        if (button)
            button.focusReason = Qt.TabFocusReason;
    }
    background: Rectangle {
        radius: 14
        color: Theme.surface
        border.color: Theme.line
    }

    Column {
        width: alert.availableWidth
        spacing: 12

        Text {
            width: parent.width
            objectName: "alert.title"
            text: alert.title
            color: Theme.ink
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
            // Qt 6.4 leaves plain text out of the accessibility tree unless it has a role and a name.
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            width: parent.width
            objectName: "alert.message"
            visible: text.length > 0
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: alert.message
            color: Theme.ink
            font.pixelSize: Typography.body
            lineHeight: 1.15
            wrapMode: Text.Wrap
        }
        Item {
            width: parent.width
            height: buttonRow.height + 6

            Row {
                id: buttonRow

                anchors.right: parent.right
                anchors.bottom: parent.bottom
                spacing: 10
                layoutDirection: Qt.RightToLeft
            }
        }
    }
}
