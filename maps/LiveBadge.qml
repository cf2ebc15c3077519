import QtQuick
import Vorna.Ui
import Vorna.Maps

// The "LIVE" badge of a live-identified flight: the same fixed text in every language, in ink on the live
// gold.
Rectangle {
    objectName: "flight.live"
    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + 4
    radius: 5
    color: PlaneColors.live
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Text {
        id: label

        anchors.centerIn: parent
        text: "LIVE"
        font.pixelSize: Typography.caption2
        font.weight: Font.Black
        font.letterSpacing: 0.8
        color: PlaneColors.ink
    }
}
