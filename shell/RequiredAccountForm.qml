import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Account

// What a first login must do before the tabs: set a new password, or set up the profile. The window makes it
// by address, so the account screens are compiled when one is asked for, not at each start.
Loader {
    id: form

    required property AppState appState
    required property bool profile

    sourceComponent: form.profile ? profileForm : passwordForm
    // The keyboard that the sign-in form had goes on in the form, once it stands in the window.
    onLoaded: comeOn.start()

    Timer {
        id: comeOn

        interval: 0
        onTriggered: ViewRules.screenCameOn(form.item)
    }

    Component {
        id: passwordForm

        // When the gate moves on, the window shows what it asks next.
        PasswordView {
            objectName: "gate.password"
            appState: form.appState
            required: true
        }
    }

    Component {
        id: profileForm

        ProfileEditView {
            objectName: "gate.profile"
            appState: form.appState
            required: true
        }
    }
}
