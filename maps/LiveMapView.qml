pragma ComponentBehavior: Bound

import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Maps

// The live map page: the map with the selected flight's plan lines and one marker per flight, the banner
// along its top, and over the map the selected flight's bar or card, the search and the own-flights
// picker. Everything it shows and does is its model's (LiveMapModel); this file lays it out and hands the
// panels' clicks to the model.
Item {
    id: view

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    readonly property LiveMapModel model: liveMap

    objectName: "shell.map"

    function moveCamera(position: mapCameraPosition, animated: bool) {
        if (position.framesRegion)
            map.showRegion(position.region.latitude, position.region.longitude, position.region.latitudeSpan,
                           position.region.longitudeSpan, animated);
        else
            map.setCamera(position.center, position.distance, animated);
    }

    LiveMapModel {
        id: liveMap

        memberData: view.memberData
        client: view.appState.api
        username: view.appState.username
        shown: view.visible
    }

    Connections {
        function onCameraRequested(position: mapCameraPosition, animated: bool) {
            view.moveCamera(position, animated);
        }

        target: liveMap
    }

    MapView {
        id: map

        anchors.fill: parent
        objectName: "map.view"
        mapStyle: liveMap.satellite ? MapView.Hybrid : MapView.Standard
        elevation: MapView.Realistic
        dark: Theme.dark
        Component.onCompleted: view.moveCamera(liveMap.position, false)
        onMovementEnded: (region, width) => liveMap.cameraMoved(region, width, map.center, map.distance)
        onTapped: liveMap.mapTapped()

        // The place names, part of the map: below the lines and the markers, clear of the banner, its
        // scale bar and the panels over the map.
        MapPlaceNames {
            map: map
            covered: [Qt.rect(banner.x, banner.y, banner.width, banner.height),
                      Qt.rect(scaleBar.x, scaleBar.y, scaleBar.width, scaleBar.height), panels.barArea,
                      panels.sideCardArea, panels.sheetArea]
        }

        // The filed plan, dashed, and the flown track above it; the markers above both.
        MapPolyline {
            objectName: "map.planLine"
            path: liveMap.planPath
            color: Qt.rgba(0, 159 / 255, 194 / 255, 0.85)
            lineWidth: 2.5
            capStyle: Qt.RoundCap
            joinStyle: Qt.MiterJoin
            miterLimit: 10
            dashPattern: [6, 4]
            dashPhase: 0
        }
        MapPolyline {
            objectName: "map.routeLine"
            path: liveMap.routePath
            color: Qt.rgba(53 / 255, 65 / 255, 88 / 255, 0.9)
            lineWidth: 3
            capStyle: Qt.RoundCap
            joinStyle: Qt.RoundJoin
            miterLimit: 10
        }
        MapMarkerLayer {
            objectName: "map.markers"
            model: liveMap.markers
            onClicked: row => liveMap.markerClicked(row)
        }
    }

    // Below the banner, clear of the panels along the bottom.
    MapScaleBar {
        id: scaleBar

        anchors.left: parent.left
        anchors.top: banner.bottom
        anchors.leftMargin: 14
        anchors.topMargin: 6
        map: map
    }

    // The banner along the top, 12 points in from the sides and 4 from the top.
    MapBannerView {
        id: banner

        objectName: "map.banner"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.topMargin: 4
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        hasSnapshot: liveMap.hasSnapshot
        flightCount: liveMap.flightCount
        liveCount: liveMap.liveCount
        snapshotStatus: liveMap.status
        updatedAt: liveMap.updatedAt
        error: liveMap.error
        loading: liveMap.loading
        paused: liveMap.paused
        flightSelected: liveMap.hasSelection
        demonstrating: liveMap.demonstrating
        satellite: liveMap.satellite
        ownFlights: liveMap.ownFlights
        onStyleToggled: liveMap.satellite = !liveMap.satellite
        onSearchRequested: {
            panels.opening();
            liveMap.openSearch();
        }
        onRefreshRequested: liveMap.refresh()
        onDemoToggled: liveMap.toggleDemonstration()
        onDemoStopped: liveMap.demonstrating = false
        onOwnFlightChosen: flight => {
            panels.openingFlight();
            liveMap.chooseFound(flight);
        }
        onOwnFlightsPickerRequested: {
            panels.opening();
            liveMap.openOwnFlights();
        }
    }

    // The selected flight, the search and the picker, below the banner and its scale bar.
    MapPanelsView {
        id: panels

        objectName: "map.panels"
        anchors.fill: parent
        topInset: scaleBar.y + scaleBar.height
        searching: liveMap.searching
        choosingOwnFlights: liveMap.choosingOwnFlights
        selected: liveMap.selected
        plan: liveMap.plan
        live: liveMap.selectedLive
        flights: liveMap.flights
        ownFlights: liveMap.ownFlights
        compactHeight: liveMap.compactHeight
        onCloseSearch: liveMap.closeSearch()
        onCloseOwnFlights: liveMap.closeOwnFlights()
        onChosen: flight => liveMap.chooseFound(flight)
        onDismissed: liveMap.deselect()
        onMeasured: height => liveMap.measured(height)
    }
}
