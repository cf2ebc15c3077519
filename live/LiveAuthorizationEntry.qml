import QtQuick
import Vorna.State
import Vorna.Live

// What the authorisation sheet holds: the vendor's sign-in page at `address`, whose end the page hears through
// `succeeded` or `failed`.
LiveAuthorizationBrowser {
    id: entry

    required property url address
    required property AppState appState
    signal succeeded
    signal failed(string message)

    objectName: "live.authorizationBrowser"
    url: entry.address
    api: entry.appState.api
    onCompleted: (ok, message) => ok ? entry.succeeded() : entry.failed(message)
}
