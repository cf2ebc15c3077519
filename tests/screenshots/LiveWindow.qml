import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Live

// The Live page of a sample member, on the tab and with the search that a screen names.
Rectangle {
    id: screen

    property string username: "lichen"
    property int tab: LiveTabModel.Fleet
    property string search
    // Once the page has loaded: the time the staleness check is run with, in seconds after the fetch.
    property real staleAfter: -1
    // Once the page has loaded: ask for the disconnection's confirmation.
    property bool confirmsDisconnect: false
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
        active: account.signedIn
        sourceComponent: Item {
            MemberData {
                id: memberData

                client: account.api
            }
            MemberNavigation {
                id: navigation
            }
            LiveTabView {
                id: view

                anchors.fill: parent
                appState: account
                memberData: memberData
                navigation: navigation
                Component.onCompleted: {
                    view.model.tab = screen.tab;
                    view.model.search = screen.search;
                }
            }
            Connections {
                target: view.model

                function onBusyChanged() {
                    if (view.model.busy || !view.model.hasBoard)
                        return;
                    if (screen.staleAfter >= 0)
                        view.model.staleTick(new Date(Date.now() + screen.staleAfter * 1000));
                    if (screen.confirmsDisconnect)
                        view.model.confirmDisconnect = true;
                }
            }
        }
    }
}
