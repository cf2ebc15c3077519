import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.App

// The one window of the member centre.
ApplicationWindow {
    id: window

    width: 1100
    height: 720
    minimumWidth: 760
    minimumHeight: 540
    visible: true
    title: "Vornalia"

    menuBar: MenuBar {
        Menu {
            title: "Vornalia"

            Action {
                text: L.t("关于 Vornalia")
                onTriggered: about.open()
            }
            Action {
                text: L.t("检查更新…")
                onTriggered: MacUpdater.check(true)
            }
            MenuSeparator {}
            Action {
                text: L.t("退出")
                shortcut: StandardKey.Quit
                onTriggered: Qt.quit()
            }
        }
    }

    Shortcut {
        sequences: [StandardKey.FullScreen]
        onActivated: window.visibility = window.visibility === Window.FullScreen ? Window.Windowed : Window.FullScreen
    }

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 14

        Symbol {
            Layout.alignment: Qt.AlignHCenter
            name: "airplane.departure"
            size: 56
            color: "#2f6fde"
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: L.t("Vornalia 成员中心")
            font.pixelSize: 24
            font.weight: Font.DemiBold
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: L.t("成员中心正在准备中。")
            opacity: 0.7
        }
    }

    Dialog {
        id: about

        anchors.centerIn: parent
        modal: true
        title: L.t("关于 Vornalia")
        standardButtons: Dialog.Ok

        Label {
            text: L.t("Vornalia 成员中心") + "\n" + L.t("版本 %@", [Qt.application.version])
        }
    }
}
