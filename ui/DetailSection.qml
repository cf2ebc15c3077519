import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A titled section of a detail page: a card whose first row is the symbol in the tint and the title.
Card {
    id: section

    property string title
    property string symbol
    property color tint: Theme.accent

    padding: 18
    spacing: 12

    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        Symbol {
            visible: section.symbol.length > 0
            name: section.symbol
            size: Typography.headline + 4
            color: section.tint
        }
        Text {
            Layout.fillWidth: true
            text: section.title
            elide: Text.ElideRight
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            color: Theme.ink
        }
    }
}
