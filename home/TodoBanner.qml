import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// One thing the member still has to do: a symbol, a title, a line of explanation and, at the trailing
// edge, the control that leads there (the caller's, placed as the banner's child). Texts are shown as
// given; the caller formats and localises them.
Item {
    id: banner

    property string title
    property string detail
    property string symbol
    default property alias action: actionSlot.data

    Layout.fillWidth: true
    implicitWidth: row.implicitWidth + 28
    implicitHeight: row.implicitHeight + 28
    Accessible.role: Accessible.Grouping
    Accessible.name: title + ", " + detail

    Rectangle {
        anchors.fill: parent
        radius: 18
        color: Qt.alpha(Theme.accent, 0.06)
    }
    Rectangle {
        anchors.fill: parent
        radius: 18
        color: "transparent"
        border.width: 1
        border.color: Qt.alpha(Theme.accent, 0.12)
    }

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.margins: 14
        spacing: 14

        Symbol {
            Layout.alignment: Qt.AlignVCenter
            name: banner.symbol
            size: Typography.title3 + 5
            color: Theme.accent
        }
        // The texts take the banner's width up to the action, which stands at the trailing edge.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            spacing: 3

            Text {
                Layout.fillWidth: true
                text: banner.title
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                font.weight: Font.DemiBold
                color: Theme.ink
            }
            Text {
                Layout.fillWidth: true
                text: banner.detail
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
        }
        Row {
            id: actionSlot

            Layout.alignment: Qt.AlignVCenter
        }
    }
}
