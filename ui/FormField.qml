import QtQuick
import QtQuick.Controls
import Vorna.Ui

// One text field of a form: its placeholder names it, a hairline frame that the accent takes while it
// has the keyboard.
TextField {
    id: field

    color: Theme.ink
    placeholderTextColor: Theme.muted
    selectionColor: Theme.accent
    selectedTextColor: Theme.white
    selectByMouse: true
    font.pixelSize: Typography.body
    leftPadding: 10
    rightPadding: 10
    // The width that shows the whole placeholder, for fields laid out narrower than their frame's own.
    readonly property real placeholderWidth: Math.ceil(placeholderMetrics.advanceWidth) + leftPadding + rightPadding

    Accessible.name: field.placeholderText

    TextMetrics {
        id: placeholderMetrics

        font: field.font
        text: field.placeholderText
    }

    background: Rectangle {
        implicitWidth: 80
        implicitHeight: 34
        radius: 8
        color: Theme.sunken
        border.width: field.activeFocus ? 2 : 1
        border.color: field.activeFocus ? Theme.accent : Theme.line
    }
}
