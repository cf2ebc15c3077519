import QtQuick
import QtQuick.Layouts
import QtPositioning
import Vorna.Maps
import Vorna.Ui

// The map item: the world, a close view of an airport pair, a route across 180° and 3,000 markers.
Rectangle {
    id: root
    color: Theme.paper

    GridLayout {
        anchors.fill: parent
        anchors.margins: 12
        columns: 2
        rowSpacing: 12
        columnSpacing: 12

        MapView {
            id: world
            Layout.fillWidth: true
            Layout.fillHeight: true
            dark: Theme.dark
            Component.onCompleted: setCamera(QtPositioning.coordinate(28, 105), 35000000)

            MapBalloon {
                coordinate: QtPositioning.coordinate(40.08, 116.58)
                title: "ZBAA"
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(51.47, -0.46)
                title: "EGLL"
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(-33.95, 151.18)
                title: "YSSY"
            }
            MapScaleBar {
                x: 10
                y: world.height - height - 10
                map: world
            }
        }

        MapView {
            id: close
            Layout.fillWidth: true
            Layout.fillHeight: true
            dark: Theme.dark
            Component.onCompleted: showAll()

            MapPolyline {
                path: [QtPositioning.coordinate(31.20, 121.34), QtPositioning.coordinate(31.14, 121.80)]
                color: "white"
                opacity: 0.9
                lineWidth: 6
                capStyle: Qt.RoundCap
            }
            MapPolyline {
                path: [QtPositioning.coordinate(31.20, 121.34), QtPositioning.coordinate(31.14, 121.80)]
                color: Theme.accent
                lineWidth: 3
                capStyle: Qt.RoundCap
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(31.20, 121.34)
                title: "ZSSS"
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(31.14, 121.80)
                title: "ZSPD"
            }
            MapScaleBar {
                x: 10
                y: close.height - height - 10
                map: close
            }
        }

        MapView {
            id: pacific
            Layout.fillWidth: true
            Layout.fillHeight: true
            dark: Theme.dark
            Component.onCompleted: showAll()

            MapPolyline {
                path: [QtPositioning.coordinate(35.55, 139.78), QtPositioning.coordinate(21.32, -157.92),
                    QtPositioning.coordinate(37.62, -122.38)]
                color: Qt.rgba(0, 159 / 255, 194 / 255, 0.85)
                lineWidth: 2.5
                capStyle: Qt.RoundCap
                joinStyle: Qt.MiterJoin
                dashPattern: [6, 4]
            }
            MapPolyline {
                path: [QtPositioning.coordinate(35.55, 139.78), QtPositioning.coordinate(37.62, -122.38)]
                color: Qt.rgba(53 / 255, 65 / 255, 88 / 255, 0.9)
                lineWidth: 3
                capStyle: Qt.RoundCap
                joinStyle: Qt.RoundJoin
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(35.55, 139.78)
                title: "RJTT"
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(21.32, -157.92)
                title: "PHNL"
            }
            MapBalloon {
                coordinate: QtPositioning.coordinate(37.62, -122.38)
                title: "KSFO"
            }
        }

        MapView {
            id: traffic
            Layout.fillWidth: true
            Layout.fillHeight: true
            dark: Theme.dark
            mapStyle: MapView.Hybrid
            Component.onCompleted: setCamera(QtPositioning.coordinate(30, 20), 30000000)

            MapMarkerLayer {
                model: ListModel {
                    id: aircraft
                    Component.onCompleted: {
                        // A fixed sequence, so every picture shows the same sky.
                        let seed = 7;
                        const next = () => {
                            seed = (seed * 16807) % 2147483647;
                            return seed / 2147483647;
                        };
                        // Ordinary, live, event and selected: fill and outline of each state.
                        const pairs = [["#1b2233", "white"], ["#d9ad59", "#1b2233"], ["#1d6fe0", "white"],
                                       ["#fa691f", "#1b2233"]];
                        for (let i = 0; i < 3000; ++i) {
                            const pair = pairs[i % 40 === 0 ? 3 : i % 9 === 0 ? 2 : i % 5 === 0 ? 1 : 0];
                            aircraft.append({
                                latitude: next() * 120 - 55,
                                longitude: next() * 360 - 180,
                                heading: next() * 360,
                                size: 12 + next() * 12,
                                fill: pair[0],
                                outline: pair[1]
                            });
                        }
                        // The four states side by side, large, turned to 0, 90, 180 and 270, north of the rest.
                        for (let k = 0; k < 4; ++k) {
                            aircraft.append({
                                latitude: 72,
                                longitude: -90 + k * 60,
                                heading: k * 90,
                                size: 48,
                                fill: pairs[k][0],
                                outline: pairs[k][1]
                            });
                        }
                    }
                }
            }
        }
    }
}
