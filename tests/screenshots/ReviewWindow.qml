import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Review

// The review workbench of a sample staff account ("wangfang" unless told): the queue, or one report's
// review opened from it, with a decision and its text when a screen names them.
Rectangle {
    id: screen

    property string username: "wangfang"
    // The report whose review opens once the queue has it; none for the queue itself.
    property string reportId
    // The queue's filter key and search.
    property string filter: "pending"
    property string search
    // The review's decision and its reason or note, as if chosen.
    property string decision
    property string text
    // Keys the harness types once the screen has settled.
    property list<string> typed

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

    Loader {
        anchors.fill: parent
        active: account.gate === AppState.Ready
        sourceComponent: Item {
            MemberData {
                id: sample

                client: account.api
            }
            MemberNavigation {
                id: pages
            }
            ReviewWorkbenchView {
                id: view

                property bool opened: false

                anchors.fill: parent
                appState: account
                memberData: sample
                navigation: pages
                Component.onCompleted: {
                    view.model.filter = screen.filter;
                    view.model.search = screen.search;
                }

                Connections {
                    target: view.model

                    function onShownChanged() {
                        if (view.opened || screen.reportId === "" || view.model.loading || view.model.reports.rowCount() === 0)
                            return;
                        view.opened = true;
                        view.model.openReview(pages, screen.reportId);
                        review.active = true;
                    }
                }
            }
            // The review opened from the queue stands on the home tab's stack, over the queue.
            Loader {
                id: review

                anchors.fill: parent
                active: false
                sourceComponent: PirepReviewView {
                    appState: account
                    memberData: sample
                    navigation: pages
                    route: pages.routeAt(NavigationStack.HomeStack, 0)
                    Component.onCompleted: {
                        if (screen.decision === "")
                            return;
                        model.decision = screen.decision;
                        if (screen.decision === "inquiry")
                            model.note = screen.text;
                        else
                            model.reason = screen.text;
                    }
                }
            }
        }
    }
}
