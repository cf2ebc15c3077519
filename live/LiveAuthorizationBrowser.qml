import QtQuick
import QtWebEngine
import Vorna.Ui
import Vorna.State
import Vorna.Live
import Vorna.LiveWeb

// The vendor's Infinite Flight sign-in in an embedded browser that keeps no website data. The navigation to
// our callback is caught, never loaded, and replayed through the member's client; `completed` says once how
// the linking ended.
Item {
    id: browser

    // The vendor's authorisation page, already checked by the Live page.
    required property url url
    required property APIClient api
    // The Live page, told how the linking ended even when the browser has gone by then.
    property LiveTabModel livePage: null
    signal completed(bool ok, string message)

    // Made before the view: it readies what the web engine needs as it starts.
    LiveAuthorizationCoordinator {
        id: coordinator

        url: browser.url
        client: browser.api
        livePage: browser.livePage
        onCompleted: (ok, message) => browser.completed(ok, message)
    }

    // Nothing of the sign-in is kept: every opening starts without the vendor's cookies.
    WebEngineProfile {
        id: privateProfile

        offTheRecord: true
    }

    WebEngineView {
        id: web

        objectName: "live.authorization.web"
        anchors.fill: parent
        profile: privateProfile
        activeFocusOnPress: true
        Accessible.role: Accessible.WebDocument
        Accessible.name: L.t("Infinite Flight 授权")
        onNavigationRequested: request => LiveWebEngine.judge(request, coordinator)
        onLoadingChanged: info => LiveWebEngine.loading(info, coordinator)
        onCertificateError: error => LiveWebEngine.judgeCertificate(error, coordinator)
        // The page is loaded once, when the browser is made.
        Component.onCompleted: {
            coordinator.start();
            web.url = browser.url;
        }
    }

    // The page has the keyboard: the accent outline the app's controls show.
    Rectangle {
        anchors.fill: web
        visible: web.activeFocus
        color: "transparent"
        border.color: Theme.accent
        border.width: 2
    }
}
