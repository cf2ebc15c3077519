import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Two equal columns in a regular-width window, one in a compact one; children keep their order and stand
// at the top of their row.
ColumnsLayout {
    Layout.fillWidth: true
    columns: ViewRules.columnCount(ViewRules.isRegular(Window.width))
    spacing: 16
    rowSpacing: spacing
}
