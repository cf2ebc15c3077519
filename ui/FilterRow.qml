import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A picker's title, never cut, and the picker beside it in the rest of the width; the title above it where
// beside it the picker would have less than the narrowest it goes.
GridLayout {
    id: filter

    property string title
    // The picker: the row's child after the title.
    readonly property Item picker: filter.children.length > 1 ? filter.children[1] : null

    Layout.fillWidth: true
    columns: !filter.picker || filter.width >= label.implicitWidth + columnSpacing + filter.picker.Layout.minimumWidth ? 2 : 1
    columnSpacing: 10
    rowSpacing: 6

    Text {
        id: label

        text: filter.title
        font.pixelSize: Typography.caption
        font.weight: Font.DemiBold
        color: Theme.muted
    }
}
