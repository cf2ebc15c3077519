import QtQuick
import Vorna.App

// One signed-in session: its member data and navigation, and the shell. Made afresh for every revision of
// the account state, so nothing of another session is kept.
Item {
    id: tabs

    required property AppState appState
    required property ShellPages pages

    MemberData {
        id: memberData

        client: tabs.appState.api
    }

    MemberNavigation {
        id: navigation
    }

    MacMemberShell {
        anchors.fill: parent
        appState: tabs.appState
        memberData: memberData
        navigation: navigation
        pages: tabs.pages
    }

    // The own-flight link, opened now or before these tabs came, shows the map.
    Connections {
        target: FlightActivityNavigation

        function onOwnFlightRequestChanged() {
            if (FlightActivityNavigation.ownFlightRequest.length > 0)
                navigation.selected = MemberTab.Map;
        }
    }
    Component.onCompleted: {
        if (FlightActivityNavigation.ownFlightRequest.length > 0)
            navigation.selected = MemberTab.Map;
    }
}
