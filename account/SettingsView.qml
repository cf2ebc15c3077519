import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights
import Vorna.Account

// The settings: the appearance, stored in "appTheme" and applied to every window at once, and
// the language, which follows the desktop's.
Page {
    id: page
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("设置")

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property pageRoute route

    objectName: "account.preferences"

    LanguageSettings {
        id: language
    }

    BackButton {
        visible: page.route.stack !== NavigationStack.NoStack
        onClicked: page.navigation.pop(page.route.stack)
    }
    Text {
        text: L.t("设置")
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        Accessible.role: Accessible.Heading
    }

    FormSection {
        RowLayout {
            Layout.fillWidth: true

            Text {
                Layout.fillWidth: true
                text: L.t("主题")
                font.pixelSize: Typography.body
                color: Theme.ink
            }
            SegmentedPicker {
                Layout.preferredWidth: 300
                objectName: "settings.theme"
                Accessible.name: L.t("主题")
                options: [{
                        "title": L.t("跟随系统"),
                        "value": 0
                    }, {
                        "title": L.t("白色"),
                        "value": 1
                    }, {
                        "title": L.t("黑色"),
                        "value": 2
                    }]
                // A stored value other than the three matches no option.
                current: Theme.appearance === "system" ? 0 : Theme.appearance === "light" ? 1 : Theme.appearance === "dark" ? 2 : -1
                onChosen: value => Theme.appearance = value === 1 ? "light" : value === 2 ? "dark" : "system"
            }
        }
    }

    FormSection {
        footer: language.canOpen ? L.t("在系统设置中更改语言，App 会在下次打开时使用新语言。") : L.t("App 的语言跟随系统语言设置，下次打开时生效。")

        SettingsRow {
            objectName: "settings.language"
            title: L.t("语言")
            value: language.currentName
            trailingSymbol: language.canOpen ? "arrow.up.forward.app" : ""
            enabled: language.canOpen
            onClicked: language.open()
        }
    }
}
