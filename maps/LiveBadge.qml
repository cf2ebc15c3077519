import QtQuick
import Vorna.Ui
import Vorna.Maps

// "LIVE" on gold, the same in every language: a live-identified flight in the flight bar and the card.
Rectangle {
    objectName: "flight.live"
    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + 4
    radius: 5
    color: PlaneColors.live
    baselineOffset: label.y + label.baselineOffset
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Text {
        id: label

        anchors.centerIn: parent
        text: "LIVE"
        font.pixelSize: Typography.caption2
        font.weight: Font.ExtraBold
        font.letterSpacing: 0.8
        color: PlaneColors.ink
        Accessible.ignored: true
    }
}
