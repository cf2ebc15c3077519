import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A section of a form: a header with its symbol, the rows, and an optional footnote under the card.
ColumnLayout {
    id: section

    property string title
    property string symbol
    property string footer
    default property alias rows: card.content

    Layout.fillWidth: true
    spacing: 6

    FormHeader {
        visible: section.title.length > 0
        title: section.title
        symbol: section.symbol
    }
    Card {
        id: card

        Layout.fillWidth: true
        padding: 14
        spacing: 10
    }
    Text {
        Layout.fillWidth: true
        visible: section.footer.length > 0
        text: section.footer
        wrapMode: Text.Wrap
        font.pixelSize: Typography.caption
        color: Theme.muted
    }
}
