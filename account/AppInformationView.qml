import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights
import Vorna.Account

// The application information: the brand, this build's version, the member service, the legal
// texts and the reset of the aircraft picture caches.
Page {
    id: page
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("软件信息")

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property pageRoute route

    objectName: "account.information"

    AppInformationModel {
        id: information
    }

    BackButton {
        visible: page.route.stack !== NavigationStack.NoStack
        onClicked: page.navigation.pop(page.route.stack)
    }
    Text {
        text: L.t("软件信息")
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        Accessible.role: Accessible.Heading
    }

    ColumnLayout {
        Layout.fillWidth: true
        Layout.topMargin: 8
        Layout.bottomMargin: 8
        spacing: 10

        BrandLogo {
            Layout.alignment: Qt.AlignHCenter
            size: 76
        }
        // Filling the row, the texts let the column span it, so the brand stands in the row's middle.
        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: L.t("VORNA")
            font.pixelSize: Typography.title3
            font.weight: Font.Black
            color: Theme.ink
        }
        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: L.t("Vornalia成员中心")
            font.pixelSize: Typography.footnote
            color: Theme.muted
        }
    }

    FormSection {
        SettingsValueRow {
            objectName: "information.version"
            title: L.t("版本")
            value: information.version
        }
        SettingsValueRow {
            objectName: "information.service"
            title: L.t("服务")
            value: information.serviceHost
        }
    }

    FormSection {
        title: L.t("条款与隐私")

        SettingsRow {
            objectName: "information.terms"
            title: L.t("使用条款")
            symbol: "doc.text"
            onClicked: page.navigation.pushLegal(0)
        }
        SettingsRow {
            objectName: "information.privacy"
            title: L.t("隐私说明")
            symbol: "hand.raised"
            onClicked: page.navigation.pushLegal(1)
        }
    }

    FormSection {
        footer: L.t("图片按需下载，磁盘缓存额度 64 MB；清除后查看时会重新下载。")

        SettingsRow {
            objectName: "information.clearCache"
            title: L.t("清除飞机图片缓存")
            symbol: "trash"
            value: information.cacheCleared ? L.t("已清除") : ""
            trailingSymbol: ""
            onClicked: information.clearPictureCaches()
        }
    }
}
