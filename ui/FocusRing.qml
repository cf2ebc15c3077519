import QtQuick
import QtQuick.Templates as T
import Vorna.Ui

// The keyboard focus ring of a control: an accent outline a little outside the item it stands in, shown
// while the control has the focus from the keyboard. Return and Enter press a control that has one.
Rectangle {
    id: ring

    required property T.Control control
    // How far outside its parent the ring is drawn.
    property real spread: 3
    // A switch or a check box keeps Return for the form; a button takes it.
    property bool pressesOnReturn: true

    anchors.fill: parent
    anchors.margins: -spread
    visible: control.visualFocus
    color: "transparent"
    border.color: Theme.accent
    border.width: 2

    ReturnKey {
        target: ring.pressesOnReturn ? ring.control : null
    }
}
