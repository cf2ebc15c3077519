import QtQuick
import Vorna.Ui

// A failure told as a line of text in the rejected colour (a form's last section, a panel's error row): heard
// as an alert, and presented anew, in view and with the keyboard, each time the action fails.
Text {
    id: failure

    // How many times the action has failed (see ErrorNotice).
    property int failures: 0

    visible: text.length > 0
    textFormat: Text.PlainText
    wrapMode: Text.Wrap
    font.pixelSize: Typography.body
    color: Theme.rejected
    // Tab passes over it while it is hidden.
    activeFocusOnTab: true
    Accessible.role: Accessible.AlertMessage
    Accessible.name: text

    FailureFocus {
        notice: failure
        failures: failure.failures
    }
    // The ring of the text that took the keyboard to be heard.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -4
        visible: failure.activeFocus
        radius: 6
        color: "transparent"
        border.color: Theme.accent
        border.width: 2
    }
}
