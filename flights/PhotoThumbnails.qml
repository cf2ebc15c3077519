pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.Flights

// The picked screenshots as square thumbnails, each with its remove button, wrapping onto as many rows as
// they need: every picture is in sight whatever the width. A picture that does not decode is left out; the
// positions given to `remove` still count it. A remove button pressed leaves the keyboard in the row, on the
// picture that takes its place (else the one before it), or on `picker` once none is left.
Flow {
    id: row

    required property UploadList files
    property real thumbnail: 150
    // The control that picks the pictures.
    property Item picker
    signal remove(int index)

    // Tells the picture at a place to give its remove button the keyboard.
    signal focusRemoveButton(int place, int reason)

    // The place of the picture shown nearest to a place, looking on first; -1 when none is shown.
    function shownNear(place: int): int {
        for (let i = place; i < cells.count; ++i) {
            if (cells.itemAt(i)?.visible)
                return i;
        }
        for (let i = Math.min(place, cells.count) - 1; i >= 0; --i) {
            if (cells.itemAt(i)?.visible)
                return i;
        }
        return -1;
    }

    function removeAt(place: int, reason: int) {
        row.remove(place);
        const next = row.shownNear(place);
        if (next >= 0)
            row.focusRemoveButton(next, reason);
        else
            row.picker?.forceActiveFocus(reason);
    }

    visible: cells.count > 0
    spacing: 12

    Repeater {
        id: cells

        model: row.files
        delegate: Cell {}
    }

    component Cell: Item {
        id: cell

        required property int index
        required property var bytes

        width: picture.empty ? 0 : row.thumbnail
        height: picture.empty ? 0 : row.thumbnail
        visible: !picture.empty

        Connections {
            target: row

            function onFocusRemoveButton(place: int, reason: int) {
                if (place === cell.index)
                    removeButton.forceActiveFocus(reason);
            }
        }
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
            // The ring follows to the next button when the keyboard pressed this one.
            onClicked: row.removeAt(cell.index, removeButton.visualFocus ? Qt.TabFocusReason : Qt.OtherFocusReason)
            // A white x on a dark translucent disc, which reads on any picture.
            contentItem: DiscSymbol {
                size: Typography.title3
                color: Theme.white
                discColor: Qt.alpha("black", 0.55)
            }
            background: Item {
                FocusRing {
                    control: removeButton
                    radius: width / 2
                }
            }
        }
    }
}
