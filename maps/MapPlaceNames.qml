pragma ComponentBehavior: Bound

import QtQuick
import Vorna.Maps

// A map's place names, placed by MapPlaceLabels each time the camera comes to rest, in the colours of the
// map's style, below the map's lines and markers and never under the panels that lie over it (`covered`).
// Goes inside the MapView it labels.
Repeater {
    id: names

    required property MapView map
    property bool active: true
    // The parts of the map, in its own points, that panels cover.
    property list<rect> covered

    model: MapPlaceLabels {
        id: labels

        map: names.map
        active: names.active
        covered: names.covered
    }

    MapAnnotation {
        id: label

        required property string name
        required coordinate

        z: 0
        width: placeName.implicitWidth
        height: placeName.implicitHeight
        anchorPoint: Qt.point(0.5, 0.5)
        // Carried under a panel while the map moves: hidden until the labels are placed again.
        visible: labels.uncovered(Qt.rect(label.x, label.y, label.width, label.height))

        Text {
            id: placeName

            text: label.name
            font: labels.font
            color: labels.color
            style: Text.Outline
            styleColor: labels.halo
        }
    }
}
