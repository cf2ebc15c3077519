pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Maps

// The live map's top panel: the live indicator with the snapshot's counts and the toolbar, the status
// lines, and, while no flight is selected, the demonstration and own-flight buttons. It shows the map's
// state and hands each click back as a signal: the map changes its state and the panel follows.
// The map lays it along its top edge, 12 points from the sides and 4 from the top.
Item {
    id: panel

    // The map's state.
    property bool hasSnapshot: false
    property int flightCount: 0
    property int liveCount: 0
    property string snapshotStatus
    property string updatedAt
    property string error
    property bool loading: false
    property bool paused: false
    property bool flightSelected: false
    property bool demonstrating: false
    property bool satellite: true
    property liveFlights ownFlights
    readonly property MapBannerModel model: banner

    signal styleToggled
    signal searchRequested
    signal refreshRequested
    // The bottom row's button starts the tour or stops it; the header's only stops it.
    signal demoToggled
    signal demoStopped
    // The one own flight, to select; with several the picker is asked for instead.
    signal ownFlightChosen(liveFlight flight)
    signal ownFlightsPickerRequested

    function ownFlightAction() {
        const only = banner.onlyOwnFlight();
        if (only.valid)
            panel.ownFlightChosen(only);
        else
            panel.ownFlightsPickerRequested();
    }

    implicitWidth: column.implicitWidth + 16
    implicitHeight: column.implicitHeight + 16

    MapBannerModel {
        id: banner

        hasSnapshot: panel.hasSnapshot
        flightCount: panel.flightCount
        liveCount: panel.liveCount
        snapshotStatus: panel.snapshotStatus
        updatedAt: panel.updatedAt
        error: panel.error
        loading: panel.loading
        paused: panel.paused
        flightSelected: panel.flightSelected
        demonstrating: panel.demonstrating
        satellite: panel.satellite
        ownFlights: panel.ownFlights
    }

    MapMaterial {
        anchors.fill: parent
        radius: 18
    }

    ColumnLayout {
        id: column

        x: 8
        y: 8
        width: panel.width - 16
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Symbol {
                id: indicator

                name: "dot.radiowaves.left.and.right"
                size: Typography.headline + 4
                color: Theme.accent

                SequentialAnimation on opacity {
                    running: banner.indicatorAnimates && !Theme.reduceMotion
                    loops: Animation.Infinite
                    onRunningChanged: if (!running)
                        indicator.opacity = 1

                    NumberAnimation {
                        to: 0.3
                        duration: 600
                        easing.type: Easing.InOutSine
                    }
                    NumberAnimation {
                        to: 1
                        duration: 600
                        easing.type: Easing.InOutSine
                    }
                }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2

                RowLayout {
                    objectName: "map.liveLegend"
                    visible: banner.showsLegend
                    spacing: 3
                    Accessible.role: Accessible.StaticText
                    Accessible.name: banner.legendText

                    PlaneShape {
                        implicitWidth: 12
                        implicitHeight: 12
                        fill: PlaneColors.live
                        outline: PlaneColors.ink
                        lineWidth: 0.6
                    }
                    Text {
                        text: banner.legendText
                        font.pixelSize: Typography.caption2
                        font.weight: Font.Bold
                        color: PlaneColors.live
                        Accessible.ignored: true
                    }
                }
                RowLayout {
                    Layout.fillWidth: true
                    visible: banner.showsCountLine
                    spacing: 6

                    Text {
                        text: banner.countText
                        font.pixelSize: Typography.caption2
                        color: Theme.muted
                    }
                    Text {
                        Layout.fillWidth: true
                        visible: text.length > 0
                        text: banner.updateText
                        elide: Text.ElideRight
                        font.pixelSize: Typography.caption2
                        color: Theme.muted
                    }
                }
            }
            Item {
                Layout.fillWidth: true
            }
            MapIconButton {
                objectName: "map.style"
                text: banner.styleLabel
                symbol: banner.styleSymbol
                onClicked: panel.styleToggled()
            }
            BorderedButton {
                id: search

                objectName: "map.search"
                text: L.t("搜索航班")
                enabled: banner.hasFlights
                leftPadding: 9
                rightPadding: 9
                Accessible.name: search.text
                onClicked: panel.searchRequested()

                contentItem: Symbol {
                    name: "magnifyingglass"
                    size: Typography.body + 1
                    color: Theme.ink
                }
            }
            RowLayout {
                visible: banner.showsHeaderStop || banner.showsHeaderOwnFlights
                spacing: 4

                MapIconButton {
                    objectName: "map.demo"
                    visible: banner.showsHeaderStop
                    text: L.t("停止演示")
                    symbol: "stop.fill"
                    onClicked: panel.demoStopped()
                }
                MapIconButton {
                    objectName: "map.ownFlights"
                    visible: banner.showsHeaderOwnFlights
                    text: banner.ownFlightsCountLabel
                    symbol: "location.fill"
                    onClicked: panel.ownFlightAction()
                }
            }
            BorderedButton {
                id: refresh

                text: L.t("刷新")
                busy: banner.loading
                working: banner.loading
                // Small, as the search and the demonstration beside it.
                font.pixelSize: Typography.caption
                Accessible.name: refresh.text
                onClicked: panel.refreshRequested()
            }
        }

        Repeater {
            model: banner.lines

            delegate: Text {
                required property string lineText
                required property int tone

                objectName: "map.notice"
                Layout.fillWidth: true
                text: lineText
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption2
                color: tone === 2 ? Theme.rejected : tone === 1 ? Theme.pending : Theme.muted
                Accessible.role: Accessible.StaticText
                Accessible.name: lineText
            }
        }

        RowLayout {
            visible: banner.showsBottomRow
            spacing: 8

            BorderedButton {
                id: demo

                objectName: "map.demo"
                text: banner.demoText
                enabled: banner.hasFlights
                Accessible.name: demo.text
                onClicked: panel.demoToggled()

                contentItem: RowLayout {
                    spacing: 5

                    Symbol {
                        name: banner.demoSymbol
                        size: Typography.caption + 1
                        color: Theme.ink
                    }
                    Text {
                        text: demo.text
                        font.pixelSize: Typography.caption
                        color: Theme.ink
                    }
                }
            }
            BorderedButton {
                id: own

                objectName: "map.ownFlights"
                visible: banner.showsOwnFlights
                prominent: true
                text: banner.ownFlightsText
                Accessible.name: own.text
                onClicked: panel.ownFlightAction()

                contentItem: RowLayout {
                    spacing: 5

                    Symbol {
                        name: banner.ownFlightsSymbol
                        size: Typography.caption + 1
                        color: own.labelColor
                    }
                    Text {
                        text: own.text
                        font.pixelSize: Typography.caption
                        font.weight: Font.DemiBold
                        color: own.labelColor
                    }
                }
            }
        }
    }
}
