import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// One line of the multiplier check: available in green with a check, else why not, muted.
RowLayout {
    id: line

    property bool available
    property string text

    Layout.fillWidth: true
    spacing: 6
    Accessible.role: Accessible.StaticText
    Accessible.name: line.text

    Symbol {
        name: line.available ? "checkmark.circle.fill" : "info.circle"
        size: Typography.caption + 2
        color: line.available ? Theme.approved : Theme.muted
    }
    Text {
        Layout.fillWidth: true
        text: line.text
        wrapMode: Text.Wrap
        font.pixelSize: Typography.caption
        color: line.available ? Theme.approved : Theme.muted
    }
}
