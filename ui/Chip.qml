import QtQuick
import Vorna.Ui

// A capsule chip: an optional symbol and a text in the tint, on the tint at 12 %. The text may be the
// service's (a status it sends): it is shown as it comes, never read as markup.
Item {
    id: chip

    property string text
    property string symbol
    property color tint: Theme.accent

    implicitWidth: row.implicitWidth + 20
    implicitHeight: row.implicitHeight + 10
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Qt.alpha(chip.tint, 0.12)
    }

    Row {
        id: row

        anchors.centerIn: parent
        spacing: 4

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            visible: chip.symbol.length > 0
            name: chip.symbol
            size: Typography.caption + 2
            color: chip.tint
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: chip.text
            textFormat: Text.PlainText
            font.pixelSize: Typography.caption
            font.weight: Font.DemiBold
            color: chip.tint
            Accessible.ignored: true
        }
    }
}
