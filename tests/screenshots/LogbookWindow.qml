import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Flights

// The logbook, one report's detail, or the latest-flight card of a sample member ("lichen" unless told).
Rectangle {
    id: screen

    property string username: "lichen"
    // "logbook", "detail" or "latest".
    property string page: "logbook"
    // The report the detail shows.
    property string reportId
    // The logbook's page: 0 the records, 1 the routes.
    property int logbookPage: 0
    // The logbook's filter and search.
    property int filter: LogbookModel.All
    property string search

    color: Theme.paper

    AppState {
        id: account
    }
    SignInModel {
        appState: account
        username: screen.username
        password: "fly-vornalia"
        Component.onCompleted: signIn()
    }

    // The member data comes with the signed-in client, as the member tabs make it.
    Loader {
        anchors.fill: parent
        active: account.gate === AppState.Ready
        sourceComponent: Item {
            MemberData {
                id: sample

                client: account.api
            }
            Component {
                id: logbook

                MemberLogbookPage {
                    id: logbookPage

                    appState: account
                    memberData: sample
                    navigation: MemberNavigation {}
                    Component.onCompleted: {
                        logbookPage.logbook.filter = screen.filter;
                        logbookPage.logbook.search = screen.search;
                        logbookPage.page = screen.logbookPage;
                    }
                }
            }
            Component {
                id: detail

                PirepDetailView {
                    id: detailView

                    appState: account
                    memberData: sample
                    Component.onCompleted: {
                        detailView.model.reportId = screen.reportId;
                        sample.reload(MemberLoad.Pireps);
                    }
                }
            }
            Component {
                id: latest

                Page {
                    LatestFlightModel {
                        id: latestModel

                        memberData: sample
                        Component.onCompleted: sample.reload(MemberLoad.Latest)
                    }
                    LatestFlightCard {
                        visible: latestModel.hasFlight
                        model: latestModel
                        title: L.t("最近一次飞行")
                    }
                    LatestFlightPlaceholder {
                        visible: !latestModel.hasFlight
                        model: latestModel
                        title: L.t("最近一次飞行")
                    }
                }
            }

            Loader {
                anchors.fill: parent
                sourceComponent: screen.page === "detail" ? detail : screen.page === "latest" ? latest : logbook
            }
        }
    }
}
