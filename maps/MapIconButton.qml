import QtQuick
import QtQuick.Controls
import Vorna.Ui

// A symbol as a plain button: the map's style switch and the compact buttons of its header.
Button {
    id: control

    property string symbol
    property color tint: Theme.accent

    padding: 4
    focusPolicy: Qt.StrongFocus
    Accessible.name: control.text
    display: AbstractButton.IconOnly

    contentItem: Symbol {
        name: control.symbol
        size: Typography.title3 + 2
        color: control.tint
        opacity: control.down ? 0.6 : 1
    }
    background: Item {
        implicitWidth: 26
        implicitHeight: 26

        FocusRing {
            control: control
            radius: 6
        }
    }
}
