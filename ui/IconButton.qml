import QtQuick
import QtQuick.Templates as T
import Vorna.Ui

// A round button that shows only its symbol, centred; its text is what a screen reader says.
T.AbstractButton {
    id: control

    property string symbol
    property real diameter: 44

    implicitWidth: diameter
    implicitHeight: diameter
    focusPolicy: Qt.StrongFocus
    opacity: enabled ? 1 : 0.45
    Accessible.role: Accessible.Button
    Accessible.name: control.text

    background: Rectangle {
        radius: width / 2
        color: control.down ? Theme.sunken : Qt.alpha(Theme.surface, control.hovered ? 1 : 0.9)
        border.color: Theme.line

        FocusRing {
            control: control
            radius: width / 2
        }
    }
    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            name: control.symbol
            size: Math.round(control.diameter * 0.45)
            color: Theme.ink
        }
    }
}
