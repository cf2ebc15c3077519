import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Account

// An account form of a sample member, signed in as a screen names him: the password form of the must-change
// account, the profile set-up of the new account, or the profile edit of "lichen".
Rectangle {
    id: screen

    property string username: "lichen"
    property string password: "fly-vornalia"
    // "password", "profile" (required) or "edit"
    property string form: "edit"
    // The profile form fetches the forum avatar (the sample service plays the forum) as it shows.
    property bool forumAvatar: false
    // Keys the harness types once the screen has settled.
    property list<string> typed

    color: Theme.paper

    AppState {
        id: account
    }
    SignInModel {
        appState: account
        username: screen.username
        password: screen.password
        Component.onCompleted: signIn()
    }

    Loader {
        anchors.fill: parent
        active: account.gate !== AppState.NoGate
        sourceComponent: screen.form === "password" ? passwordForm : profileForm
    }
    Component {
        id: passwordForm

        PasswordView {
            appState: account
            required: true
        }
    }
    Component {
        id: profileForm

        ProfileEditView {
            id: profileView

            appState: account
            required: screen.form === "profile"
            Component.onCompleted: {
                if (screen.forumAvatar)
                    profileView.useForumAvatar();
            }
        }
    }
}
