import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A section's title with an optional subtitle and a view at the end of the row. Titles may be the service's
// (an organisation's name): they are shown as they come, never read as markup.
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
                objectName: "section.heading"
                text: heading.title
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.pixelSize: Typography.title3
                font.weight: Font.Bold
                color: Theme.ink
                // Qt 6.4 leaves plain text out of the accessibility tree unless it has a role and a name.
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                visible: heading.subtitle.length > 0
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: heading.subtitle
                textFormat: Text.PlainText
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
