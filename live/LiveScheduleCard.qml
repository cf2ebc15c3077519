import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images

// One official schedule: callsign and status, the route with its flight type, the time, the briefing and the
// crew. Display only; read as one element.
Card {
    id: card

    // The texts of LiveScheduleCard::card.
    required property var schedule
    readonly property list<color> tints: [Theme.approved, Theme.ink, Theme.muted, Theme.slateText]

    objectName: "live.schedule." + card.schedule.id
    padding: 16
    spacing: 10
    Accessible.role: Accessible.StaticText
    Accessible.name: card.schedule.accessibleText

    RowLayout {
        Layout.fillWidth: true
        spacing: 6

        Text {
            Layout.fillWidth: true
            text: card.schedule.callsign
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: Typography.headline
            font.weight: Font.Black
            color: Theme.ink
        }
        Chip {
            text: card.schedule.statusText
            tint: card.tints[card.schedule.statusTint]
        }
    }
    RouteLine {
        Layout.fillWidth: true
        from: card.schedule.from
        to: card.schedule.to
        caption: card.schedule.caption
        tint: Qt.alpha(Theme.muted, 0.6)
        size: 20
        labelColor: Theme.muted
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 6

        Symbol {
            name: "clock"
            size: Typography.footnote + 2
            color: Theme.muted
        }
        Text {
            Layout.fillWidth: true
            text: card.schedule.timeText
            wrapMode: Text.Wrap
            font.pixelSize: Typography.footnote
            color: Theme.muted
        }
    }
    Text {
        Layout.fillWidth: true
        visible: card.schedule.briefing !== ""
        text: card.schedule.briefing
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        maximumLineCount: 4
        elide: Text.ElideRight
        font.pixelSize: Typography.footnote
        color: Theme.ink
    }
    Flow {
        Layout.fillWidth: true
        spacing: 6

        Chip {
            visible: card.schedule.crew.length === 0
            text: L.t("机组未指派")
            symbol: "person"
            tint: Theme.muted
        }
        Repeater {
            model: card.schedule.crew

            delegate: Chip {
                required property string modelData

                text: modelData
                symbol: "person.fill"
                tint: Theme.slateText
            }
        }
    }
}
