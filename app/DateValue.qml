import QtQuick
import Vorna.App

// The text of a Unix time in seconds or milliseconds; NaN (the default), zero or less shows "—".
Text {
    property real timestamp: NaN

    text: ViewRules.dateText(timestamp)
    font.pixelSize: Typography.body
    color: Theme.ink
}
