pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import QtPositioning
import Vorna.Maps
import Vorna.Ui

// The live map's two styles at three distances, both with place labels: the standard map with its relief
// (top) and the hybrid map, the imagery (bottom); the world, a region (the Himalaya and China's south-west)
// and a city (Hong Kong and Shenzhen).
Rectangle {
    id: root

    property size windowSize: Qt.size(1500, 900)

    color: Theme.paper

    GridLayout {
        anchors.fill: parent
        anchors.margins: 12
        columns: 3
        rowSpacing: 12
        columnSpacing: 12

        Repeater {
            model: [
                {hybrid: false, latitude: 25, longitude: 100, distance: 30000000},
                {hybrid: false, latitude: 29, longitude: 95, distance: 3500000},
                {hybrid: false, latitude: 22.4, longitude: 114.1, distance: 90000},
                {hybrid: true, latitude: 25, longitude: 100, distance: 30000000},
                {hybrid: true, latitude: 29, longitude: 95, distance: 3500000},
                {hybrid: true, latitude: 22.4, longitude: 114.1, distance: 90000}
            ]

            MapView {
                id: map

                required property var modelData

                Layout.fillWidth: true
                Layout.fillHeight: true
                mapStyle: map.modelData.hybrid ? MapView.Hybrid : MapView.Standard
                elevation: MapView.Realistic
                dark: Theme.dark
                Component.onCompleted: setCamera(QtPositioning.coordinate(map.modelData.latitude,
                                                                          map.modelData.longitude),
                                                 map.modelData.distance)

                MapPlaceNames {
                    map: map
                    covered: [Qt.rect(scaleBar.x, scaleBar.y, scaleBar.width, scaleBar.height)]
                }
                MapScaleBar {
                    id: scaleBar

                    x: 10
                    y: map.height - height - 10
                    map: map
                }
            }
        }
    }
}
