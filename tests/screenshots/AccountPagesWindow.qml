import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Account

// A page of the account tab for "lichen", as a screen names it: "root", "page" (his profile page),
// "settings", "information", "terms", "privacy", or "switcher" (the account switcher; with `secondAccount`,
// that account added after "lichen", so two are saved and the second is signed in).
Rectangle {
    id: screen

    property string page: "root"
    // An account added once "lichen" is signed in.
    property string secondAccount
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
    AccountSwitcherModel {
        id: adding

        appState: account
        username: screen.secondAccount
        password: "fly-vornalia"
    }
    Connections {
        property bool asked: false

        target: account

        function onStateChanged() {
            if (asked || account.gate !== AppState.Ready || screen.secondAccount.length === 0)
                return;
            asked = true;
            adding.add();
        }
    }

    Loader {
        anchors.fill: parent
        active: account.gate === AppState.Ready
        sourceComponent: Item {
            MemberData {
                id: sampleData

                client: account.api
            }
            MemberNavigation {
                id: sampleNavigation
            }
            Loader {
                anchors.fill: parent
                sourceComponent: {
                    switch (screen.page) {
                    case "page":
                        return accountPage;
                    case "settings":
                        return settings;
                    case "information":
                        return information;
                    case "terms":
                    case "privacy":
                        return legal;
                    case "switcher":
                        return switcher;
                    default:
                        return root;
                    }
                }
            }
            Component {
                id: root

                AccountRoot {
                    appState: account
                    memberData: sampleData
                    navigation: sampleNavigation
                }
            }
            Component {
                id: accountPage

                ProfilePage {
                    appState: account
                    memberData: sampleData
                    navigation: sampleNavigation
                }
            }
            Component {
                id: settings

                SettingsView {
                    appState: account
                    memberData: sampleData
                    navigation: sampleNavigation
                }
            }
            Component {
                id: information

                AppInformationView {
                    appState: account
                    memberData: sampleData
                    navigation: sampleNavigation
                }
            }
            Component {
                id: legal

                LegalTextView {
                    appState: account
                    memberData: sampleData
                    navigation: sampleNavigation
                    document: screen.page === "privacy" ? 1 : 0
                }
            }
            Component {
                id: switcher

                Item {
                    Rectangle {
                        anchors.centerIn: parent
                        width: 400
                        height: 560
                        radius: 16
                        color: Theme.surface
                        border.color: Theme.line

                        AccountSwitcherView {
                            anchors.fill: parent
                            color: "transparent"
                            appState: account
                            showsProfile: true
                        }
                    }
                }
            }
        }
    }
}
