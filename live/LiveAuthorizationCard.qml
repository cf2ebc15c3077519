import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Under the boards while linked: pass the Infinite Flight sign-in again (to share other organisations), or
// unlink the account after a confirmation.
Card {
    id: card

    signal reconnect
    signal disconnect

    padding: 8
    spacing: 0

    PressableStyle {
        objectName: "live.reconnect"
        Layout.fillWidth: true
        Layout.leftMargin: 8
        Layout.rightMargin: 8
        cornerRadius: 10
        focusPolicy: Qt.StrongFocus
        Accessible.role: Accessible.Button
        Accessible.name: L.t("重新授权 / 更换共享组织")
        Keys.onReturnPressed: card.reconnect()
        Keys.onEnterPressed: card.reconnect()
        onClicked: card.reconnect()

        contentItem: RowLabel {
            opacity: card.enabled ? 1 : 0.45
            title: L.t("重新授权 / 更换共享组织")
            symbol: "arrow.triangle.2.circlepath"
            tint: Theme.slate
            chevron: true
        }
    }
    Rectangle {
        Layout.fillWidth: true
        Layout.leftMargin: 54
        implicitHeight: 1
        color: Theme.line
    }
    PressableStyle {
        objectName: "live.disconnect"
        Layout.fillWidth: true
        Layout.leftMargin: 8
        Layout.rightMargin: 8
        cornerRadius: 10
        focusPolicy: Qt.StrongFocus
        Accessible.role: Accessible.Button
        Accessible.name: L.t("断开 Infinite Flight")
        Keys.onReturnPressed: card.disconnect()
        Keys.onEnterPressed: card.disconnect()
        onClicked: card.disconnect()

        contentItem: RowLabel {
            opacity: card.enabled ? 1 : 0.45
            title: L.t("断开 Infinite Flight")
            symbol: "link"
            tint: Theme.rejected
        }
    }
}
