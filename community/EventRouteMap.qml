import QtQuick
import Vorna.Ui
import Vorna.Maps
import Vorna.Community

// The small map of an event's route: the great circle between the two airports and a marker on each,
// framed once when shown. A picture, not a control: it takes no gesture, and a tap goes to what holds it.
Item {
    id: routeMap

    property string from
    property string to

    EventRouteMapModel {
        id: route

        from: routeMap.from
        to: routeMap.to
    }

    Rectangle {
        anchors.fill: parent
        visible: !route.found
        color: Theme.sunken

        Symbol {
            anchors.centerIn: parent
            name: "map"
            size: Typography.title2
            color: Theme.muted
            opacity: 0.6
        }
    }

    Loader {
        anchors.fill: parent
        active: route.found
        sourceComponent: MapView {
            id: map

            dark: Theme.dark
            // No gesture moves it: no pan, no zoom.
            interactionModes: MapView.Pan & MapView.Zoom
            enabled: false
            Accessible.role: Accessible.Graphic
            Accessible.name: route.accessibleName
            Component.onCompleted: map.showMapRect(route.frame)

            // Framed once per route: a card that is handed another event frames that one.
            Connections {
                target: route

                function onRouteChanged() {
                    if (route.found)
                        map.showMapRect(route.frame);
                }
            }

            MapPolyline {
                path: [route.fromCoordinate, route.toCoordinate]
                geodesic: true
                color: "white"
                opacity: 0.9
                lineWidth: 6
                capStyle: Qt.RoundCap
            }
            MapPolyline {
                path: [route.fromCoordinate, route.toCoordinate]
                geodesic: true
                color: Theme.accent
                lineWidth: 3
                capStyle: Qt.RoundCap
            }
            MapBalloon {
                coordinate: route.fromCoordinate
                title: routeMap.from
            }
            MapBalloon {
                coordinate: route.toCoordinate
                title: routeMap.to
            }
        }
    }
}
