import QtQuick
import Vorna.Ui

// The header of a form section: its symbol, when it has one, in the accent and the title as given (no
// upper-casing).
Row {
    id: header

    property string title
    property string symbol

    spacing: 6
    Accessible.role: Accessible.Heading
    Accessible.name: title

    Symbol {
        anchors.verticalCenter: parent.verticalCenter
        visible: header.symbol.length > 0
        name: header.symbol
        size: Typography.footnote + 3
        color: Theme.accent
    }
    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: header.title
        font.pixelSize: Typography.footnote
        font.weight: Font.DemiBold
        font.capitalization: Font.MixedCase
        color: Theme.muted
        Accessible.ignored: true
    }
}
