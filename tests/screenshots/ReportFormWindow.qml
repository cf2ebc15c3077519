import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Portal
import Vorna.Flights

// The new-report form of the sample member "lichen"; a screen fills it when it is `ready`.
Rectangle {
    id: screen

    // The form's model, once the member is signed in.
    signal ready(PirepFormModel form)
    // Keys the harness types once the screen has settled.
    property list<string> typed

    color: Theme.paper

    AppState {
        id: account
    }
    SignInModel {
        appState: account
        username: "lichen"
        password: "fly-vornalia"
        Component.onCompleted: signIn()
    }

    Loader {
        anchors.fill: parent
        active: account.gate === AppState.Ready
        sourceComponent: Item {
            MemberData {
                id: memberData

                client: account.api
            }
            PirepFormView {
                id: view

                anchors.fill: parent
                appState: account
                memberData: memberData
                Component.onCompleted: screen.ready(view.model)
            }
        }
    }
}
