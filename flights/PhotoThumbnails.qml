pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.Flights

// The picked screenshots as a row of square thumbnails, each with its remove button. A picture that does
// not decode is left out; the positions given to `remove` still count it.
ListView {
    id: row

    required property UploadList files
    property real thumbnail: 150
    signal remove(int index)

    visible: count > 0
    implicitHeight: count > 0 ? thumbnail : 0
    orientation: ListView.Horizontal
    spacing: 12
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    model: row.files

    delegate: Item {
        id: cell

        required property int index
        required property var bytes

        width: picture.empty ? 0 : row.thumbnail
        height: row.thumbnail
        visible: !picture.empty

        UploadThumbnail {
            id: picture

            anchors.fill: parent
            bytes: cell.bytes
            Accessible.role: Accessible.Graphic
            // Numbered, so that each picture and its remove button are told apart.
            Accessible.name: L.t("飞行截图 %@", [cell.index + 1])
        }
        Button {
            id: removeButton

            anchors.top: parent.top
            anchors.right: parent.right
            anchors.margins: 4
            padding: 0
            focusPolicy: Qt.StrongFocus
            Accessible.name: L.t("移除飞行截图 %@", [cell.index + 1])
            onClicked: row.remove(cell.index)
            contentItem: Symbol {
                name: "xmark.circle.fill"
                size: Typography.title3
                color: Theme.white
            }
            background: Rectangle {
                implicitWidth: 26
                implicitHeight: 26
                radius: 13
                color: Qt.alpha("black", 0.55)

                FocusRing {
                    control: removeButton
                    radius: 15
                }
            }
        }
    }
}
