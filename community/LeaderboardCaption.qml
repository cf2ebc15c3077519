import QtQuick
import Vorna.Ui

// A leaderboard row's caption (the member's time and landings, the livery, the airport's code) in the app's
// fonts, Chinese and emoji among them; `codes` in a fixed-pitch face first.
Text {
    property bool codes: false

    elide: Text.ElideRight
    font: Typography.font(Typography.caption, codes)
    color: Theme.muted
}
