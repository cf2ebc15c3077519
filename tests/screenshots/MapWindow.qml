import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Shell
import Vorna.Screenshots

// The signed-in window of a sample account on its map tab: the live map of the sample service's flights.
// With `ownFlight` the own-flight link has been opened, so the member's own flight is selected; with
// `liveFailing` the live snapshot fails and the saved one shows. With `opens` ("search" or "ownFlights")
// the search or the own-flights picker opens once the snapshot is on the map.
Rectangle {
    id: screen

    required property string username
    property bool ownFlight: false
    property bool liveFailing: false
    property string opens
    // Keys the harness types once the screen has settled.
    property list<string> typed

    // The map page below an item, or null.
    function mapPage(item: Item): Item {
        if (item.objectName === "shell.map")
            return item;
        for (let i = 0; i < item.children.length; ++i) {
            const found = screen.mapPage(item.children[i]);
            if (found)
                return found;
        }
        return null;
    }

    color: Theme.paper
    Component.onCompleted: {
        if (screen.liveFailing)
            SampleService.failLiveSnapshot();
        if (screen.ownFlight)
            SampleService.requestOwnFlight();
    }

    AppState {
        id: account
    }
    Timer {
        interval: 100
        repeat: true
        running: screen.opens.length > 0
        onTriggered: {
            const page = screen.mapPage(screen);
            if (!page || !page.model.hasSnapshot)
                return;
            if (screen.opens === "search")
                page.model.openSearch();
            else
                page.model.openOwnFlights();
            stop();
        }
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
            }
            MemberNavigation {
                id: navigation

                member: account.isMember
                Component.onCompleted: navigation.selected = MemberTab.Map
            }
            MemberShell {
                anchors.fill: parent
                appState: account
                memberData: memberData
                navigation: navigation
            }
        }
    }
}
