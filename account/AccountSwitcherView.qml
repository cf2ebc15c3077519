pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights
import Vorna.Account

// The account switcher: the accounts saved on this computer (at most two) with their avatars,
// switch by clicking one, remove one that is not signed in, add one with user name and password, sign the
// current one out. The busy flag is the account state's. `done` asks the presenter to close the panel;
// `showsProfile` (the shell's popover) adds the row that opens the member's profile.
Rectangle {
    id: panel

    required property AppState appState
    property bool showsProfile: false
    // A panel made once and shown again and again (a popover) calls present() each time it shows instead.
    property bool presentsWhenMade: true
    readonly property bool busy: switcher.busy
    // The row whose remove button was pressed, while its removal runs.
    property int removingRow: -1
    signal done
    signal openProfile
    // Tells the row at a place to take the keyboard: on its account button, or on its remove button.
    signal focusRow(int place, bool onAccount)

    // A new presentation: empty fields, no error, the add form closed, the current account saved.
    function present() {
        switcher.reset();
    }

    objectName: "account.switcher"
    color: Theme.surface
    implicitWidth: 380
    implicitHeight: column.implicitHeight + 32

    // Once made, not while its presenter binds it: the account state changes as the current account is saved.
    Timer {
        interval: 0
        running: panel.presentsWhenMade
        onTriggered: panel.present()
    }

    AccountSwitcherModel {
        id: switcher

        appState: panel.appState
        onDismiss: panel.done()
        // The keyboard stays in the panel: on the row that took the removed one's place, else on the panel's
        // first control; a removal that failed gives it back to its button.
        onRemoveEnded: removed => {
            const place = panel.removingRow;
            panel.removingRow = -1;
            if (place >= 0 && place < accountRows.count)
                panel.focusRow(place, removed);
            else
                doneButton.forceActiveFocus(Qt.TabFocusReason);
        }
    }

    // Tab through a panel taller than its window keeps the control it reaches in view (the sign-out button
    // under the add form, say).
    RevealFocus {
        flickable: scroller
    }

    Flickable {
        id: scroller

        anchors.fill: parent
        contentHeight: column.implicitHeight + 32
        clip: true

        ColumnLayout {
            id: column

            x: 16
            y: 16
            width: scroller.width - 32
            spacing: 14

            RowLayout {
                Layout.fillWidth: true

                Text {
                    Layout.fillWidth: true
                    objectName: "account.title"
                    // "切换账号" stands literally; "账号" is looked up.
                    text: panel.showsProfile ? L.t("账号") : "切换账号"
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                }
                BorderedButton {
                    id: doneButton

                    objectName: "account.done"
                    text: L.t("完成")
                    enabled: !switcher.busy
                    onClicked: panel.done()
                }
            }

            FormSection {
                visible: panel.showsProfile

                SettingsRow {
                    objectName: "account.openProfile"
                    title: L.t("个人信息")
                    symbol: "person.text.rectangle"
                    trailingSymbol: ""
                    onClicked: panel.openProfile()
                }
            }

            FormSection {
                title: L.t("本机账号（最多两个）")
                footer: L.t("登录会话只保存在这台电脑的当前用户下，不保存密码。过期后需要重新登录。移除账号只清除本机保存。")

                Text {
                    Layout.fillWidth: true
                    objectName: "account.none"
                    visible: switcher.rows.length === 0
                    text: L.t("还没有保存的账号")
                    font.pixelSize: Typography.subheadline
                    color: Theme.muted
                }
                Repeater {
                    id: accountRows

                    model: switcher.rows

                    delegate: AccountRow {}
                }
            }

            // A disclosure row: it opens the form beneath it, and closes it again. While the panel works the
            // form's fields and button keep the keyboard (Return in the password field sends it), taking no
            // typing and no press: turned off, they would hand it to nothing until the answer.
            FormSection {
                visible: switcher.canAdd

                SettingsRow {
                    objectName: "account.add.toggle"
                    enabled: !switcher.busy
                    title: L.t("添加账号")
                    symbol: "person.badge.plus"
                    trailingSymbol: switcher.addingAccount ? "chevron.down" : "chevron.right"
                    onClicked: switcher.addingAccount = !switcher.addingAccount
                }
                FormField {
                    Layout.fillWidth: true
                    visible: switcher.addingAccount
                    objectName: "account.add.username"
                    placeholderText: L.t("用户名")
                    inputMethodHints: Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
                    readOnly: switcher.busy
                    text: switcher.username
                    onTextEdited: switcher.username = text
                }
                SecretField {
                    Layout.fillWidth: true
                    visible: switcher.addingAccount
                    objectName: "account.add.password"
                    placeholderText: L.t("密码")
                    readOnly: switcher.busy
                    text: switcher.password
                    onTextEdited: switcher.password = text
                    onAccepted: switcher.add()
                }
                BorderedButton {
                    Layout.fillWidth: true
                    visible: switcher.addingAccount
                    objectName: "account.add.submit"
                    prominent: true
                    text: L.t("登录并保存")
                    busy: switcher.busy
                    enabled: switcher.canSubmit || switcher.busy
                    onClicked: switcher.add()
                }
            }

            FormSection {
                visible: switcher.signedIn

                SettingsRow {
                    objectName: "account.logout"
                    destructive: true
                    enabled: !switcher.busy
                    title: L.t("退出当前账号")
                    symbol: "rectangle.portrait.and.arrow.right"
                    trailingSymbol: ""
                    onClicked: switcher.startSignOut()
                }
            }

            FailureText {
                Layout.fillWidth: true
                objectName: "account.error"
                text: switcher.error
                failures: switcher.failures
                font.pixelSize: Typography.footnote
            }

            InlineLoader {
                Layout.alignment: Qt.AlignHCenter
                visible: switcher.busy
            }
        }
    }

    // One saved account: its button, which switches to it, and beside it its remove button.
    component AccountRow: RowLayout {
        id: row

        required property var modelData
        required property int index

        Layout.fillWidth: true
        Layout.topMargin: 4
        Layout.bottomMargin: 4
        spacing: 12

        Connections {
            target: panel

            function onFocusRow(place: int, onAccount: bool) {
                if (place === row.index)
                    (onAccount ? accountButton : removeButton).forceActiveFocus(Qt.TabFocusReason);
            }
        }
        AbstractButton {
            id: accountButton

            Layout.fillWidth: true
            objectName: "account.saved." + row.modelData.id
            enabled: !switcher.busy
            checkable: false
            Accessible.name: row.modelData.heard
            Accessible.selected: row.modelData.current
            onClicked: switcher.switchTo(row.modelData.id)

            background: Rectangle {
                radius: 10
                color: accountButton.hovered && !row.modelData.current ? Qt.alpha(Theme.ink, 0.05) : "transparent"

                FocusRing {
                    control: accountButton
                    radius: 10
                }
            }
            contentItem: RowLayout {
                spacing: 14

                AccountAvatar {
                    size: 48
                    ring: "transparent"
                    image: row.modelData.avatar
                }
                ColumnLayout {
                    spacing: 4

                    Text {
                        text: row.modelData.username
                        font.pixelSize: Typography.headline
                        font.weight: Font.DemiBold
                        color: Theme.ink
                    }
                    Text {
                        text: row.modelData.status
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                }
                Item {
                    Layout.fillWidth: true
                }
            }
        }
        // Borderless, its symbol alone in the destructive colour.
        AbstractButton {
            id: removeButton

            objectName: "account.remove." + row.modelData.id
            visible: !row.modelData.current
            enabled: !switcher.busy
            focusPolicy: Qt.StrongFocus
            padding: 4
            opacity: enabled ? 1 : 0.45
            Accessible.name: row.modelData.removeName
            onClicked: {
                panel.removingRow = row.index;
                switcher.remove(row.modelData.id);
            }

            contentItem: Symbol {
                name: "minus.circle"
                size: Typography.title2 + 1
                color: Theme.rejected
                opacity: removeButton.down ? 0.6 : 1
            }
            background: Rectangle {
                implicitWidth: 32
                implicitHeight: 32
                radius: 8
                color: removeButton.hovered ? Qt.alpha(Theme.rejected, 0.08) : "transparent"

                FocusRing {
                    control: removeButton
                    radius: 10
                }
            }
        }
    }
}
