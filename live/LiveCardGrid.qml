import QtQuick
import Vorna.Ui

// The boards' cards in the adaptive columns (two in a regular window where both have room, else one): a card
// alone in its row keeps one column, and the cards of a row end together.
AdaptiveColumns {
    rowFit: ColumnsLayout.Fill
}
