import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State

// What the authorisation sheet holds: the vendor's sign-in page at `address`, whose end the page hears through
// `succeeded` or `failed`. Until the sign-in browser is in the app, a card that names itself.
Item {
    id: entry

    required property url address
    required property AppState appState
    signal succeeded
    signal failed(string message)

    objectName: "live.authorizationBrowser"

    Card {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        padding: 24
        spacing: 10

        FormHeader {
            title: L.t("Infinite Flight 授权")
            symbol: "link"
        }
        Text {
            Layout.fillWidth: true
            text: L.t("这一页即将加入成员中心。")
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
    }
}
