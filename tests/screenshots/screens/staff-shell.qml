import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Portal
import Vorna.Shell

// The signed-in window of the sample member "wangfang": the shell with his dashboard.
Rectangle {
    id: screen

    color: Theme.paper

    AppState {
        id: account
    }
    SignInModel {
        appState: account
        username: "wangfang"
        password: "fly-vornalia"
        Component.onCompleted: signIn()
    }

    Loader {
        anchors.fill: parent
        active: account.gate === AppState.Ready
        sourceComponent: NativeMemberTabs {
            appState: account
        }
    }
}
