import QtQuick
import Vorna.State
import Vorna.Live

// What the authorisation sheet holds: the vendor's sign-in page at `address`, whose end the browser tells the
// Live tab's model (`liveTab`), also once the sheet has gone.
LiveAuthorizationBrowser {
    id: entry

    required property url address
    required property AppState appState
    required property LiveTabModel liveTab

    objectName: "live.authorizationBrowser"
    url: entry.address
    // Made by address, the browser may bind before its properties are given.
    api: entry.appState?.api ?? null
    livePage: entry.liveTab
}
