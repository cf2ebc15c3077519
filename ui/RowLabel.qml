import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A list row: a white symbol on a tinted badge, the title, then the value and a chevron when given.
Item {
    id: rowLabel

    property string title
    property string symbol
    property color tint: Theme.accent
    property string value
    property bool chevron: false

    Layout.fillWidth: true
    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight + 20

    RowLayout {
        id: row

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: 14

        Rectangle {
            implicitWidth: 32
            implicitHeight: 32
            radius: 9
            color: rowLabel.tint

            Symbol {
                anchors.centerIn: parent
                name: rowLabel.symbol
                size: 18
                color: Theme.white
            }
        }
        Text {
            text: rowLabel.title
            elide: Text.ElideRight
            font.pixelSize: Typography.body
            color: Theme.ink
        }
        Item {
            Layout.fillWidth: true
            Layout.minimumWidth: 8
        }
        Text {
            id: value

            Layout.maximumWidth: row.width / 2
            visible: rowLabel.value.length > 0
            text: rowLabel.value
            maximumLineCount: 1
            elide: Text.ElideRight
            font.pixelSize: Typography.body
            color: Theme.muted
        }
        Symbol {
            visible: rowLabel.chevron
            name: "chevron.right"
            size: Typography.footnote + 5
            color: Theme.muted
            opacity: 0.6
        }
    }
}
