pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import QtPositioning
import Vorna.Maps
import Vorna.Ui

// Both styles at region zoom where four source tiles of the imagery and of the relief meet (90° E, 41° N,
// the Tarim basin's east), with their borders and place names: the hybrid map (left) and the standard map
// (right); below, Siberia's south (Tuva and the Mongolian border), where the names are few.
Rectangle {
    id: root

    property size windowSize: Qt.size(1500, 1000)

    color: Theme.paper

    GridLayout {
        anchors.fill: parent
        anchors.margins: 12
        columns: 2
        rowSpacing: 12
        columnSpacing: 12

        Repeater {
            model: [
                {hybrid: true, latitude: 41, longitude: 90},
                {hybrid: false, latitude: 41, longitude: 90},
                {hybrid: true, latitude: 50, longitude: 94},
                {hybrid: false, latitude: 50, longitude: 94}
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
                                                                          map.modelData.longitude), 1600000)

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
