import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A section's title with an optional subtitle and a view at the end of the row.
Item {
    id: heading

    property string title
    property string subtitle
    default property alias trailing: trailingSlot.data

    Layout.fillWidth: true
    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight + 4

    RowLayout {
        id: row

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        spacing: 8

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            // Keeps the title line in the middle of a taller trailing view.
            Layout.topMargin: Math.max(0, (trailingSlot.implicitHeight - titleText.implicitHeight) / 2)
            spacing: 4

            Text {
                id: titleText

                Layout.fillWidth: true
                text: heading.title
                wrapMode: Text.Wrap
                font.pixelSize: Typography.title3
                font.weight: Font.Bold
                color: Theme.ink
            }
            Text {
                Layout.fillWidth: true
                visible: heading.subtitle.length > 0
                text: heading.subtitle
                wrapMode: Text.Wrap
                font.pixelSize: Typography.footnote
                color: Theme.muted
            }
        }

        Row {
            id: trailingSlot

            Layout.alignment: Qt.AlignTop
            Layout.topMargin: Math.max(0, (titleText.implicitHeight - implicitHeight) / 2)
            spacing: 8
        }
    }
}
