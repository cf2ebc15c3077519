import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.Maps

// The selected flight in a wide window: identity, route with progress, phase and figures on the left, the
// aircraft picture on the right, and a close button in the corner. It shows what it is given; the map
// hands in each new copy of the flight and its plan.
Item {
    id: bar

    property liveFlight flight
    property flightPlan plan
    property bool live: false
    readonly property SelectedFlightModel facts: facts
    signal close

    implicitWidth: Math.min(1200, row.implicitWidth + 48)
    implicitHeight: row.implicitHeight + 40
    Accessible.role: Accessible.Grouping
    Accessible.name: facts.accessibleLabel
    // It takes the keyboard as it comes: Escape closes it as the narrow window's Escape closes its card.
    Keys.onEscapePressed: bar.close()

    SelectedFlightModel {
        id: facts

        flight: bar.flight
        plan: bar.plan
    }

    MapMaterial {
        anchors.fill: parent
        radius: 24
        shadow: true
    }

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        anchors.topMargin: 20
        anchors.bottomMargin: 20
        spacing: 28

        ColumnLayout {
            id: details

            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 14

            RowLayout {
                objectName: "flight.identity"
                Layout.fillWidth: true
                spacing: 12
                Accessible.role: Accessible.StaticText
                Accessible.name: ViewRules.combined([facts.callsign, facts.pilot, facts.server, bar.live ? "LIVE" : ""])

                Text {
                    Layout.alignment: Qt.AlignBaseline
                    text: facts.callsign
                    maximumLineCount: 1
                    elide: Text.ElideRight
                    font.pixelSize: Typography.title2
                    font.weight: Font.Bold
                    color: Theme.ink
                    Accessible.ignored: true
                }
                RowLayout {
                    Layout.alignment: Qt.AlignBaseline
                    visible: facts.pilot.length > 0
                    spacing: 4
                    // On the callsign's baseline: the row's is its text's.
                    baselineOffset: barPilot.y + barPilot.baselineOffset

                    Symbol {
                        name: "person.fill"
                        size: Typography.subheadline
                        color: Theme.glassLabel
                    }
                    Text {
                        id: barPilot

                        text: facts.pilot
                        maximumLineCount: 1
                        elide: Text.ElideRight
                        font.pixelSize: Typography.subheadline
                        font.weight: Font.DemiBold
                        color: Theme.glassLabel
                        Accessible.ignored: true
                    }
                }
                Text {
                    objectName: "flight.server"
                    Layout.alignment: Qt.AlignBaseline
                    visible: facts.server.length > 0
                    text: facts.server
                    font.pixelSize: Typography.caption
                    font.weight: Font.Medium
                    color: Theme.glassLabel
                    Accessible.ignored: true
                }
                LiveBadge {
                    Layout.alignment: Qt.AlignBaseline
                    visible: bar.live
                }
                Item {
                    Layout.fillWidth: true
                }
            }
            RouteLine {
                objectName: "map.routeProgress"
                Layout.fillWidth: true
                from: facts.departure
                to: facts.arrival
                tint: Theme.approved
                size: 30
                reservesNames: true
                showsProgress: true
                progress: facts.progress
                labelColor: Theme.glassLabel
            }
            // The phase and the figures wrap to a second line rather than be cut at the bar's edge or widen the
            // column past it (the route's arrival code went with them). Where the bar has room they ask for one
            // line, so the picture beside them gives way first.
            Flow {
                id: chips

                Layout.fillWidth: true
                Layout.preferredWidth: {
                    let width = -chips.spacing;
                    for (let i = 0; i < chips.children.length; ++i) {
                        const chip = chips.children[i];
                        width += chip.visible ? chip.implicitWidth + chips.spacing : 0;
                    }
                    return Math.max(0, width);
                }
                Layout.minimumWidth: {
                    let widest = 0;
                    for (let i = 0; i < chips.children.length; ++i) {
                        const chip = chips.children[i];
                        widest = chip.visible ? Math.max(widest, chip.implicitWidth) : widest;
                    }
                    return widest;
                }
                spacing: 10

                PhaseChip {
                    visible: facts.hasPhase
                    symbol: facts.phaseSymbol
                    title: facts.phaseTitle
                    rate: facts.phaseRate
                    tint: facts.phaseColor
                }
                FlightFigure {
                    title: L.t("高度")
                    value: facts.altitude
                }
                FlightFigure {
                    title: L.t("地速")
                    value: facts.groundSpeed
                }
                FlightFigure {
                    visible: facts.hasProgress
                    title: L.t("进度")
                    value: facts.progressFigure
                }
            }
        }

        ColumnLayout {
            // 380 wide as drawn; in a window too narrow for both columns the picture gives way first, and
            // where the facts leave it less than 160 points it goes (laid past the bar's edge, it was drawn
            // over the map at the window's edge).
            visible: row.width - details.implicitWidth - row.spacing >= 160
            Layout.preferredWidth: 380
            Layout.maximumWidth: Math.max(160, (bar.width - 48 - 28) * 0.45)
            Layout.alignment: Qt.AlignVCenter
            spacing: 8

            AircraftPhoto {
                Layout.fillWidth: true
                aircraft: facts.aircraft
                livery: facts.livery
                nominalHeight: 100
                quiet: true
            }
            Text {
                Layout.fillWidth: true
                text: facts.aircraftLine
                horizontalAlignment: Text.AlignHCenter
                maximumLineCount: 1
                elide: Text.ElideRight
                font.pixelSize: Typography.caption
                font.weight: Font.Medium
                color: Theme.glassLabel
                Accessible.ignored: true
            }
        }
    }

    Button {
        id: closeButton

        anchors.top: parent.top
        anchors.right: parent.right
        padding: 10
        focusPolicy: Qt.StrongFocus
        Accessible.name: L.t("关闭")
        onClicked: bar.close()

        // A muted x on a lighter disc of the same colour.
        contentItem: DiscSymbol {
            size: Typography.title2
            color: Theme.muted
            discColor: Qt.alpha(Theme.muted, 0.2)
        }
        background: Item {
            FocusRing {
                control: closeButton
                spread: -6
                radius: width / 2
            }
        }
    }
}
