import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.Shell
import Vorna.Updates

// The one window of the member centre, and the composition of its screens.
ApplicationWindow {
    id: window

    width: 1100
    height: 720
    minimumWidth: 760
    minimumHeight: 540
    visible: true
    title: "Vornalia"
    // The process-wide updater; the screenshot harness hands each screen one of its own.
    property MacUpdater updater: MacUpdater
    color: Theme.paper
    // Controls take their colours from the theme, in light and dark alike.
    palette.window: Theme.paper
    palette.windowText: Theme.ink
    palette.base: Theme.surface
    palette.alternateBase: Theme.sunken
    palette.text: Theme.ink
    palette.button: Theme.surface
    palette.buttonText: Theme.ink
    palette.placeholderText: Theme.muted
    palette.highlight: Theme.accent
    palette.highlightedText: Theme.white
    palette.mid: Theme.line
    palette.dark: Theme.muted
    palette.light: Theme.surface
    palette.toolTipBase: Theme.surface
    palette.toolTipText: Theme.ink

    menuBar: MenuBar {
        Menu {
            title: "Vornalia"

            Action {
                text: L.t("关于 Vornalia")
                onTriggered: about.open()
            }
            Action {
                text: L.t("检查更新…")
                onTriggered: window.updater.startCheck(true)
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

    MemberPortalView {
        anchors.fill: parent
    }

    // Over everything else: checks for a newer release and offers it.
    MacUpdatePrompt {
        anchors.fill: parent
        updater: window.updater
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
