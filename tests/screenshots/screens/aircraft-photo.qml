import QtQuick
import Vorna.Ui
import Vorna.Images

// AircraftPhoto in each of its states, full and quiet, with pictures from the sample service.
Rectangle {
    id: screen

    color: Theme.paper

    component Sample: Rectangle {
        id: sample

        property string title
        property string aircraft
        property string livery
        property real nominalHeight: 108
        property bool quiet: false

        width: 250
        height: 250
        radius: 14
        color: Theme.surface
        border.color: Theme.line

        Column {
            anchors.fill: parent
            anchors.margins: 14
            spacing: 6

            Text {
                text: sample.title
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
            }

            Text {
                width: parent.width
                text: sample.aircraft + " · " + (sample.livery.length > 0 ? sample.livery : "—")
                elide: Text.ElideRight
                font.pixelSize: Typography.caption
                color: Theme.muted
            }

            AircraftPhoto {
                width: parent.width
                aircraft: sample.aircraft
                livery: sample.livery
                nominalHeight: sample.nominalHeight
                quiet: sample.quiet
            }
        }
    }

    Grid {
        anchors.fill: parent
        anchors.margins: 24
        columns: 4
        spacing: 16

        Sample { title: "Picture (WebP)"; aircraft: "Airbus A320"; livery: "Air China" }
        Sample { title: "Picture (PNG)"; aircraft: "Boeing 737-800"; livery: "China Southern" }
        Sample { title: "Loading"; aircraft: "Airbus A320"; livery: "Slow Sample" }
        Sample { title: "Unavailable"; aircraft: "Concorde"; livery: "Air France" }
        Sample { title: "Retry"; aircraft: "Airbus A320"; livery: "Missing Sample" }
        Sample { title: "Picture, height 40"; aircraft: "Airbus A350"; livery: "Sichuan Airlines"; nominalHeight: 40 }
        Sample { title: "Unavailable, quiet"; aircraft: "Airbus A320"; livery: ""; nominalHeight: 40; quiet: true }
        Sample { title: "Retry, quiet"; aircraft: "Airbus A320"; livery: "Missing Sample"; nominalHeight: 40; quiet: true }
    }
}
