import QtQuick
import Vorna.Ui

// The text of a Unix time in seconds or milliseconds; NaN (the default), zero or less shows "—".
Text {
    property real timestamp: NaN

    text: ViewRules.dateText(timestamp)
    font.pixelSize: Typography.body
    color: Theme.ink
}
