import QtQuick
import Vorna.Maps
import Vorna.Ui

// A standard map marker: a round balloon in `tint` whose point stands on the coordinate, its title beside
// it. The balloon is 26 points wide and 32 tall (RoutesMapModel places titles around that shape).
MapAnnotation {
    id: balloon

    property string title
    property color tint: Theme.accent
    // The title's top-left corner from the point the balloon stands on; below it by default.
    property point titlePosition: Qt.point(-label.implicitWidth / 2, 0)
    property bool titleShown: true
    property font titleFont: Qt.font({
        pixelSize: Typography.footnote,
        weight: Font.DemiBold
    })

    width: 26
    height: 32
    anchorPoint: Qt.point(0.5, 1)

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
        x: balloon.width / 2 + balloon.titlePosition.x
        y: balloon.height + balloon.titlePosition.y
        visible: balloon.titleShown
        text: balloon.title
        font: balloon.titleFont
        color: Theme.ink
        style: Text.Outline
        styleColor: Theme.dark ? "#000000" : "#ffffff"
    }
}
