import Vorna.State
import Vorna.Home

// The sign-in form filled in from the keyboard and tabbed on to its button, which shows its focus ring.
LoginView {
    property string typed: "\tlichen\tfly-vornalia\t\t"

    appState: AppState {}
}
