import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.Live

// One schedule application: the aircraft's registration with the status in its colour, the route, and the
// reviewer's note when there is one.
Card {
    id: card

    required property liveApplicationCard item

    padding: 16
    spacing: 10
    Accessible.role: Accessible.StaticText
    Accessible.name: card.item.accessibleName

    RowLayout {
        Layout.fillWidth: true

        Text {
            Layout.fillWidth: true
            text: card.item.registration
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: Typography.headline
            font.weight: Font.Black
            color: Theme.ink
            Accessible.ignored: true
        }
        Chip {
            Layout.leftMargin: 6
            text: card.item.statusText
            tint: Theme.roleColors[card.item.tint]
            Accessible.ignored: true
        }
    }
    RouteLine {
        Layout.fillWidth: true
        from: card.item.departure
        to: card.item.arrival
        tint: Qt.alpha(Theme.roleColors[card.item.tint], 0.7)
        size: 20
        labelColor: Theme.muted
        Accessible.ignored: true
    }
    // The reviewer's note, only when there is one (a note of blanks is one).
    RowLayout {
        objectName: "live.applicationNote." + card.item.id
        Layout.fillWidth: true
        visible: card.item.reviewNote.length > 0
        spacing: 6

        Symbol {
            Layout.alignment: Qt.AlignTop
            name: "text.bubble"
            size: Typography.footnote + 1
            color: Theme.muted
        }
        Text {
            Layout.fillWidth: true
            text: card.item.reviewNote
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pixelSize: Typography.footnote
            color: Theme.muted
            Accessible.ignored: true
        }
    }
}
