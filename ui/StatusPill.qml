import QtQuick
import Vorna.Ui

// A report's status title in its verdict colour: give it the report's statusTitle() and Theme::verdictRole(state()).
Chip {
    property string statusTitle
    property int verdictColor: Theme.Pending

    text: statusTitle
    tint: Theme.roleColors[verdictColor]
}
