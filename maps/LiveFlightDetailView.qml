import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.Maps

// The selected flight in a narrow window, as one column for the map's sheet: identity, server and badge,
// route with progress, picture, phase and two figures. It has no background of its own and reports its
// height, from which the sheet takes its own.
Item {
    id: card

    property liveFlight flight
    property flightPlan plan
    property bool live: false
    readonly property SelectedFlightModel facts: facts
    // The card's laid-out height with its padding.
    readonly property real contentHeight: Math.ceil(column.implicitHeight) + 24 + 12
    property real reported: NaN
    // The laid-out height: once when the card first shows, then on every change.
    signal measured(real height)

    function report() {
        if (!card.visible || card.contentHeight === card.reported)
            return;
        card.reported = card.contentHeight;
        card.measured(card.contentHeight);
    }

    implicitWidth: column.implicitWidth + 32
    implicitHeight: contentHeight
    Accessible.role: Accessible.Grouping
    Accessible.name: facts.accessibleLabel
    onContentHeightChanged: report()
    onVisibleChanged: report()
    Component.onCompleted: report()

    SelectedFlightModel {
        id: facts

        flight: card.flight
        plan: card.plan
    }
    InfoItem {
        id: altitude

        title: L.t("高度")
        value: facts.altitude
    }
    InfoItem {
        id: groundSpeed

        title: L.t("地速")
        value: facts.groundSpeed
    }

    ColumnLayout {
        id: column

        x: 16
        y: 24
        width: card.width - 32
        spacing: 12

        RowLayout {
            objectName: "flight.identity"
            Layout.fillWidth: true
            spacing: 10
            Accessible.role: Accessible.StaticText
            Accessible.name: ViewRules.combined([facts.callsign, facts.pilot])

            Text {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignBaseline
                text: facts.callsign
                maximumLineCount: 1
                elide: Text.ElideRight
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: Math.round(Typography.title3 * 0.7)
                font.pixelSize: Typography.title3
                font.weight: Font.Bold
                color: Theme.ink
                Accessible.ignored: true
            }
            RowLayout {
                Layout.alignment: Qt.AlignBaseline
                Layout.leftMargin: 8
                visible: facts.pilot.length > 0
                spacing: 4
                // On the callsign's baseline: the row's is its text's.
                baselineOffset: cardPilot.y + cardPilot.baselineOffset

                Symbol {
                    name: "person.fill"
                    size: Typography.subheadline
                    color: Theme.glassLabel
                }
                Text {
                    id: cardPilot

                    text: facts.pilot
                    maximumLineCount: 1
                    font.pixelSize: Typography.subheadline
                    font.weight: Font.DemiBold
                    color: Theme.glassLabel
                    Accessible.ignored: true
                }
            }
        }
        RowLayout {
            visible: facts.server.length > 0 || card.live
            spacing: 6

            Text {
                objectName: "flight.server"
                visible: facts.server.length > 0
                text: facts.server
                font.pixelSize: Typography.caption
                font.weight: Font.Medium
                color: Theme.glassLabel
            }
            LiveBadge {
                visible: card.live
            }
        }
        RouteLine {
            objectName: "map.routeProgress"
            Layout.fillWidth: true
            from: facts.departure
            to: facts.arrival
            tint: Theme.approved
            size: 22
            reservesNames: true
            showsProgress: true
            progress: facts.progress
            labelColor: Theme.glassLabel
        }
        AircraftPhoto {
            Layout.fillWidth: true
            aircraft: facts.aircraft
            livery: facts.livery
            nominalHeight: 88
            quiet: true
            Accessible.ignored: true
        }
        Text {
            Layout.fillWidth: true
            text: facts.aircraftLine
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font.pixelSize: Typography.caption
            font.weight: Font.Medium
            color: Theme.glassLabel
            Accessible.ignored: true
        }
        PhaseChip {
            Layout.fillWidth: true
            visible: facts.hasPhase
            spans: true
            symbol: facts.phaseSymbol
            title: facts.phaseTitle
            rate: facts.phaseRate
            tint: facts.phaseColor
        }
        InfoGrid {
            Layout.fillWidth: true
            items: [altitude, groundSpeed]
            tileHeight: 54
            lines: 1
            cornerRadius: 20
            labelColor: Theme.glassLabel
        }
    }
}
