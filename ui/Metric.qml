import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A dashboard figure: the symbol and title over the value, which stays on one line and shrinks to 60 %.
Card {
    id: metric

    property string title
    property string value
    property string symbol

    padding: 14
    spacing: 8
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.combined([title, value])

    RowLayout {
        Layout.fillWidth: true
        spacing: 6

        Symbol {
            name: metric.symbol
            size: Typography.caption + 3
            color: Theme.accent
        }
        Text {
            Layout.fillWidth: true
            text: metric.title
            elide: Text.ElideRight
            font.pixelSize: Typography.caption
            color: Theme.muted
            Accessible.ignored: true
        }
    }
    Text {
        Layout.fillWidth: true
        text: metric.value
        maximumLineCount: 1
        elide: Text.ElideRight
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.round(Typography.title3 * 0.6)
        font.pixelSize: Typography.title3
        font.weight: Font.Bold
        color: Theme.ink
        Accessible.ignored: true
    }
}
