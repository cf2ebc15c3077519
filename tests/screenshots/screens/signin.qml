import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Portal

// The sign-in form as a new member meets it.
LoginView {
    appState: AppState {}
}
