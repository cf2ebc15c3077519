pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Maps

// The member's own live flights, when more than one is live: a pick is handed to `choose`, and the
// presenter closes the picker and selects the flight. The view never closes itself.
FocusScope {
    id: view

    property liveFlights flights
    readonly property OwnFlightsModel model: own
    signal close
    signal choose(liveFlight flight)

    OwnFlightsModel {
        id: own

        flights: view.flights
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Text {
                Layout.fillWidth: true
                text: L.t("我的航班")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            GlassButton {
                objectName: "ownFlights.close"
                text: L.t("关闭")
                Accessible.name: text
                onClicked: view.close()
            }
        }
        // The arrows move the current row with its ring; Return takes the row that has it.
        ListKeys {
            view: rows
        }
        ListView {
            id: rows

            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: own.rows
            // It takes the keyboard as the picker opens and hands it on to its current row, a flight that is
            // heard by its name and from which Tab goes on inside the picker.
            focus: true
            Accessible.role: Accessible.List
            Accessible.name: L.t("我的航班")
            keyNavigationEnabled: true
            boundsBehavior: Flickable.StopAtBounds

            // The flights come once the picker is made: its first row is the current one at once, before the
            // picker takes the keyboard, not at the list's next frame.
            Connections {
                function onFlightsChanged() {
                    rows.forceLayout();
                    if (rows.currentIndex < 0 && rows.count > 0)
                        rows.currentIndex = 0;
                }

                target: own
            }

            delegate: ItemDelegate {
                id: row

                required property int index
                required property string flightId
                required property string callsign
                required property string server
                required property string route
                required property bool hasPhase
                required property string phaseTitle
                required property string phaseSymbol
                required property color phaseColor

                objectName: "ownFlight." + row.flightId
                width: ListView.view.width
                topPadding: 4 + 6
                bottomPadding: 4 + 6
                leftPadding: 8
                rightPadding: 8
                focusPolicy: Qt.StrongFocus
                Accessible.name: ViewRules.combined([row.callsign, row.server, row.route, row.phaseTitle])
                onClicked: view.choose(own.flightAt(row.index))

                background: Rectangle {
                    radius: 8
                    color: row.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent"

                    Rectangle {
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.bottom: parent.bottom
                        anchors.leftMargin: 8
                        height: 1
                        color: Theme.line
                    }
                    // Inside the row: the list clips what stands outside it.
                    FocusRing {
                        control: row
                        spread: 0
                        radius: parent.radius
                    }
                }
                contentItem: ColumnLayout {
                    spacing: 6

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8

                        Text {
                            Layout.fillWidth: true
                            text: row.callsign
                            elide: Text.ElideRight
                            font.pixelSize: Typography.headline
                            font.weight: Font.DemiBold
                            color: Theme.ink
                            Accessible.ignored: true
                        }
                        Text {
                            text: row.server
                            font.pixelSize: Typography.caption
                            font.weight: Font.DemiBold
                            color: Theme.muted
                            Accessible.ignored: true
                        }
                    }
                    Text {
                        text: row.route
                        font.pixelSize: Typography.subheadline
                        font.family: "monospace"
                        color: Theme.ink
                        Accessible.ignored: true
                    }
                    RowLayout {
                        visible: row.hasPhase
                        spacing: 5

                        Symbol {
                            name: row.phaseSymbol
                            visible: Symbols.has(row.phaseSymbol)
                            size: Typography.caption + 1
                            color: row.phaseColor
                        }
                        Text {
                            text: row.phaseTitle
                            font.pixelSize: Typography.caption
                            color: row.phaseColor
                            Accessible.ignored: true
                        }
                    }
                }
            }
        }
    }
}
