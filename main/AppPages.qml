import QtQuick
import Vorna.App
import Vorna.Portal

// The pages of the signed-in window: the screens of every part of the app, composed here.
ShellPages {

    dashboard: Component {
        DashboardView {}
    }
    administrator: Component {
        PlaceholderPage {
            name: "AdministratorView"
        }
    }
    flights: Component {
        PlaceholderPage {
            name: "PirepLandingView"
        }
    }
    live: Component {
        PlaceholderPage {
            name: "LivePortalView"
        }
    }
    map: Component {
        PlaceholderPage {
            name: "LiveMapView"
        }
    }
    account: Component {
        PlaceholderPage {
            name: "AccountRoot"
        }
    }
    event: Component {
        PlaceholderPage {
            name: "EventDetailView"
            showsBack: true
            onBack: navigation.popEvent()
        }
    }
    flightRoute: Component {
        PlaceholderPage {
            name: "PirepDetailView · PirepFormView"
            showsBack: true
            onBack: navigation.popFlight()
        }
    }
    accountRoute: Component {
        PlaceholderPage {
            name: "LegalTextView · ProfileEditView · AccountView"
            showsBack: true
            onBack: navigation.popAccount()
        }
    }
}
