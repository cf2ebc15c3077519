import QtQuick
import Vorna.Ui
import Vorna.State

// The placeholder of a screen not in the app yet, in a place of the shell: the page host hands every page
// the member's objects.
PlaceholderPage {
    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
}
