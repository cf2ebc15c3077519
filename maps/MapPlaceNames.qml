pragma ComponentBehavior: Bound

import QtQuick
import Vorna.Maps

// The place names of a map's hybrid style, placed by MapPlaceLabels each time the camera comes to rest:
// white on the imagery, below the map's lines and markers. Goes inside the MapView it labels.
Repeater {
    id: names

    required property MapView map
    property bool active: true

    model: MapPlaceLabels {
        id: labels

        map: names.map
        active: names.active
    }

    MapAnnotation {
        required property string name
        required coordinate

        z: 0
        width: placeName.implicitWidth
        height: placeName.implicitHeight
        anchorPoint: Qt.point(0.5, 0.5)

        Text {
            id: placeName

            text: parent.name
            font: labels.font
            color: "#ffffff"
            style: Text.Outline
            styleColor: "#99000000"
        }
    }
}
