import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A picker's title, never cut, and the picker beside it in the rest of the width.
RowLayout {
    id: filter

    property string title

    Layout.fillWidth: true
    spacing: 10

    Text {
        text: filter.title
        font.pixelSize: Typography.caption
        font.weight: Font.DemiBold
        color: Theme.muted
    }
}
