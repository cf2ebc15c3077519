import QtQuick
import Vorna.Ui
import Vorna.Updates

// The update prompt's alerts: a newer release, a download page that would not open, and the answer to a check
// asked for from the menu. The prompt makes them by address the first time one shows.
Item {
    id: alerts

    required property UpdatePromptModel prompter

    AlertDialog {
        id: releaseAlert

        title: L.t("有新版本")
        message: alerts.prompter.releaseMessage
        shown: alerts.prompter.offering
        defaultButton: downloadButton
        onClosed: alerts.prompter.dismissRelease()

        BorderedButton {
            id: downloadButton

            objectName: "update.download"
            text: L.t("下载")
            Accessible.name: text
            prominent: true
            onClicked: alerts.prompter.download()
        }
        BorderedButton {
            objectName: "update.later"
            text: L.t("稍后")
            Accessible.name: text
            onClicked: releaseAlert.close()
        }
    }

    AlertDialog {
        id: unopenedAlert

        title: L.t("无法打开下载页面")
        message: alerts.prompter.unopenedMessage
        shown: alerts.prompter.unopenedAddress.length > 0
        defaultButton: copyButton
        onClosed: alerts.prompter.dismissUnopened()

        BorderedButton {
            id: copyButton

            text: L.t("复制地址")
            prominent: true
            onClicked: {
                alerts.prompter.copyAddress();
                unopenedAlert.close();
            }
        }
        BorderedButton {
            text: L.t("好")
            onClicked: unopenedAlert.close()
        }
    }

    AlertDialog {
        id: noticeAlert

        title: L.t("检查更新")
        message: alerts.prompter.notice
        shown: alerts.prompter.noticing
        defaultButton: okButton
        onClosed: alerts.prompter.dismissNotice()

        BorderedButton {
            id: okButton

            text: L.t("好")
            Accessible.name: text
            prominent: true
            onClicked: noticeAlert.close()
        }
    }
}
