import QtQuick
import Vorna.Maps
import Vorna.Ui

// A standard map marker: a round balloon in `tint` whose point stands on the coordinate, its title below.
MapAnnotation {
    id: balloon

    property string title
    property color tint: Theme.accent

    width: Math.max(head.width, label.implicitWidth)
    height: head.height + 6 + label.implicitHeight
    anchorPoint: Qt.point(0.5, (head.height + 6) / height)

    Rectangle {
        id: pointer
        width: 10
        height: 10
        rotation: 45
        color: balloon.tint
        anchors.horizontalCenter: parent.horizontalCenter
        y: head.height - 6
    }
    Rectangle {
        id: head
        width: 26
        height: 26
        radius: 13
        color: balloon.tint
        border.color: "white"
        border.width: 1.5
        anchors.horizontalCenter: parent.horizontalCenter

        Rectangle {
            width: 8
            height: 8
            radius: 4
            color: "white"
            anchors.centerIn: parent
        }
    }
    Text {
        id: label
        y: head.height + 6
        anchors.horizontalCenter: parent.horizontalCenter
        text: balloon.title
        font.pixelSize: 11
        font.weight: Font.DemiBold
        color: Theme.ink
        style: Text.Outline
        styleColor: Theme.dark ? "#000000" : "#ffffff"
    }
}
