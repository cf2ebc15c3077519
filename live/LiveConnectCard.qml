import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Shown while the member's Infinite Flight account is not linked: what linking does, and the button that
// starts it.
Card {
    id: card

    signal connect

    padding: 18
    spacing: 14

    RowLayout {
        spacing: 8

        Symbol {
            name: "link"
            color: Theme.ink
        }
        Text {
            text: L.t("连接 Infinite Flight")
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            color: Theme.ink
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
    }
    Text {
        Layout.fillWidth: true
        text: L.t("连接与你的 VORNA 账号一致的 Infinite Flight 账号，并共享 VORNA Live 组织。")
        wrapMode: Text.Wrap
        font.pixelSize: Typography.subheadline
        color: Theme.muted
    }
    GlassButton {
        objectName: "live.connect"
        Layout.fillWidth: true
        prominent: true
        topPadding: 10
        bottomPadding: 10
        text: L.t("连接 Infinite Flight")
        onClicked: card.connect()
    }
}
