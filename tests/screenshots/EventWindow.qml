import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Community

// The page of one sample event as a sample account sees it, once the account's events have loaded.
Rectangle {
    id: screen

    required property string username
    required property string eventId
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
        sourceComponent: Item {
            MemberData {
                id: memberData

                client: account.api
                onEventsChanged: view.model.openEventId(screen.eventId)
            }
            MemberNavigation {
                id: navigation
            }
            EventDetailView {
                id: view

                anchors.fill: parent
                appState: account
                memberData: memberData
                navigation: navigation
                showsBack: false
            }
        }
    }
}
