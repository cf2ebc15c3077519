pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Portal
import Vorna.Community
import Vorna.Shell

// The signed-in window: a fixed sidebar of tabs with the account button at its foot, and the page of the
// selected tab beside it, made afresh on every change of tab.
Item {
    id: shell

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property bool showingAccounts: false

    // The page of each place in the window; a screen not in the app yet names itself.
    function component(page: int): Component {
        switch (page) {
        case ShellPage.Dashboard:
            return dashboard;
        case ShellPage.Workbench:
            return workbench;
        case ShellPage.Flights:
            return flights;
        case ShellPage.Live:
            return live;
        case ShellPage.Map:
            return map;
        case ShellPage.Account:
            return account;
        case ShellPage.Event:
            return eventPage;
        case ShellPage.FlightRoute:
            return flightRoute;
        case ShellPage.AccountRoute:
            return accountRoute;
        case ShellPage.Leaderboard:
            return leaderboard;
        default:
            return null;
        }
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            id: sidebar

            Layout.preferredWidth: 220
            Layout.fillHeight: true
            color: Theme.surface
            objectName: "shell.sidebar"

            ListView {
                id: rows

                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: accountButton.top
                anchors.topMargin: 14
                interactive: false
                spacing: 0
                model: SidebarModel {
                    userRole: shell.appState.role
                }
                delegate: ItemDelegate {
                    id: row

                    required property string title
                    required property string symbol
                    required property int tab
                    readonly property bool selected: shell.navigation.selected === row.tab

                    width: ListView.view.width
                    height: 34
                    padding: 0
                    focusPolicy: Qt.StrongFocus
                    Accessible.name: row.title
                    // Choosing the selected tab again changes nothing.
                    onClicked: shell.navigation.selected = row.tab

                    background: Rectangle {
                        anchors.fill: parent
                        anchors.leftMargin: 10
                        anchors.rightMargin: 10
                        anchors.topMargin: 2
                        anchors.bottomMargin: 2
                        radius: 20
                        color: row.selected ? Qt.alpha(Theme.ink, 0.1) : (row.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent")

                        FocusRing {
                            control: row
                            spread: 1
                            radius: parent.radius + spread
                        }
                    }
                    contentItem: RowLayout {
                        spacing: 10

                        Item {
                            Layout.preferredWidth: 12
                        }
                        Symbol {
                            Layout.preferredWidth: 20
                            name: row.symbol
                            size: 17
                            color: Theme.accent
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.title
                            elide: Text.ElideRight
                            font.pixelSize: Typography.body
                            font.weight: row.selected ? Font.DemiBold : Font.Normal
                            color: Theme.ink
                        }
                    }
                }
            }

            ItemDelegate {
                id: accountButton

                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                anchors.bottomMargin: 10
                objectName: "account.avatar"
                focusPolicy: Qt.StrongFocus
                Accessible.name: L.t("切换账号")
                leftPadding: 12
                rightPadding: 12
                topPadding: 10
                bottomPadding: 10
                onClicked: {
                    accounts.openedByKeyboard = accountButton.visualFocus;
                    shell.showingAccounts = true;
                }

                background: Rectangle {
                    radius: 14
                    color: accountButton.hovered ? Qt.alpha(Theme.ink, 0.06) : "transparent"

                    FocusRing {
                        control: accountButton
                        radius: parent.radius + spread
                    }
                }
                contentItem: RowLayout {
                    spacing: 10

                    AccountAvatar {
                        size: 34
                        ring: "transparent"
                        image: shell.appState.avatar
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 2

                        Text {
                            Layout.fillWidth: true
                            text: shell.appState.username
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pixelSize: Typography.headline
                            font.weight: Font.DemiBold
                            color: Theme.ink
                        }
                        Text {
                            Layout.fillWidth: true
                            text: shell.appState.hasProfile ? shell.appState.formattedCallsign : "IFC"
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pixelSize: Typography.caption
                            color: Theme.muted
                        }
                    }
                    Symbol {
                        name: "chevron.up.chevron.down"
                        size: Typography.caption
                        color: Theme.muted
                    }
                }
            }

            // Beside the account button, its foot level with the button's, and kept inside the shell: a
            // small window shortens it rather than letting it cover the window's title strip.
            Popup {
                id: accounts

                // Closing gives the focus back to the button, with its ring when the keyboard opened it.
                property bool openedByKeyboard: false

                parent: shell
                x: sidebar.width + 8
                y: Math.max(8, sidebar.y + accountButton.y + accountButton.height - height)
                width: 380
                height: Math.min(520, shell.height - 16)
                padding: 0
                focus: true
                visible: shell.showingAccounts
                onClosed: {
                    shell.showingAccounts = false;
                    // The popup hands the focus back by itself, but as if by no key: the ring needs its reason.
                    const reason = accounts.openedByKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason;
                    Qt.callLater(() => {
                        accountButton.forceActiveFocus(reason);
                        accountButton.focusReason = reason;
                    });
                }
                background: Rectangle {
                    radius: 16
                    color: Theme.surface
                    border.color: Theme.line
                }

                // The account switcher takes this place; until then it names itself and offers the way out.
                ColumnLayout {
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 14

                    FormHeader {
                        title: L.t("切换账号")
                        symbol: "person.crop.circle"
                    }
                    RowLayout {
                        spacing: 12

                        AccountAvatar {
                            size: 44
                            image: shell.appState.avatar
                        }
                        ColumnLayout {
                            spacing: 2

                            Text {
                                text: shell.appState.displayName
                                font.pixelSize: Typography.headline
                                font.weight: Font.DemiBold
                                color: Theme.ink
                            }
                            Text {
                                text: shell.appState.username
                                font.pixelSize: Typography.caption
                                color: Theme.muted
                            }
                        }
                    }
                    Item {
                        Layout.fillHeight: true
                    }
                    GlassButton {
                        Layout.alignment: Qt.AlignHCenter
                        objectName: "account.logout"
                        text: L.t("退出登录")
                        symbol: "rectangle.portrait.and.arrow.right"
                        enabled: !shell.appState.accountBusy
                        onClicked: {
                            shell.showingAccounts = false;
                            shell.appState.startSignOut();
                        }
                    }
                }
            }
        }

        Rectangle {
            Layout.preferredWidth: 1
            Layout.fillHeight: true
            color: Theme.line
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            // The tab's root page; made afresh on every change of tab.
            PageHost {
                id: root

                anchors.fill: parent
                visible: !stacked.visible
                appState: shell.appState
                memberData: shell.memberData
                navigation: shell.navigation
                key: shell.navigation.selected
                page: shell.component(shell.navigation.rootPage)
            }

            // The top page of the tab's stack, when something was opened on it.
            PageHost {
                id: stacked

                anchors.fill: parent
                visible: shell.navigation.stackDepth > 0
                appState: shell.appState
                memberData: shell.memberData
                navigation: shell.navigation
                key: shell.navigation.stackKey
                page: shell.component(shell.navigation.stackPage)
            }
        }
    }

    Component {
        id: dashboard

        DashboardView {}
    }
    Component {
        id: workbench

        StandInPage {
            objectName: "shell.workbench"
            name: L.t("审核工作台")
            symbol: "checkmark.seal"
        }
    }
    Component {
        id: flights

        StandInPage {
            name: L.t("飞行报告")
            symbol: "doc.text"
        }
    }
    Component {
        id: live

        StandInPage {
            name: L.t("Live 机队")
            symbol: "airplane.circle"
        }
    }
    Component {
        id: map

        StandInPage {
            name: L.t("实时地图")
            symbol: "map"
        }
    }
    Component {
        id: account

        StandInPage {
            id: accountRoot

            name: L.t("账号与设置")
            symbol: "person.crop.circle"

            // The one row of the account tab that has its page already.
            GlassButton {
                objectName: "account.leaderboard"
                text: L.t("联盟排行榜")
                symbol: "trophy"
                onClicked: accountRoot.navigation.pushLeaderboard()
            }
        }
    }
    Component {
        id: leaderboard

        Item {
            id: leaderboardPage

            required property AppState appState
            required property MemberData memberData
            required property MemberNavigation navigation

            LeaderboardView {
                anchors.fill: parent
                appState: leaderboardPage.appState
                memberData: leaderboardPage.memberData
                showsBack: true
                onBack: leaderboardPage.navigation.popAccount()
            }
        }
    }
    Component {
        id: eventPage

        StandInPage {
            name: L.t("活动详情")
            symbol: "calendar"
            showsBack: true
            onBack: shell.navigation.popEvent()
        }
    }
    Component {
        id: flightRoute

        StandInPage {
            name: L.t("飞行报告")
            symbol: "doc.text"
            showsBack: true
            onBack: shell.navigation.popFlight()
        }
    }
    Component {
        id: accountRoute

        StandInPage {
            name: L.t("账号与设置")
            symbol: "person.crop.circle"
            showsBack: true
            onBack: shell.navigation.popAccount()
        }
    }
}
