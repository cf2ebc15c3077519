import QtQuick
import Vorna.Ui
import Vorna.State

// The placeholder of a screen not in the app yet, in a place of the shell: the page table hands every page
// the member's objects, and a page pushed on a stack its route, whose stack its back button pops.
PlaceholderPage {
    id: standIn

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property pageRoute route

    showsBack: standIn.route.stack !== NavigationStack.NoStack
    onBack: standIn.navigation.pop(standIn.route.stack)
}
