import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.State
import Vorna.Home

// The notification inbox of the sample member "lichen" from the keyboard: Tab onto the first notice, then
// Down twice; the third notice is the keyboard's, drawn with its ring.
Rectangle {
    id: screen

    property list<string> typed: ["\t\t\t", "↓↓"]

    color: Theme.paper

    AppState {
        id: account
    }
    SignInModel {
        id: signInForm

        appState: account
        username: "lichen"
        password: "fly-vornalia"
        Component.onCompleted: signIn()
    }

    Loader {
        anchors.fill: parent
        active: account.signedIn
        sourceComponent: StackView {
            MemberData {
                id: memberData

                client: account.api
            }
            MemberNavigation {
                id: navigation

                Component.onCompleted: navigation.pushPage(NavigationStack.HomeStack, ShellPage.Inbox)
            }

            initialItem: MemberNotificationsView {
                appState: account
                memberData: memberData
                navigation: navigation
                route: navigation.routeAt(NavigationStack.HomeStack, 0)
            }
        }
    }

    Text {
        anchors.centerIn: parent
        visible: !account.signedIn && !signInForm.busy
        text: signInForm.notice
        color: Theme.rejected
    }
}
