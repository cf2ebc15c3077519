import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import Vorna.Ui

// A row of a menu in the theme's colours: its text, with the keyboard letter underlined, and the action's
// shortcut at the trailing edge, as desktop menus show them.
MenuItem {
    id: row

    // The action's own, unless the row says which keys do it.
    property string shortcutText: row.action && row.action.shortcut ? Display.shortcut(row.action.shortcut) : ""

    implicitWidth: Math.max(220, leftPadding + rightPadding + contentItem.implicitWidth)
    implicitHeight: 34
    leftPadding: 12
    rightPadding: 12
    font.pixelSize: Typography.body

    contentItem: RowLayout {
        spacing: 32

        IconLabel {
            Layout.fillWidth: true
            text: row.text
            font: row.font
            color: Theme.ink
            alignment: Qt.AlignLeft
        }
        Text {
            visible: text.length > 0
            text: row.shortcutText
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
    }
    background: Rectangle {
        x: 4
        width: row.width - 8
        radius: 6
        color: row.highlighted || row.down ? Qt.alpha(Theme.accent, 0.16) : "transparent"
    }
}
