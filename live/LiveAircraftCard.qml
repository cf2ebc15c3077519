import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.Live

// One aircraft of the fleet: registration, type and status, its picture, the live route with its figures or
// the route it is waiting on, and who flew it with its schedule count. It only shows; the board around it
// decides what a press opens.
Card {
    id: card

    required property liveAircraftCard item

    padding: 14
    spacing: 8
    Accessible.role: Accessible.StaticText
    Accessible.name: card.item.accessibleName

    RowLayout {
        Layout.fillWidth: true
        spacing: 10

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 3

            Text {
                Layout.fillWidth: true
                text: card.item.registration
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: Typography.title3
                font.weight: Font.Bold
                color: Theme.ink
                Accessible.ignored: true
            }
            Text {
                Layout.fillWidth: true
                text: card.item.typeText
                textFormat: Text.PlainText
                maximumLineCount: 1
                elide: Text.ElideRight
                font.pixelSize: Typography.caption
                color: Theme.muted
                Accessible.ignored: true
            }
        }
        Chip {
            Layout.alignment: Qt.AlignTop
            Layout.leftMargin: 6
            text: card.item.statusText
            symbol: card.item.activitySymbol
            tint: Theme.roleColors[card.item.activityTint]
            Accessible.ignored: true
        }
    }

    AircraftPhoto {
        Layout.fillWidth: true
        aircraft: card.item.aircraftName
        livery: card.item.liveryName
        nominalHeight: 72
        quiet: true
    }

    RouteLine {
        Layout.fillWidth: true
        visible: card.item.showsLiveRoute
        from: card.item.departure
        to: card.item.arrival
        caption: card.item.phase
        tint: Theme.roleColors[card.item.activityTint]
        size: 20
        labelColor: Theme.muted
        Accessible.ignored: true
    }
    Text {
        Layout.fillWidth: true
        visible: card.item.showsLiveRoute && card.item.figures.length > 0
        text: card.item.figures
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        font.pixelSize: Typography.caption
        color: Theme.muted
        Accessible.ignored: true
    }

    Rectangle {
        Layout.fillWidth: true
        visible: card.item.showsIdleRoute
        implicitHeight: idleRow.implicitHeight + 20
        radius: 12
        color: Qt.alpha(Theme.sunken, 0.6)

        RowLayout {
            id: idleRow

            anchors.fill: parent
            anchors.leftMargin: 12
            anchors.rightMargin: 12
            spacing: 8

            Symbol {
                name: "point.topleft.down.to.point.bottomright.curvepath"
                color: Theme.muted
            }
            // Its whole width where the row has room: the layout places items on whole points, and a text
            // even a fraction narrower than itself is cut.
            Text {
                Layout.minimumWidth: 4
                Layout.preferredWidth: Math.ceil(implicitWidth)
                Layout.maximumWidth: Math.ceil(implicitWidth)
                text: card.item.idleRouteText
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: Typography.subheadline
                font.weight: Font.Bold
                color: Theme.ink
                Accessible.ignored: true
            }
            Text {
                Layout.fillWidth: true
                text: card.item.idleRouteLabel
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: Typography.caption
                color: Theme.muted
                Accessible.ignored: true
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        visible: card.item.showsFooter
        spacing: 8

        // The tag keeps its own width and gives way first when the row is short.
        LivePilotTag {
            Layout.preferredWidth: Math.ceil(implicitWidth)
            Layout.maximumWidth: Math.ceil(implicitWidth)
            item: card.item
        }
        Item {
            Layout.fillWidth: true
            Layout.minimumWidth: 6
        }
        Text {
            visible: text.length > 0
            text: card.item.scheduleCount
            font.pixelSize: Typography.caption
            font.weight: Font.DemiBold
            color: Theme.muted
            Accessible.ignored: true
        }
        Symbol {
            name: "chevron.right"
            size: Typography.footnote
            color: Qt.alpha(Theme.muted, 0.6)
        }
    }
}
