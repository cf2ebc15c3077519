import QtQuick
import Vorna.State
import Vorna.Live

// What the authorisation sheet holds: the vendor's sign-in page at `address`, whose end it tells the Live
// page's `liveTab`.
LiveAuthorizationBrowser {
    id: entry

    required property url address
    required property AppState appState
    required property LiveTabModel liveTab

    objectName: "live.authorizationBrowser"
    url: entry.address
    // Made by address, the browser may bind before its properties are given.
    api: entry.appState?.api ?? null
    onCompleted: (ok, message) => ok ? entry.liveTab.authorizationSucceeded() : entry.liveTab.authorizationFailed(message)
}
