import QtQuick
import QtPositioning
import Vorna.Ui
import Vorna.Maps
import Vorna.Screenshots

// The live map's panels over our map item with the sample service's flights, as the map will show them:
// the banner along the top, the selected flight, the search or the own-flights picker by window width.
Rectangle {
    id: stage

    property bool saved: false
    property bool hasSnapshot: true
    property string selectedId
    property bool searching: false
    property bool choosing: false
    property list<string> ownIds: ["lv-207"]
    property bool loading: false
    property bool paused: false
    property string error
    property bool demonstrating: false
    property bool satellite: true
    readonly property liveFlights flights: SampleFlights.flights(stage.saved)
    readonly property liveFlight selected: SampleFlights.flight(stage.selectedId)

    color: Theme.paper

    MapView {
        id: map

        anchors.fill: parent
        dark: Theme.dark
        mapStyle: stage.satellite ? MapView.Hybrid : MapView.Standard
        Component.onCompleted: {
            if (stage.selected.valid) {
                const path = SampleFlights.flownPath(stage.selectedId);
                const at = path.length > 0 ? path[path.length - 1] : QtPositioning.coordinate(28, 105);
                setCamera(QtPositioning.coordinate(at.latitude - 2.4, at.longitude + 1), 4200000);
            } else {
                setCamera(QtPositioning.coordinate(28, 115), 16000000);
            }
        }

        MapPlaceNames {
            map: map
            covered: [Qt.rect(banner.x, banner.y, banner.width, banner.height), panels.barArea, panels.sideCardArea,
                      panels.sheetArea]
        }
        MapPolyline {
            path: SampleFlights.planPath(stage.selectedId)
            geodesic: true
            color: Qt.rgba(0, 159 / 255, 194 / 255, 0.85)
            lineWidth: 2.5
            capStyle: Qt.RoundCap
            joinStyle: Qt.MiterJoin
            dashPattern: [6, 4]
        }
        MapPolyline {
            path: SampleFlights.flownPath(stage.selectedId)
            geodesic: true
            color: Qt.rgba(53 / 255, 65 / 255, 88 / 255, 0.9)
            lineWidth: 3
            capStyle: Qt.RoundCap
            joinStyle: Qt.RoundJoin
        }
        MapMarkerLayer {
            model: ListModel {
                id: markers

                Component.onCompleted: {
                    for (const marker of SampleFlights.markers(stage.saved, stage.selectedId))
                        markers.append(marker);
                }
            }
        }
    }

    MapBannerView {
        id: banner

        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.topMargin: 4
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        hasSnapshot: stage.hasSnapshot
        flightCount: stage.hasSnapshot ? stage.flights.count : 0
        liveCount: stage.hasSnapshot ? SampleFlights.liveCount(stage.saved) : 0
        snapshotStatus: stage.hasSnapshot ? SampleFlights.status(stage.saved) : ""
        updatedAt: stage.hasSnapshot ? SampleFlights.updatedAt(stage.saved) : ""
        error: stage.error
        loading: stage.loading
        paused: stage.paused
        flightSelected: stage.selected.valid
        demonstrating: stage.demonstrating
        satellite: stage.satellite
        ownFlights: SampleFlights.pick(stage.ownIds)
    }

    MapPanelsView {
        id: panels

        anchors.fill: parent
        topInset: banner.y + banner.height
        searching: stage.searching
        choosingOwnFlights: stage.choosing
        selected: stage.selected
        plan: SampleFlights.plan(stage.selectedId)
        live: stage.selectedId === "lv-207" || stage.selectedId === "lv-031"
        flights: stage.flights
        ownFlights: SampleFlights.pick(stage.ownIds)
    }
}
