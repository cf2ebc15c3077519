import QtQuick
import Vorna.Main
import Vorna.Screenshots

// The app's menu opened from the keyboard: Alt pressed and let go on its own, once the intro has played.
// Its rows show their keyboard letters and "退出" its shortcut.
Main {
    property list<string> typed: ["", "⌥"]

    // No newer release: its offer would take the keys.
    Component.onCompleted: SampleService.publishRelease("current")
}
