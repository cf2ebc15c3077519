import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
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
    MemberData {
        id: members

        client: account.api
    }

    Loader {
        id: form

        anchors.fill: parent
        active: account.gate === AppState.Ready
        onLoaded: screen.ready((form.item as PirepFormView).model)
        sourceComponent: PirepFormView {
            appState: account
            memberData: members
        }
    }
}
