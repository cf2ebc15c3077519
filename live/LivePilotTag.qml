import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Live

// Who flies the aircraft, or who flew it last and how long ago; nothing, taking no room, when neither is
// known.
RowLayout {
    id: tag

    required property liveAircraftCard item
    readonly property bool current: tag.item.currentPilot
    readonly property color tint: tag.current ? Theme.approved : Theme.muted

    visible: tag.item.showsPilot
    spacing: 4

    Symbol {
        name: tag.current ? "person.fill" : "clock.arrow.circlepath"
        size: Typography.caption + 1
        color: tag.tint
    }
    Text {
        text: tag.item.pilotLead
        font.pixelSize: Typography.caption
        color: tag.tint
    }
    // Whole, where the row has room (see the aircraft card's route).
    Text {
        Layout.minimumWidth: 4
        Layout.preferredWidth: Math.ceil(implicitWidth)
        Layout.maximumWidth: Math.ceil(implicitWidth)
        text: tag.item.pilotName
        textFormat: Text.PlainText
        maximumLineCount: 1
        elide: Text.ElideRight
        font.pixelSize: Typography.caption
        font.weight: Font.Bold
        color: tag.tint
    }
    Text {
        visible: text.length > 0
        text: tag.item.pilotAgo
        font.pixelSize: Typography.caption
        color: tag.tint
    }
}
