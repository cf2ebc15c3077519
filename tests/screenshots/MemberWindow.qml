import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Portal
import Vorna.Shell

// The signed-in window of a sample account: the shell with its home page, once the gate lets him in.
Rectangle {
    id: screen

    required property string username
    // Keys the harness types once the screen has settled.
    property list<string> typed

    color: Theme.paper

    AppState {
        id: account
    }
    SignInModel {
        appState: account
        username: screen.username
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
