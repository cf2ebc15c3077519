import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Account

// The account tab's root: the member's card leading to their profile page, then the logbook
// (members only), the settings, the application information and the leaderboard. Every row pushes its page
// on the account stack.
Page {
    id: root

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property pageRoute route

    objectName: "shell.account"

    Text {
        text: L.t("其他")
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        Accessible.role: Accessible.Heading
    }

    Card {
        padding: 8
        spacing: 0

        AbstractButton {
            id: card

            Layout.fillWidth: true
            objectName: "account.profile"
            focusPolicy: Qt.StrongFocus
            // Heard as it reads: the name, then the callsign.
            Accessible.name: ViewRules.combined([root.appState.username, root.appState.hasProfile ? root.appState.formattedCallsign : ""])
            onClicked: root.navigation.pushPage(NavigationStack.AccountStack, ShellPage.Profile)

            background: Rectangle {
                radius: 12
                color: card.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent"

                FocusRing {
                    control: card
                    radius: 12
                }
            }
            contentItem: RowLayout {
                spacing: 14

                Item {
                    implicitWidth: 0
                    implicitHeight: 68
                }
                AccountAvatar {
                    size: 52
                    ring: "transparent"
                    image: root.appState.avatar
                }
                ColumnLayout {
                    spacing: 5

                    Text {
                        text: root.appState.username.length > 0 ? root.appState.username : "—"
                        font.pixelSize: Typography.headline
                        font.weight: Font.DemiBold
                        color: Theme.ink
                    }
                    Text {
                        text: root.appState.hasProfile ? root.appState.formattedCallsign : "—"
                        font.pixelSize: Typography.subheadline
                        color: Theme.muted
                    }
                }
                Item {
                    Layout.fillWidth: true
                }
                Symbol {
                    name: "chevron.right"
                    size: Typography.footnote
                    color: Theme.muted
                    Accessible.ignored: true
                }
            }
        }
    }

    Card {
        padding: 8
        spacing: 2

        SettingsRow {
            objectName: "account.logbook"
            // Members only: the staff roles have no logbook of their own.
            visible: root.appState.signedIn && root.appState.role === "member"
            title: L.t("Logbook")
            symbol: "book.closed.fill"
            // It opens the logbook's sheet, not a page on this stack: no chevron.
            trailingSymbol: ""
            onClicked: root.navigation.openLogbook()
        }
        SettingsRow {
            objectName: "account.settings"
            title: L.t("设置")
            symbol: "gearshape"
            onClicked: root.navigation.pushPage(NavigationStack.AccountStack, ShellPage.Settings)
        }
        SettingsRow {
            objectName: "account.information"
            title: L.t("软件信息")
            symbol: "info.circle"
            onClicked: root.navigation.pushPage(NavigationStack.AccountStack, ShellPage.Information)
        }
        SettingsRow {
            objectName: "account.leaderboard"
            title: L.t("联盟排行榜")
            symbol: "trophy"
            onClicked: root.navigation.pushPage(NavigationStack.AccountStack, ShellPage.Leaderboard)
        }
    }
}
