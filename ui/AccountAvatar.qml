import QtQuick
import Vorna.Ui

// The circular avatar, or the person symbol on the sunken colour while there is no picture, with a ring
// inside the circle's edge. Give it the picture as `image` (in memory) or as `source` (an address).
AvatarPicture {
    id: avatar

    property real size: 40
    property color ring: Theme.line

    implicitWidth: size
    implicitHeight: size
    Accessible.role: Accessible.Graphic
    Accessible.name: L.t("头像")

    Rectangle {
        anchors.fill: parent
        visible: avatar.empty
        radius: width / 2
        color: Theme.sunken

        Symbol {
            anchors.fill: parent
            anchors.margins: avatar.size * 0.24
            name: "person.fill"
            // The glyph fills about five sixths of its em square.
            size: avatar.size * 0.52 * 1.2
            color: Theme.muted
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: "transparent"
        border.color: avatar.ring
        border.width: 2
    }
}
