import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Home

// The sign-in form: the hero on the brand gradient, then the card with the member's user name, password
// and whether to stay signed in.
Rectangle {
    id: view

    required property AppState appState
    // The first field takes the keyboard once the form is on: the controls that had it went with the screen
    // before (a sign-out), and the member types on without a Tab.
    property bool takesKeyboard: false
    signal openSavedAccounts

    color: Theme.paper

    // Once the screen that went has let its popups go with their hand-back of the focus.
    Timer {
        interval: 0
        running: view.takesKeyboard
        onTriggered: username.forceActiveFocus(Qt.OtherFocusReason)
    }

    SignInModel {
        id: form

        appState: view.appState
    }

    Flickable {
        id: scroller

        anchors.fill: parent
        anchors.bottomMargin: savedAccounts.visible ? savedAccounts.height + 24 : 0
        contentHeight: column.implicitHeight + 40
        clip: true

        RevealFocus {
            flickable: scroller
        }

        // Slate above the hero, seen only when the page is pulled down past its top; it moves with the
        // page, so no band of it stands still behind the card.
        Rectangle {
            y: -height
            width: scroller.width
            height: 400
            color: Theme.slate
        }

        ColumnLayout {
            id: column

            width: scroller.width
            spacing: 0

            HeroBackground {
                Layout.fillWidth: true
                Layout.preferredHeight: hero.implicitHeight + 56 + 36

                ColumnLayout {
                    id: hero

                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.top: parent.top
                    anchors.topMargin: 40
                    width: Math.min(540, parent.width - 48)
                    spacing: 22

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 12

                        BrandLogo {
                            size: 52
                        }
                        ColumnLayout {
                            spacing: 0

                            Text {
                                text: "VORNA"
                                font.pixelSize: Typography.title3
                                font.weight: Font.Black
                                color: Theme.white
                            }
                            Text {
                                text: "Vornalia"
                                font.pixelSize: Typography.caption
                                color: Qt.alpha(Theme.white, 0.6)
                            }
                        }
                        Item {
                            Layout.fillWidth: true
                        }
                        Rectangle {
                            implicitWidth: badge.implicitWidth + 20
                            implicitHeight: badge.implicitHeight + 8
                            radius: height / 2
                            color: "transparent"
                            border.color: Qt.alpha(Theme.gold, 0.6)

                            Text {
                                id: badge

                                anchors.centerIn: parent
                                text: "CREW ACCESS"
                                font.pixelSize: Typography.caption2
                                font.family: "monospace"
                                font.weight: Font.DemiBold
                                font.letterSpacing: 1.2
                                color: Theme.gold
                            }
                        }
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 10

                        Text {
                            Layout.fillWidth: true
                            text: L.t("下一段旅程，\n从这里开始。")
                            wrapMode: Text.Wrap
                            font.pixelSize: Typography.largeTitle
                            font.weight: Font.Bold
                            color: Theme.white
                        }
                        Text {
                            Layout.fillWidth: true
                            text: L.t("欢迎回到Vornalia成员中心")
                            wrapMode: Text.Wrap
                            font.pixelSize: Typography.subheadline
                            color: Qt.alpha(Theme.white, 0.7)
                        }
                    }
                }
            }

            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                Layout.fillWidth: true
                Layout.maximumWidth: 540
                Layout.leftMargin: 24
                Layout.rightMargin: 24
                Layout.topMargin: -36
                spacing: 20

                Card {
                    padding: 22
                    spacing: 16

                    Text {
                        text: L.t("成员登录")
                        font.pixelSize: Typography.title2
                        font.weight: Font.Bold
                        color: Theme.ink
                    }
                    LoginField {
                        title: L.t("IFC 用户名")
                        symbol: "person"

                        TextField {
                            id: username

                            Layout.fillWidth: true
                            objectName: "login.username"
                            placeholderText: L.t("你的 IFC 用户名")
                            Accessible.name: L.t("IFC 用户名")
                            text: form.username
                            inputMethodHints: Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
                            color: Theme.ink
                            placeholderTextColor: Theme.muted
                            selectionColor: Theme.accent
                            selectedTextColor: Theme.white
                            background: null
                            onTextEdited: form.username = text
                            onAccepted: password.forceActiveFocus()
                        }
                    }
                    LoginField {
                        title: L.t("密码")
                        symbol: "lock"

                        TextField {
                            id: password

                            Layout.fillWidth: true
                            // What is typed never reaches the accessibility bus.
                            property bool secretText: true

                            objectName: "login.password"
                            placeholderText: L.t("输入密码")
                            Accessible.name: L.t("密码")
                            echoMode: TextInput.Password
                            text: form.password
                            color: Theme.ink
                            placeholderTextColor: Theme.muted
                            selectionColor: Theme.accent
                            selectedTextColor: Theme.white
                            background: null
                            onTextEdited: form.password = text
                            onAccepted: form.signIn()
                        }
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 4

                        ToggleSwitch {
                            Layout.alignment: Qt.AlignLeft
                            text: L.t("保持登录 30 天")
                            checked: form.remember
                            font.pixelSize: Typography.subheadline
                            // Return signs in.
                            pressesOnReturn: false
                            onToggled: form.remember = checked
                        }
                        Text {
                            Layout.fillWidth: true
                            text: L.t("仅在你自己的电脑上开启。登录会话保存在系统钥匙串中，不保存密码。")
                            wrapMode: Text.Wrap
                            font.pixelSize: Typography.caption
                            color: Theme.muted
                        }
                    }
                    ErrorNotice {
                        objectName: "login.notice"
                        visible: form.notice.length > 0
                        message: form.notice
                        alert: true
                        // A failed sign-in is heard at once, in view with the keyboard on it; so is the account
                        // state's reason for the form (an expired session) as it appears.
                        failures: form.failures
                        takesFocus: true
                    }
                    BorderedButton {
                        id: submit

                        Layout.fillWidth: true
                        Layout.preferredHeight: 44
                        objectName: "login.submit"
                        // Drawn by the row below; the title is what a screen reader hears.
                        text: form.busy ? L.t("正在登录") : L.t("登录成员中心")
                        Accessible.name: submit.text
                        prominent: true
                        radius: 12
                        enabled: form.ready
                        onClicked: form.signIn()

                        contentItem: RowLayout {
                            spacing: 8

                            Item {
                                Layout.fillWidth: true
                            }
                            InlineLoader {
                                visible: form.busy
                            }
                            Text {
                                text: submit.text
                                font.pixelSize: Typography.headline
                                font.weight: Font.DemiBold
                                color: Theme.white
                            }
                            Symbol {
                                visible: !form.busy
                                name: "arrow.right"
                                color: Theme.white
                            }
                            Item {
                                Layout.fillWidth: true
                            }
                        }
                    }
                }

                Footnote {
                    symbol: "lock.shield"
                    text: L.t("使用现有 VORNA 账号，与网站共享成员记录。")
                }
                Footnote {
                    symbol: "person.badge.plus"
                    text: L.t("还没有账号？请先完成联盟入会申请。此 App 面向已注册成员。")
                }
            }
        }
    }

    BorderedButton {
        id: savedAccounts

        objectName: "login.savedAccounts"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
        prominent: true
        visible: form.offersSavedAccounts
        text: L.t("使用已保存账号")
        onClicked: view.openSavedAccounts()
    }

    component Footnote: RowLayout {
        id: footnote

        property string symbol
        property string text

        Layout.fillWidth: true
        spacing: 8

        Symbol {
            Layout.alignment: Qt.AlignTop
            name: footnote.symbol
            size: Typography.footnote
            color: Theme.muted
        }
        Text {
            Layout.fillWidth: true
            text: footnote.text
            wrapMode: Text.Wrap
            font.pixelSize: Typography.footnote
            color: Theme.muted
        }
    }

    component LoginField: ColumnLayout {
        id: loginField

        property string title
        property string symbol
        default property alias field: fieldRow.data

        Layout.fillWidth: true
        spacing: 8

        Text {
            text: loginField.title
            font.pixelSize: Typography.caption
            font.weight: Font.DemiBold
            color: Theme.muted
        }
        Rectangle {
            // The field being typed in shows the focus ring on its row.
            readonly property bool editing: Window.activeFocusItem !== null && Window.activeFocusItem.parent === fieldRow

            Layout.fillWidth: true
            Layout.minimumHeight: 50
            radius: 14
            color: Qt.alpha(Theme.sunken, 0.7)
            border.color: Theme.accent
            border.width: editing ? 2 : 0

            RowLayout {
                id: fieldRow

                anchors.fill: parent
                anchors.leftMargin: 12
                anchors.rightMargin: 12
                spacing: 10

                Symbol {
                    Layout.preferredWidth: 20
                    name: loginField.symbol
                    color: Theme.muted
                }
            }
        }
    }
}
