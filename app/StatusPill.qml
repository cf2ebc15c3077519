import QtQuick
import Vorna.App

// A report's status title in its verdict colour: give it the report's statusTitle() and verdictColor().
Chip {
    property string statusTitle
    property int verdictColor: Theme.Pending

    text: statusTitle
    tint: Theme.role(verdictColor)
}
