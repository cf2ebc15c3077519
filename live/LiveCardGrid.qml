import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The boards' cards in the adaptive columns (two in a regular window where both have room, else one), laid out as a
// grid so that the cards of one row end together. Each card takes an equal share of the width and the row's
// height: Layout.preferredWidth 1 with Layout.fillWidth, and Layout.fillHeight.
GridLayout {
    Layout.fillWidth: true
    columns: ViewRules.columnCount(ViewRules.isRegular(Window.width), width, columnSpacing)
    columnSpacing: 16
    rowSpacing: 16
}
