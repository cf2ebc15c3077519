import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Nothing to show: a symbol, what would stand here and, when there is one, why it does not yet.
Card {
    id: empty

    property string symbol
    property string title
    property string description

    padding: 18
    spacing: 12
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.combined([empty.title, empty.description])

    Symbol {
        Layout.alignment: Qt.AlignHCenter
        name: empty.symbol
        size: 40
        color: Theme.muted
    }
    Text {
        Layout.fillWidth: true
        text: empty.title
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: Typography.title3
        font.weight: Font.Bold
        color: Theme.ink
    }
    Text {
        Layout.fillWidth: true
        visible: text.length > 0
        text: empty.description
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: Typography.subheadline
        color: Theme.muted
    }
}
