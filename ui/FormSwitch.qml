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
    // The off track in the muted ink, so an off switch stands out from its card in both themes.
    palette.midlight: Theme.muted
    palette.mid: Theme.line
    Accessible.name: control.text

    FocusRing {
        control: control
        radius: 8
    }
}
