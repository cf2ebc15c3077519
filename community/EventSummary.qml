import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.Community

// The summary of one event: its state chip and start time, the route with the estimated time, the route
// map (or the aircraft's picture) and, when asked, the line of its aircraft and livery.
ColumnLayout {
    id: summary

    property flightEvent event
    property real photoHeight: 150
    property bool showsMap: true
    property real mapHeight: 150
    property bool showsAircraftLine: false
    readonly property string accessibleText: model.accessibleText

    spacing: 12

    EventSummaryModel {
        id: model

        event: summary.event
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        Chip {
            text: model.chipText
            symbol: model.chipSymbol
            tint: model.started ? Theme.approved : Theme.accent
        }
        // The date takes the room the chip leaves, wrapping rather than running under it.
        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignRight
            wrapMode: Text.Wrap
            visible: model.startText.length > 0
            text: model.startText
            font.pixelSize: Typography.caption
            font.weight: Font.DemiBold
            color: Theme.muted
        }
    }

    RouteLine {
        Layout.fillWidth: true
        from: model.from
        to: model.to
        caption: model.durationText
        tint: Theme.accent
        size: 24
        labelColor: Theme.muted
    }

    EventRouteMap {
        Layout.fillWidth: true
        Layout.preferredHeight: summary.mapHeight
        visible: summary.showsMap
        from: model.from
        to: model.to

        // Rounds the map's corners to 14: a ring in the card's colour whose inner edge is the map's
        // rounded outline (Qt 6.4 clips only to rectangles).
        Rectangle {
            anchors.fill: parent
            anchors.margins: -14
            radius: 28
            color: "transparent"
            border.width: 14
            border.color: Theme.surface
        }
    }

    AircraftPhoto {
        Layout.fillWidth: true
        visible: !summary.showsMap
        aircraft: model.aircraft
        livery: model.livery
        nominalHeight: summary.photoHeight
    }

    Text {
        Layout.fillWidth: true
        visible: summary.showsAircraftLine
        text: model.aircraftLine
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: Typography.subheadline
        font.weight: Font.DemiBold
        color: Theme.ink
    }
}
