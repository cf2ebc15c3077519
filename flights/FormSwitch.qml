import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// A switch row of a form in the theme's colours.
Switch {
    id: control

    Layout.fillWidth: true
    font.pixelSize: Typography.body
    palette.text: Theme.ink
    palette.windowText: Theme.ink
    palette.dark: Theme.accent
    palette.midlight: Theme.sunken
    palette.mid: Theme.line
    Accessible.name: control.text

    FocusRing {
        control: control
        radius: 8
    }
}
