import QtQuick
import Vorna.Main
import Vorna.Updates
import Vorna.Screenshots

// The app's window with an updater of its own, so each screen starts before any check. With `askFromMenu`
// the member also asks from the menu once the launch check is over, as "检查更新…" does.
Main {
    id: window

    property bool askFromMenu: false
    property bool asked: false
    // Lets the brand intro end under the alert.
    property list<string> typed: [""]

    updater: SampleService.newUpdater()

    Connections {
        target: window.updater

        function onCheckingChanged() {
            if (window.askFromMenu && !window.updater.checking && !window.asked) {
                window.asked = true;
                window.updater.startCheck(true);
            }
        }
    }
}
