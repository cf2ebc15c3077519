import QtQuick
import QtQuick.Controls
import Vorna.Ui

// The borderless button beside a field that opens a list to pick its value from.
Button {
    id: button

    focusPolicy: Qt.StrongFocus
    padding: 6
    opacity: enabled ? 1 : 0.4
    contentItem: Symbol {
        name: "list.bullet"
        size: Typography.title3
        color: Theme.accent
    }
    background: Rectangle {
        implicitWidth: 34
        implicitHeight: 34
        radius: 8
        color: button.hovered ? Qt.alpha(Theme.ink, 0.06) : "transparent"

        FocusRing {
            control: button
            radius: 10
        }
    }
}
