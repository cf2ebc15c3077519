pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Maps

// The live map page: the map with the selected flight's plan lines and one marker per flight, and the
// panel along its top. Everything it shows and does is its model's (LiveMapModel); this file lays it out.
// The panel here is the short form (counts, style, refresh, status, tour and own flight); the banner, the
// flight bar, the detail card, the search and the own-flights picker take their places over the map.
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
        dark: Theme.dark
        Component.onCompleted: view.moveCamera(liveMap.position, false)
        onMovementEnded: (region, width) => liveMap.cameraMoved(region, width, map.center, map.distance)
        onTapped: liveMap.mapTapped()

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

    MapScaleBar {
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.leftMargin: 14
        anchors.bottomMargin: 12
        map: map
    }

    // The panel along the top.
    Rectangle {
        id: panel

        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.topMargin: 4
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        height: rows.implicitHeight + 16
        radius: 18
        color: Qt.alpha(Theme.surface, 0.9)
        border.color: Theme.line
        border.width: 1

        ColumnLayout {
            id: rows

            anchors.fill: parent
            anchors.margins: 8
            spacing: 8

            RowLayout {
                Layout.fillWidth: true
                spacing: 12

                Symbol {
                    name: "dot.radiowaves.left.and.right"
                    size: Typography.headline
                    color: Theme.accent
                    opacity: liveMap.loading ? 0.45 : 1

                    Behavior on opacity {
                        NumberAnimation {
                            duration: 300
                        }
                    }
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 2

                    RowLayout {
                        objectName: "map.liveLegend"
                        visible: liveMap.liveCount > 0
                        spacing: 3

                        PlaneShape {
                            implicitWidth: 12
                            implicitHeight: 12
                            fill: PlaneColors.live
                            outline: PlaneColors.ink
                            lineWidth: 0.6
                        }
                        Text {
                            text: "LIVE " + liveMap.liveCount
                            font.pixelSize: Typography.caption2
                            font.bold: true
                            color: PlaneColors.live
                        }
                    }
                    Text {
                        objectName: "map.count"
                        Layout.fillWidth: true
                        visible: !liveMap.hasSelection
                        text: liveMap.countText
                        font.pixelSize: Typography.caption2
                        color: Theme.muted
                        elide: Text.ElideRight
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        visible: liveMap.hasSelection
                        spacing: 6

                        Text {
                            objectName: "map.selectedFlight"
                            Layout.fillWidth: true
                            text: liveMap.selectedTitle
                            font.pixelSize: Typography.subheadline
                            font.weight: Font.DemiBold
                            color: Theme.ink
                            elide: Text.ElideRight
                        }
                        LiveBadge {
                            visible: liveMap.selectedLive
                        }
                    }
                }
                BorderedButton {
                    objectName: "map.demo"
                    visible: liveMap.hasSelection && liveMap.demonstrating
                    text: L.t("停止演示")
                    onClicked: liveMap.demonstrating = false
                }
                BorderedButton {
                    objectName: "map.deselect"
                    visible: liveMap.hasSelection
                    text: L.t("关闭")
                    onClicked: liveMap.deselect()
                }
                BorderedButton {
                    objectName: "map.style"
                    text: liveMap.satellite ? L.t("普通地图") : L.t("卫星地图")
                    Accessible.name: text
                    onClicked: liveMap.satellite = !liveMap.satellite
                }
                BorderedButton {
                    objectName: "map.refresh"
                    enabled: !liveMap.loading
                    text: L.t("刷新")
                    onClicked: liveMap.refresh()
                }
            }

            // The status lines, each while its condition holds.
            Repeater {
                model: [
                    {
                        shown: liveMap.showsSavedNotice,
                        text: L.t("先显示上次保存的数据，正在获取最新位置…"),
                        color: Theme.muted
                    },
                    {
                        shown: liveMap.paused,
                        text: L.t("15 分钟没有操作，已暂停自动刷新。移动地图或点“刷新”继续。"),
                        color: Theme.muted
                    },
                    {
                        shown: liveMap.degraded,
                        text: L.t("部分数据暂时不可用，位置可能延迟"),
                        color: Theme.pending
                    },
                    {
                        shown: liveMap.error.length > 0,
                        text: liveMap.error,
                        color: Theme.rejected
                    },
                    {
                        shown: liveMap.showsEmptyNotice,
                        text: L.t("当前没有可显示的联盟航班。"),
                        color: Theme.muted
                    }
                ]

                delegate: Text {
                    required property var modelData

                    Layout.fillWidth: true
                    visible: modelData.shown
                    text: modelData.text
                    color: modelData.color
                    font.pixelSize: Typography.caption2
                    wrapMode: Text.Wrap
                }
            }

            RowLayout {
                visible: !liveMap.hasSelection
                spacing: 8

                BorderedButton {
                    objectName: "map.demo"
                    enabled: liveMap.flightCount > 0
                    text: liveMap.demonstrating ? L.t("停止演示") : L.t("演示航班")
                    onClicked: liveMap.toggleDemonstration()
                }
                BorderedButton {
                    objectName: "map.ownFlights"
                    visible: liveMap.ownFlightCount > 0
                    prominent: true
                    font.pixelSize: Typography.caption
                    font.weight: Font.DemiBold
                    text: liveMap.ownFlightButtonText
                    onClicked: liveMap.ownFlightAction()
                }
            }
        }
    }

    // The own-flights picker and the flight search are not in the app yet: their card names them.
    Rectangle {
        objectName: "map.sideCard"
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: 20
        visible: liveMap.searching || liveMap.choosingOwnFlights
        width: Math.min(400, parent.width - 40)
        height: sideCard.implicitHeight + 32
        radius: 24
        color: Theme.surface
        border.color: Theme.line
        border.width: 1

        ColumnLayout {
            id: sideCard

            anchors.fill: parent
            anchors.margins: 16
            spacing: 10

            FormHeader {
                Layout.fillWidth: true
                title: liveMap.choosingOwnFlights ? L.t("我的航班") : L.t("搜索航班")
                symbol: liveMap.choosingOwnFlights ? "airplane.circle" : "magnifyingglass"
            }
            Text {
                Layout.fillWidth: true
                text: L.t("这一页即将加入成员中心。")
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
            BorderedButton {
                text: L.t("关闭")
                onClicked: liveMap.choosingOwnFlights ? liveMap.closeOwnFlights() : liveMap.closeSearch()
            }
        }
    }
}
