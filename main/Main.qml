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
    property UpdateCheck updater: UpdateCheck
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
    // A highlighted row (Qt Quick's file dialog, a list's delegate) is drawn on the light colour barely
    // tinted with the highlight, and writes in this: the page's text colour. Text fields keep white on the
    // full highlight for their selection.
    palette.highlightedText: Theme.ink
    palette.mid: Theme.line
    palette.dark: Theme.muted
    palette.light: Theme.surface
    palette.toolTipBase: Theme.surface
    palette.toolTipText: Theme.ink

    menuBar: MenuBar {
        id: bar

        // Opens the first menu with its first row chosen, as Alt or F10 does on the desktop.
        function openFromKeyboard() {
            const first = bar.itemAt(0) as MenuBarItem;
            if (!first)
                return;
            first.triggered();
            appMenu.currentIndex = 0;
        }

        background: Rectangle {
            implicitHeight: 34
            color: Theme.paper
        }
        // The bar keeps a title it takes for hovered as its current one when its menu closes, for good: closed
        // by the keys with the pointer resting there (after a click opened it), the title stayed highlighted for
        // the rest of the session, and the next click on it opened nothing. With one menu, hover has nothing to
        // switch between.
        delegate: MenuBarItem {
            hoverEnabled: false
            palette.buttonText: Theme.ink
            palette.mid: Qt.alpha(Theme.accent, 0.16)
            font.pixelSize: Typography.body
        }

        Menu {
            id: appMenu

            // Closed, by a row or Escape, it gives the keyboard back where it was, with its ring when the
            // keyboard had put it there: what a row opens over that control finds it so.
            readonly property ScreenFocus keyboard: ScreenFocus {
                screen: appMenu.contentItem
                open: appMenu.visible
                // Its rows take the keyboard as the menu opens them.
                placesKeyboard: false
            }

            objectName: "appMenu"
            title: "&Vornalia"
            delegate: MenuRow {}
            background: Rectangle {
                implicitWidth: 220
                radius: 10
                color: Theme.surface
                border.color: Theme.line
            }
            // The rows are made the first time the menu opens: the window's first frame does without them.
            // The actions are the window's, so their shortcuts work before.
            onAboutToShow: {
                appMenu.keyboard.opening();
                if (appMenu.count > 0)
                    return;
                appMenu.addAction(aboutAction);
                appMenu.addAction(updateAction);
                appMenu.addItem(separator.createObject(appMenu.contentItem));
                appMenu.addItem(quitRow.createObject(appMenu.contentItem));
            }
        }
    }

    Action {
        id: aboutAction

        text: L.mnemonic(L.t("关于 Vornalia"), "A")
        onTriggered: about.open()
    }
    Action {
        id: updateAction

        text: L.mnemonic(L.t("检查更新…"), "U")
        onTriggered: window.updater.startCheck(true)
    }
    Action {
        id: quitAction

        text: L.mnemonic(L.t("退出"), "Q")
        onTriggered: windowRoot.quit()
    }
    // The quit key works over every sheet and alert, as closing the window does: an open modal popup keeps
    // the window's own shortcuts, an action's among them, from their keys.
    Shortcut {
        sequences: [StandardKey.Quit]
        context: Qt.ApplicationShortcut
        onActivated: quitAction.trigger()
    }
    Component {
        id: quitRow

        MenuRow {
            action: quitAction
            shortcutText: Display.shortcut(StandardKey.Quit)
        }
    }
    Component {
        id: separator

        MenuSeparator {
            contentItem: Rectangle {
                implicitHeight: 1
                color: Theme.line
            }
        }
    }

    MenuKeys {
        window: window
        onActivated: appMenu.visible ? appMenu.close() : bar.openFromKeyboard()
    }

    Shortcut {
        sequences: [StandardKey.FullScreen]
        onActivated: window.visibility = window.visibility === Window.FullScreen ? Window.Windowed : Window.FullScreen
    }

    WindowRoot {
        id: windowRoot

        anchors.fill: parent
    }

    // Over everything else: checks for a newer release and offers it.
    UpdatePrompt {
        anchors.fill: parent
        updater: window.updater
    }

    // Made the first time it opens: the window's first frame does without it. Open while `shown` holds, so
    // every later opening finds it made.
    Loader {
        id: about

        property bool shown: false

        function open() {
            about.shown = true;
            about.active = true;
        }

        active: false
        sourceComponent: Item {
            AlertDialog {
                id: alert

                title: L.t("关于 Vornalia")
                message: L.t("Vornalia 成员中心") + "\n" + L.t("版本 %@", [Qt.application.version])
                defaultButton: aboutOk
                shown: about.shown
                onClosed: about.shown = false

                BorderedButton {
                    id: aboutOk

                    text: L.t("好")
                    prominent: true
                    onClicked: alert.close()
                }
            }
        }
    }
}
