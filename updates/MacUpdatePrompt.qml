import QtQuick
import Vorna.Ui
import Vorna.Updates

// The update feature over the window's content: it checks at launch and whenever the application becomes
// active, offers a newer release, and answers a check asked for from the menu.
Item {
    id: prompt

    required property MacUpdater updater

    MacUpdatePromptModel {
        id: model

        updater: prompt.updater
    }

    // The launch check waits for the window's first frame: the window comes up without its work.
    Connections {
        id: launchCheck

        function onFrameSwapped() {
            launchCheck.enabled = false;
            model.appear();
        }

        target: prompt.Window.window
    }

    AlertDialog {
        id: releaseAlert

        title: L.t("有新版本")
        message: model.releaseMessage
        shown: model.offering
        defaultButton: downloadButton
        onClosed: model.dismissRelease()

        BorderedButton {
            id: downloadButton

            objectName: "update.download"
            text: L.t("下载")
            Accessible.name: text
            prominent: true
            onClicked: model.download()
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
        message: model.unopenedMessage
        shown: model.unopenedAddress.length > 0
        defaultButton: copyButton
        onClosed: model.dismissUnopened()

        BorderedButton {
            id: copyButton

            text: L.t("复制地址")
            prominent: true
            onClicked: {
                model.copyAddress();
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
        message: model.notice
        shown: model.noticing
        defaultButton: okButton
        onClosed: model.dismissNotice()

        BorderedButton {
            id: okButton

            text: L.t("好")
            Accessible.name: text
            prominent: true
            onClicked: noticeAlert.close()
        }
    }
}
