pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Account
import Vorna.Shell

// The signed-in window: a fixed sidebar of tabs with the account button at its foot, and the pages of the
// selected tab beside it. A tab's pages are made the first time it shows and kept while another shows.
Item {
    id: shell

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property bool showingAccounts: false

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
                // Up and Down choose the tab above or below and take the keyboard there.
                function step(from: int, by: int) {
                    const next = rows.itemAtIndex(from + by) as AbstractButton;
                    if (!next)
                        return;
                    next.clicked();
                    next.forceActiveFocus(Qt.TabFocusReason);
                }
                model: SidebarModel {
                    userRole: shell.appState.role
                }
                // Buttons, not delegates: Qt 6.4's ItemDelegate is heard as a list item without a press.
                delegate: AbstractButton {
                    id: row

                    required property string title
                    required property string symbol
                    required property int tab
                    required property int index
                    readonly property bool selected: shell.navigation.selected === row.tab

                    width: ListView.view.width
                    height: 34
                    padding: 0
                    objectName: "shell.tab." + row.tab
                    focusPolicy: Qt.StrongFocus
                    Accessible.role: Accessible.Button
                    Accessible.name: row.title
                    Accessible.selected: row.selected
                    // Choosing the selected tab again changes nothing.
                    onClicked: shell.navigation.selected = row.tab
                    Keys.onUpPressed: rows.step(row.index, -1)
                    Keys.onDownPressed: rows.step(row.index, 1)

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

            AbstractButton {
                id: accountButton

                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                anchors.bottomMargin: 10
                objectName: "account.avatar"
                focusPolicy: Qt.StrongFocus
                implicitHeight: implicitContentHeight + topPadding + bottomPadding
                Accessible.role: Accessible.Button
                Accessible.name: L.t("切换账号")
                leftPadding: 12
                rightPadding: 12
                topPadding: 10
                bottomPadding: 10
                onClicked: shell.showingAccounts = true

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

                property string title: L.t("账号")
                // Closing gives the focus back to the button, with its ring when the keyboard opened it.
                readonly property ScreenFocus keyboard: ScreenFocus {
                    screen: switcherPanel
                    open: accounts.visible
                }

                parent: shell
                x: sidebar.width + 8
                y: Math.max(8, sidebar.y + accountButton.y + accountButton.height - height)
                width: 380
                // As tall as the panel's content (the add form opens it further), as long as the window has room.
                height: Math.min(switcherPanel.implicitHeight, shell.height - 16)
                padding: 0
                focus: true
                visible: shell.showingAccounts
                // While an account operation runs the panel stays.
                closePolicy: shell.appState.accountBusy ? Popup.NoAutoClose : Popup.CloseOnEscape | Popup.CloseOnPressOutside
                onClosed: shell.showingAccounts = false
                background: Rectangle {
                    radius: 16
                    color: Theme.surface
                    border.color: Theme.line
                }

                onAboutToShow: {
                    accounts.keyboard.opening();
                    switcherPanel.present();
                }

                // The account switcher, with the row to the member's own profile page; each showing starts
                // afresh (empty fields, no error, the current account saved).
                AccountSwitcherView {
                    id: switcherPanel

                    anchors.fill: parent
                    color: "transparent"
                    appState: shell.appState
                    showsProfile: true
                    presentsWhenMade: false
                    onDone: shell.showingAccounts = false
                    onOpenProfile: {
                        shell.showingAccounts = false;
                        shell.navigation.openProfile();
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
            id: places

            Layout.fillWidth: true
            Layout.fillHeight: true

            Repeater {
                // The tabs with pages of their own; the others show the home tab's.
                model: [MemberTab.Home, MemberTab.Flights, MemberTab.Live, MemberTab.Map, MemberTab.Account]

                delegate: PageStack {
                    required property int modelData

                    anchors.fill: parent
                    appState: shell.appState
                    memberData: shell.memberData
                    navigation: shell.navigation
                    table: pageTable
                    tab: modelData
                    selected: shell.navigation.selected === modelData
                }
            }
        }
    }

    // Back one page in the selected tab, unless that page is busy. An open popup keeps the window's shortcuts
    // from its keys, so the account popover still closes on Escape.
    Shortcut {
        sequences: ["Esc", "Alt+Left"]
        enabled: shell.navigation.canGoBack
        onActivated: shell.navigation.back()
    }

    // The logbook, a sheet over the account tab with a stack of its own: its records, and above them the
    // pages of the logbook path (a report's detail, the form filled from a flight).
    Popup {
        id: logbookSheet

        parent: places
        x: 24
        y: 24
        width: places.width - 48
        height: places.height - 48
        padding: 0
        modal: true
        focus: true
        visible: shell.navigation.showingLogbook
        // A busy page of its stack keeps it open.
        closePolicy: logbookPages.model.held ? Popup.NoAutoClose : Popup.CloseOnEscape | Popup.CloseOnPressOutside
        onAboutToShow: logbookSheet.keyboard.opening()
        onClosed: shell.navigation.showingLogbook = false
        background: Rectangle {
            radius: 16
            color: Theme.paper
            border.color: Theme.line
        }

        // Named as the account tab's row that opens it.
        property string title: L.t("Logbook")
        readonly property ScreenFocus keyboard: ScreenFocus {
            screen: logbookSheet.contentItem
            open: logbookSheet.visible
        }

        ColumnLayout {
            anchors.fill: parent
            spacing: 0

            RowLayout {
                Layout.fillWidth: true
                Layout.margins: 12

                Item {
                    Layout.fillWidth: true
                }
                BorderedButton {
                    objectName: "logbook.close"
                    text: L.t("完成")
                    enabled: !logbookPages.model.held
                    onClicked: shell.navigation.showingLogbook = false
                }
            }
            PageStack {
                id: logbookPages

                Layout.fillWidth: true
                Layout.fillHeight: true
                objectName: "shell.logbookPages"
                appState: shell.appState
                memberData: shell.memberData
                navigation: shell.navigation
                table: pageTable
                tab: MemberTab.Account
                ownStack: NavigationStack.LogbookStack
                ownRoot: ShellPage.Logbook
                selected: shell.navigation.showingLogbook
            }
        }
    }

    MemberPages {
        id: pageTable
    }
}
