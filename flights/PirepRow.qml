import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images

// One of the member's reports on a card: the route with its duration, the aircraft picture, the aircraft
// and livery, then the status, the multiplier and the submission day, and a rejected report's reason.
// Every text comes made from its list's roles.
Card {
    id: row

    required property string from
    required property string to
    required property string caption
    required property int verdict
    required property string statusTitle
    required property string aircraft
    required property string livery
    required property string multiplier
    required property string day
    required property string reason
    property bool showsPhoto: true

    padding: 16
    spacing: 10

    RouteLine {
        Layout.fillWidth: true
        from: row.from
        to: row.to
        caption: row.caption
        tint: Theme.roleColors[row.verdict]
        size: 24
        labelColor: Theme.muted
    }
    AircraftPhoto {
        Layout.fillWidth: true
        visible: row.showsPhoto
        aircraft: row.aircraft
        livery: row.livery
        nominalHeight: 108
    }
    ColumnLayout {
        Layout.fillWidth: true
        spacing: 2

        Text {
            Layout.fillWidth: true
            text: row.aircraft
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            font.weight: Font.DemiBold
            color: Theme.ink
        }
        Text {
            Layout.fillWidth: true
            text: row.livery
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font.pixelSize: Typography.caption
            color: Theme.muted
        }
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.line
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        StatusPill {
            statusTitle: row.statusTitle
            verdictColor: row.verdict
        }
        Chip {
            objectName: "pirep.row.multiplier"
            visible: row.multiplier.length > 0
            text: row.multiplier
            tint: Theme.accent
        }
        Item {
            Layout.fillWidth: true
        }
        Text {
            visible: row.day.length > 0
            text: row.day
            font.pixelSize: Typography.caption
            color: Theme.muted
        }
    }
    Text {
        Layout.fillWidth: true
        visible: row.reason.length > 0
        text: row.reason
        wrapMode: Text.Wrap
        font.pixelSize: Typography.caption
        font.weight: Font.DemiBold
        color: Theme.rejected
    }
}
