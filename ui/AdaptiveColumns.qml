import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Two equal columns in a regular-width window where both have room, else one; children keep their order and stand
// at the top of their row.
ColumnsLayout {
    Layout.fillWidth: true
    columns: ViewRules.columnCount(ViewRules.isRegular(Window.width), width, spacing)
    spacing: 16
    rowSpacing: spacing
}
