import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Live
import Vorna.Screenshots

// The Live screens of a sample account: one fleet aircraft's page (with its application form open when a
// screen asks), the review of one application, or the Infinite Flight sign-in in the authorisation browser.
Rectangle {
    id: screen

    property string username: "lichen"
    // "aircraft", "form", "review" or "browser"
    property string show: "aircraft"
    property string organizationId: "org-vornalia"
    property string aircraftId: "ac-101"
    // The page as after an application from it.
    property bool sent: false
    // The form's entries, as if typed.
    property string departure
    property string arrival
    property string briefing
    property bool timeless: true
    property string formMessage
    // The review: the application, and the choices as if made.
    property string applicationId: "app-10"
    property int decisionIndex: 0
    property int outcomeIndex: 0
    property string reason
    property string scheduleId
    property bool checked: false
    property bool confirming: false
    property bool submitted: false
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
        sourceComponent: screen.show === "review" ? review : screen.show === "browser" ? browser : aircraft
    }
    Component {
        id: aircraft

        LiveAircraftPage {
            id: page

            appState: account
            item: SampleService.fleetItem(screen.organizationId, screen.aircraftId)
            Component.onCompleted: {
                if (screen.sent)
                    page.model.formSubmitted();
                if (screen.show !== "form")
                    return;
                page.apply();
                page.form.departure = screen.departure;
                page.form.arrival = screen.arrival;
                page.form.briefing = screen.briefing;
                page.form.timeless = screen.timeless;
                if (screen.formMessage !== "")
                    page.form.submit();
            }
        }
    }
    Component {
        id: review

        LiveApplicationReviewView {
            id: reviewView

            appState: account
            item: SampleService.application(screen.applicationId)
            Component.onCompleted: {
                reviewView.model.decisionIndex = screen.decisionIndex;
                reviewView.model.outcomeIndex = screen.outcomeIndex;
                reviewView.model.reason = screen.reason;
                reviewView.model.scheduleId = screen.scheduleId;
                reviewView.model.checked = screen.checked;
                if (screen.submitted)
                    reviewView.model.confirm();
                else if (screen.confirming)
                    reviewView.model.ask();
            }
        }
    }
    Component {
        id: browser

        LiveAuthorizationBrowser {
            url: SampleService.vendorPage()
            api: account.api
        }
    }
}
