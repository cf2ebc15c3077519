import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Shell

// The window's one screen, chosen from the account state, with the brand intro over it until it has played.
Item {
    id: root

    AppState {
        id: app
    }

    WindowRootModel {
        id: model

        appState: app
        Component.onCompleted: app.startRestore()
    }

    Loader {
        id: screen

        // The screen shown: the model's, once the keyboard has left the screen that goes (below). Set, not
        // bound, so that it changes only after the keyboard has moved.
        property int shown: WindowRootModel.Checking
        // The screen shown before it.
        property int before: WindowRootModel.Checking

        anchors.fill: parent
        // The content beneath the intro is out of reach until the intro has gone.
        Accessible.ignored: model.showingIntro
        Component.onCompleted: shown = model.screen
        sourceComponent: {
            switch (screen.shown) {
            case WindowRootModel.SignIn:
                return signIn;
            case WindowRootModel.Password:
                return passwordForm;
            case WindowRootModel.Profile:
                return profileForm;
            case WindowRootModel.MemberTabs:
                return memberTabs;
            case WindowRootModel.GateWaiting:
                return gateWaiting;
            default:
                return checking;
            }
        }
    }

    // A control of the screen that goes (the sign-in form's field, after Return, or a row of the saved accounts
    // over it) would still have the keyboard as the next screen's first page asks whether a named control has
    // it, and then go with its screen, leaving it to nothing: it is taken off the old screen before the new one
    // is made.
    Connections {
        target: model

        function onScreenChanged() {
            const keyboardGoes = screen.activeFocus || savedAccounts.activeFocus;
            // The saved accounts stand over the sign-in form only.
            if (model.screen !== WindowRootModel.SignIn)
                root.showingSavedAccounts = false;
            if (keyboardGoes)
                screen.forceActiveFocus();
            if (screen.shown !== model.screen)
                screen.before = screen.shown;
            screen.shown = model.screen;
        }
    }

    // Quits the app ("退出"), unless a page is still sending what the member gave it: then asks first.
    function quit() {
        if (quitQuestion.asks)
            root.askToQuit();
        else
            Qt.quit();
    }

    function askToQuit() {
        quitAlert.active = true;
        (quitAlert.item as AlertDialog).shown = true;
    }

    QuitQuestion {
        id: quitQuestion

        // Once nothing it speaks of is on its way, the question has nothing to ask: the page's own outcome
        // shows instead.
        onChanged: {
            if (!quitQuestion.asks && quitAlert.item)
                (quitAlert.item as AlertDialog).shown = false;
        }
    }
    // The member chose to quit all the same: Qt's quit closes the window first, which then lets it.
    property bool quittingAnyway: false

    // The window's close button and Alt+F4 ask the same question; the window stays while it is asked.
    Connections {
        target: root.Window.window

        function onClosing(close) {
            if (!quitQuestion.asks || root.quittingAnyway)
                return;
            close.accepted = false;
            root.askToQuit();
        }
    }

    // Made the first time it is asked: the window's first frame does without it.
    Loader {
        id: quitAlert

        active: false
        sourceComponent: AlertDialog {
            id: question

            objectName: "quit.question"
            title: quitQuestion.title
            message: quitQuestion.message
            // Staying is what Return does: quitting drops the outcome.
            defaultButton: stayButton
            onClosed: question.shown = false

            BorderedButton {
                id: stayButton

                objectName: "quit.stay"
                prominent: true
                text: L.t("继续等待")
                onClicked: question.shown = false
            }
            BorderedButton {
                objectName: "quit.anyway"
                destructive: true
                text: L.t("仍要退出")
                onClicked: {
                    root.quittingAnyway = true;
                    Qt.quit();
                }
            }
        }
    }

    // The account switcher over the sign-in form ("使用已保存账号").
    property bool showingSavedAccounts: false

    // The revision whose tabs show now.
    property string tabsRevision

    // Every revision of the account state gets tabs of its own, made once: a sign-in whose new revision
    // brings the tabs on screen already has them.
    Connections {
        target: app

        function onRevisionChanged() {
            if (model.screen === WindowRootModel.MemberTabs && root.tabsRevision !== app.revision) {
                screen.active = false;
                screen.active = true;
            }
        }
    }

    Component {
        id: checking

        BrandWaitingView {
            objectName: "gate.checking"
            message: L.t("正在确认登录状态")
        }
    }

    Component {
        id: signIn

        LoginView {
            appState: app
            takesKeyboard: model.signInTakesKeyboard(screen.before)
            onOpenSavedAccounts: root.showingSavedAccounts = true
        }
    }

    // The first login's requirements, by address like the tabs: the sign-in form needs no account screen.
    Component {
        id: passwordForm

        RequiredForm {
            appState: app
            profile: false
        }
    }

    Component {
        id: profileForm

        RequiredForm {
            appState: app
            profile: true
        }
    }

    // By address, not by type: the shell and every screen module under it are compiled when a member's
    // tabs first show, not at each start (the sign-in form needs none of them).
    Component {
        id: memberTabs

        Loader {
            Component.onCompleted: setSource(Qt.resolvedUrl("MemberSession.qml"), {
                appState: app,
                quitQuestion: quitQuestion
            })
            onLoaded: root.tabsRevision = app.revision
        }
    }

    component RequiredForm: Loader {
        id: requiredForm

        required property AppState appState
        required property bool profile

        Component.onCompleted: requiredForm.setSource(Qt.resolvedUrl("RequiredAccountForm.qml"), {
            appState: requiredForm.appState,
            profile: requiredForm.profile
        })
    }

    Component {
        id: gateWaiting

        BrandWaitingView {
            objectName: "gate.waiting"
            message: L.t("正在确认账号要求")

            // On the slate stage both are drawn dark, in either appearance.
            ErrorNotice {
                objectName: "gate.error"
                width: parent.width
                visible: app.message.length > 0
                message: app.message
                retryable: true
                alert: true
                failures: model.failures
                darkScheme: true
                onRetry: model.retryGate()
            }
            BorderedButton {
                objectName: "gate.signInAgain"
                anchors.horizontalCenter: parent.horizontalCenter
                darkScheme: true
                text: L.t("重新登录")
                enabled: !app.accountBusy
                onClicked: model.signInAgain()
            }
        }
    }

    Popup {
        id: savedAccounts

        // What a screen reader calls it: the switcher's title.
        property string title: L.t("切换账号")
        // Its panel takes the keyboard as it opens, as the account button's switcher does; the sign-in form's
        // button has it back as it closes. Signed in from it, it goes with the form and gives nothing back: the
        // member's first page takes the keyboard, as after a sign-in typed into the form.
        readonly property ScreenFocus keyboard: ScreenFocus {
            screen: savedAccountsPanel.item as Item
            open: savedAccounts.visible
            handsBack: model.screen === WindowRootModel.SignIn
        }
        // Opened and closed as it is asked for, not bound: it also closes itself (Escape, a click beside it),
        // and a binding would then be written while it closes.
        readonly property bool asked: root.showingSavedAccounts

        parent: root
        anchors.centerIn: parent
        width: Math.min(420, root.width - 32)
        // As tall as the panel's content (the add form opens it further), as long as the window has room.
        height: Math.min(savedAccountsPanel.implicitHeight, root.height - 32)
        padding: 0
        modal: true
        focus: true
        closePolicy: app.accountBusy ? Popup.NoAutoClose : Popup.CloseOnEscape | Popup.CloseOnPressOutside
        onAskedChanged: savedAccounts.asked ? savedAccounts.open() : savedAccounts.close()
        onAboutToShow: {
            savedAccounts.keyboard.opening();
            savedAccountsPanel.setSource(Qt.resolvedUrl("SavedAccountsPanel.qml"), {
                appState: app
            });
        }
        onClosed: {
            root.showingSavedAccounts = false;
            savedAccountsPanel.source = "";
        }
        background: Rectangle {
            radius: 16
            color: Theme.surface
            border.color: Theme.line
        }

        // Made afresh at each opening (a new presentation), by address, and let go when it closes.
        Loader {
            id: savedAccountsPanel

            anchors.fill: parent
        }

        Connections {
            target: savedAccountsPanel.item
            ignoreUnknownSignals: true

            function onDone() {
                root.showingSavedAccounts = false;
            }
        }
    }

    // Made only while it shows: once played, the intro and its full-window art go.
    Loader {
        id: intro

        anchors.fill: parent
        visible: opacity > 0
        active: visible
        opacity: model.showingIntro ? 1 : 0

        Behavior on opacity {
            enabled: model.introFades

            NumberAnimation {
                duration: 300
                easing.type: Easing.OutQuad
            }
        }

        sourceComponent: BrandIntro {
            onFinished: model.introFinished()

            // Nothing beneath takes clicks while the intro shows.
            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.AllButtons
                hoverEnabled: true
                onWheel: wheel => wheel.accepted = true
            }
        }
    }
}
