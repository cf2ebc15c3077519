import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights
import Vorna.Account

// The password form. Required: the first login's temporary password replaced, under the
// banner, with "退出登录"; the window follows the gate afterwards. Ordinary: a known password changed.
AccountFormPage {
    id: view

    required property AppState appState
    property bool required: false
    signal done

    objectName: "account.password"
    title: view.required ? L.t("设置新密码") : L.t("修改密码")
    busy: form.busy

    PasswordForm {
        id: form

        appState: view.appState
        required: view.required
    }

    FormBanner {
        objectName: "password.banner"
        visible: view.required
        text: L.t("首次登录请将邮件中的临时密码改为自己的密码。")
        symbol: "lock.shield.fill"
    }

    FormSection {
        title: L.t("密码")
        symbol: "key.fill"
        footer: L.t("新密码至少 12 个字符，最多 72 字节，且与当前密码不同。修改后其他设备将退出登录。")

        SecretField {
            Layout.fillWidth: true
            objectName: "password.current"
            placeholderText: view.required ? L.t("邮件中的临时密码") : L.t("当前密码")
            text: form.current
            onTextEdited: form.current = text
        }
        SecretField {
            Layout.fillWidth: true
            objectName: "password.next"
            placeholderText: L.t("新密码")
            text: form.next
            onTextEdited: form.next = text
        }
        SecretField {
            Layout.fillWidth: true
            objectName: "password.confirmation"
            placeholderText: L.t("再次输入新密码")
            text: form.confirmation
            onTextEdited: form.confirmation = text
        }
    }

    ErrorNotice {
        objectName: "password.error"
        visible: form.error.length > 0
        message: form.error
        alert: true
        failures: form.failures
    }

    // On while the form works: the button at work keeps the keyboard.
    actions: ColumnLayout {
        Layout.fillWidth: true
        Layout.topMargin: 4
        spacing: 10

        FormButton {
            objectName: "password.save"
            prominent: true
            loading: form.busy
            busy: form.busy
            enabled: form.canSave || form.busy
            text: view.required ? L.t("设置密码并继续") : L.t("更新密码")
            onClicked: form.startSave()
        }
        FormButton {
            objectName: "password.signOut"
            visible: view.required
            destructive: true
            enabled: !form.busy
            text: L.t("退出登录")
            onClicked: form.startSignOut()
        }
    }

    AlertDialog {
        shown: form.saved
        title: L.t("密码已更新")
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
}
