import QtQuick
import Vorna.State
import Vorna.Live

// What the authorisation sheet holds: the vendor's sign-in page at `address`, whose end it tells the Live
// page's `portal`.
LiveAuthorizationBrowser {
    id: entry

    required property url address
    required property AppState appState
    required property LivePortalModel portal

    objectName: "live.authorizationBrowser"
    url: entry.address
    // Made by address, the browser may bind before its properties are given.
    api: entry.appState?.api ?? null
    onCompleted: (ok, message) => ok ? entry.portal.authorizationSucceeded() : entry.portal.authorizationFailed(message)
}
