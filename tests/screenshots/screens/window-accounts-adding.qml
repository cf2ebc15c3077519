import QtQuick
import Vorna.Main
import Vorna.Screenshots

// The account popover of a signed-in window with "添加账号" opened from the keyboard: the popover grows with
// its form as far as the window has room, and its sign-out button stays in view.
Main {
    // An empty part only waits.
    property list<string> typed: ["", "", "\tlichen\tfly-vornalia\r", "⇤\r", "\t\t\t\t\r", ""]

    // No newer release: its offer would take the keys.
    Component.onCompleted: SampleService.publishRelease("current")
}
