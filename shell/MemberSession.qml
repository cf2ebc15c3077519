import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Shell

// One signed-in session: its member data and navigation, and the shell. Made afresh for every revision of
// the account state, so nothing of another session is kept.
Item {
    id: tabs

    required property AppState appState
    // The window's question before quitting: it asks while a page of these tabs is still sending.
    property QuitQuestion quitQuestion

    MemberData {
        id: memberData

        client: tabs.appState.api
    }

    // It follows the own-flight link, opened now or before these tabs came, to the map.
    MemberNavigation {
        id: navigation

        member: tabs.appState.isMember
        // A report the member was writing when their session ended comes back with the sign-in.
        Component.onCompleted: {
            if (tabs.quitQuestion)
                tabs.quitQuestion.navigation = navigation;
            if (!tabs.appState.isMember || !tabs.appState.keepsForm("report"))
                return;
            navigation.selected = MemberTab.Flights;
            navigation.startPirep();
        }
    }

    MemberShell {
        anchors.fill: parent
        appState: tabs.appState
        memberData: memberData
        navigation: navigation
    }
}
