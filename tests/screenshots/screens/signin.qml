import QtQuick
import Vorna.App
import Vorna.Portal

// The sign-in form as a new member meets it.
LoginView {
    appState: AppState {}
}
