import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Community

// The leaderboard page of the sample member "lichen", on the board and period a screen names.
Rectangle {
    id: screen

    property int board: LeaderboardModel.Members
    property int period: LeaderboardModel.Total
    property int metric: LeaderboardModel.Time
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
            LeaderboardView {
                id: view

                anchors.fill: parent
                appState: account
                memberData: memberData
                showsBack: true
                Component.onCompleted: {
                    view.model.board = screen.board;
                    view.model.metric = screen.metric;
                    view.model.period = screen.period;
                }
            }
        }
    }
}
