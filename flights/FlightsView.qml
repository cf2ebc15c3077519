import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Flights

// The flights tab's first page: the member's reports with their filter and search, and "+" that starts a
// new one. A chosen report opens its detail above this page.
Rectangle {
    id: landing

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation

    color: Theme.paper

    LogbookModel {
        id: reports

        memberData: landing.memberData
    }

    LogbookRecordsView {
        anchors.fill: parent
        title: "PIREP"
        logbook: reports
        onOpenPirep: row => reports.openPirep(landing.navigation, NavigationStack.FlightStack, row)
        menu: [
            GlassButton {
                objectName: "pirep.new"
                symbol: "plus"
                Accessible.name: L.t("新建 PIREP")
                onClicked: landing.navigation.startPirep()
            }
        ]
    }
}
