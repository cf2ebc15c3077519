import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.Flights

// The member's latest Infinite Flight flight as one card: its state, callsign, aircraft with its picture,
// the route with its estimated progress, a note on a finished flight and the line inviting a report. It
// has no control of its own: the dashboard makes it the label of one button. Assistive technology reads
// it as one element.
Card {
    id: card

    required property LatestFlightModel model
    property string title

    padding: 16
    spacing: 10
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.combined([card.title, card.model.accessibleText])

    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        Text {
            Layout.fillWidth: true
            text: card.title
            elide: Text.ElideRight
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            color: Theme.ink
            Accessible.ignored: true
        }
        // A live flight's phase in its own colour (FlightPhase), else the muted colour.
        Chip {
            text: card.model.phaseTitle
            tint: card.model.phaseTinted ? card.model.phaseColor : Theme.muted
            Accessible.ignored: true
        }
    }
    Text {
        Layout.fillWidth: true
        text: card.model.callsign
        elide: Text.ElideRight
        font.pixelSize: Typography.title2 + 5
        font.weight: Font.Bold
        color: Theme.ink
        Accessible.ignored: true
    }
    Text {
        Layout.fillWidth: true
        text: card.model.aircraftLine
        wrapMode: Text.Wrap
        font.pixelSize: Typography.subheadline
        color: Theme.muted
        Accessible.ignored: true
    }
    AircraftPhoto {
        Layout.fillWidth: true
        objectName: "latest.photo"
        visible: card.model.showsPhoto
        aircraft: card.model.aircraft
        livery: card.model.livery
        nominalHeight: 96
        Accessible.ignored: true
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        Text {
            text: card.model.departure
            font.pixelSize: Typography.subheadline
            font.weight: Font.Bold
            color: Theme.ink
            Accessible.ignored: true
        }
        ProgressBar {
            Layout.fillWidth: true
            implicitHeight: 10
            value: card.model.progress
            tint: Theme.approved
            Accessible.ignored: true
        }
        Text {
            text: card.model.arrival
            font.pixelSize: Typography.subheadline
            font.weight: Font.Bold
            color: Theme.ink
            Accessible.ignored: true
        }
    }
    Text {
        Layout.fillWidth: true
        text: card.model.progressText
        horizontalAlignment: Text.AlignHCenter
        font.pixelSize: Typography.caption
        color: Theme.muted
        Accessible.ignored: true
    }
    Text {
        Layout.fillWidth: true
        visible: card.model.hasNote
        text: card.model.note
        wrapMode: Text.Wrap
        font.pixelSize: Typography.caption
        color: Theme.muted
        Accessible.ignored: true
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.line
    }
    RowLayout {
        Layout.alignment: Qt.AlignRight
        spacing: 4

        Text {
            text: card.model.action
            font.pixelSize: Typography.subheadline
            font.weight: Font.DemiBold
            color: Theme.accent
            Accessible.ignored: true
        }
        Symbol {
            name: "arrow.right"
            size: Typography.subheadline
            color: Theme.accent
            Accessible.ignored: true
        }
    }
}
