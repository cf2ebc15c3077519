import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home

// The sign-in form as a new member meets it.
LoginView {
    appState: AppState {}
}
