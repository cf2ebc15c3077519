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

    Component.onCompleted: model.appear()

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
