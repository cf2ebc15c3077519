import QtQuick
import Vorna.Main
import Vorna.Screenshots

// The smallest window, signed in from the keyboard once the intro has played, with the account switcher
// opened by Return on the account button: the popover stays below the window's title strip.
Main {
    // An empty part only waits.
    property list<string> typed: ["", "", "\tlichen\tfly-vornalia\r", "⇤\r"]

    // No newer release: its offer would take the keys.
    Component.onCompleted: SampleService.publishRelease("current")
}
