import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights
import Vorna.Account

// The profile form: avatar, WeChat name, Discord user name, contact e-mail and callsign.
// Required: the first-login set-up under the banner, with "退出登录"; the window follows the gate after
// the save. Edit: opened from the account pages; "资料已保存" and its "好" close it.
AccountFormPage {
    id: view
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: view.title

    required property AppState appState
    // Handed in by the page stacks, like every page's; where the page stands on them when a stack made it.
    property MemberData memberData
    property MemberNavigation navigation
    property pageRoute route
    property bool required: false
    // While the picture converts or the profile is saved the page keeps its place, and holds the keyboard
    // while the control that had it is off.
    readonly property bool pageBusy: form.busy
    signal done

    onDone: view.navigation?.leave(view.route)

    // "使用 IFC 头像", for a caller that shows the form with the forum avatar fetched.
    function useForumAvatar() {
        form.startForumAvatar();
    }

    objectName: view.required ? "account.profileSetup" : "account.profileEdit"
    title: view.required ? L.t("完成账号设置") : L.t("编辑资料")
    busy: form.busy
    // On a stack: "返回" on the title's line, which pops it.
    showsBack: view.route.page !== ShellPage.NoPage
    backName: "profile.back"
    onBack: view.done()
    Component.onCompleted: {
        if (!form.loaded)
            form.startLoad();
    }

    ProfileForm {
        id: form

        appState: view.appState
        required: view.required
    }

    FormBanner {
        objectName: "profile.banner"
        visible: view.required
        text: L.t("请先上传头像，填写微信名及联系邮箱，完成账号设置。")
        symbol: "person.crop.circle.badge.exclamationmark"
    }

    FormSection {
        title: L.t("头像")
        symbol: "person.crop.circle"

        ColumnLayout {
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.bottomMargin: 8
            spacing: 12

            AccountAvatar {
                Layout.alignment: Qt.AlignHCenter
                objectName: "profile.avatar"
                size: 96
                ring: Theme.line
                image: form.preview !== undefined ? form.preview : view.appState.avatar
            }
            // The two ways to a new picture are rows of the column, each in its middle.
            BorderedButton {
                Layout.alignment: Qt.AlignHCenter
                objectName: "profile.pickPhoto"
                text: L.t("上传头像")
                symbol: "photo"
                enabled: !form.busy
                onClicked: photoDialog.pick(1)
            }
            BorderedButton {
                Layout.alignment: Qt.AlignHCenter
                objectName: "profile.forumAvatar"
                text: L.t("使用 IFC 头像")
                enabled: !form.busy
                onClicked: form.startForumAvatar()
            }
            Text {
                Layout.fillWidth: true
                text: L.t("选择后点击保存上传。图片会转换为不超过 512 KB 的 JPEG。")
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
        }
    }

    FormSection {
        title: L.t("个人资料")
        symbol: "person.text.rectangle"
        footer: L.t("Discord 用户名填“用户名”，不是显示名称或服务器昵称，在 Discord 里点自己的头像就能看到；加入 Discord 服务器验证时机器人会核对它。可以不填。新呼号为 3 位数字；原有 4 位呼号可保留。呼号占用情况由服务端检查。")

        ProfileRow {
            label: L.t("微信名")

            FormField {
                Layout.fillWidth: true
                objectName: "profile.wechat"
                maximumLength: 64
                placeholderText: L.t("微信名")
                horizontalAlignment: TextInput.AlignRight
                text: form.wechatName
                onTextEdited: form.wechatName = text
            }
        }
        ProfileRow {
            label: L.t("Discord")

            FormField {
                Layout.fillWidth: true
                objectName: "profile.discord"
                maximumLength: 64
                placeholderText: L.t("Discord 用户名")
                horizontalAlignment: TextInput.AlignRight
                inputMethodHints: Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
                text: form.discord
                onTextEdited: form.discord = text
            }
        }
        ProfileRow {
            label: L.t("联系邮箱")

            FormField {
                Layout.fillWidth: true
                objectName: "profile.email"
                maximumLength: 254
                placeholderText: L.t("联系邮箱")
                horizontalAlignment: TextInput.AlignRight
                inputMethodHints: Qt.ImhEmailCharactersOnly | Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
                text: form.contactEmail
                onTextEdited: form.contactEmail = text
            }
        }
        ProfileRow {
            label: L.t("呼号")

            Item {
                Layout.fillWidth: true
            }
            Text {
                text: "B-"
                font.family: "monospace"
                font.pixelSize: Typography.body
                color: Theme.muted
            }
            FormField {
                Layout.preferredWidth: 96
                objectName: "profile.callsign"
                placeholderText: L.t("3 位数字")
                horizontalAlignment: TextInput.AlignHCenter
                inputMethodHints: Qt.ImhDigitsOnly
                font.family: "monospace"
                text: form.callsign
                onTextEdited: form.callsign = text
            }
            Text {
                text: "CA"
                font.family: "monospace"
                font.pixelSize: Typography.body
                color: Theme.muted
            }
        }
    }

    ErrorNotice {
        objectName: "profile.error"
        visible: form.error.length > 0
        message: form.error
        alert: true
        failures: form.failures
        retryable: form.retryable
        onRetry: form.retry()
    }

    // On while the form works: the button at work keeps the keyboard.
    actions: ColumnLayout {
        Layout.fillWidth: true
        Layout.topMargin: 4
        spacing: 10

        FormButton {
            objectName: "profile.save"
            prominent: true
            loading: form.busy
            busy: form.busy
            enabled: form.loaded
            text: view.required ? L.t("保存并进入成员中心") : L.t("保存资料")
            onClicked: form.startSave()
        }
        FormButton {
            objectName: "profile.signOut"
            visible: view.required
            destructive: true
            enabled: !form.busy
            text: L.t("退出登录")
            onClicked: form.startSignOut()
        }
    }

    PhotoDialog {
        id: photoDialog

        objectName: "profile.photoDialog"
        heading: L.t("上传头像")
        filters: form.photoFilters
        onPicked: files => form.pickPhotos(files)
    }

    AlertDialog {
        shown: form.saved && !view.required
        title: L.t("资料已保存")
        defaultButton: okButton
        onClosed: {
            if (form.saved) {
                form.saved = false;
                view.done();
            }
        }

        BorderedButton {
            id: okButton

            prominent: true
            text: L.t("好")
            onClicked: {
                form.saved = false;
                view.done();
            }
        }
    }

    component ProfileRow: RowLayout {
        id: row

        property string label

        Layout.fillWidth: true
        spacing: 4

        Text {
            Layout.preferredWidth: 88
            text: row.label
            font.pixelSize: Typography.body
            color: Theme.ink
        }
    }
}
