import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Community
import Vorna.Flights
import Vorna.Review
import Vorna.Account
import Vorna.Live
import Vorna.Maps
import Vorna.Shell

// Every page of the member tabs, one row each: the page and its screen's component, made by the tab's stack
// when it shows the page. The components stay unbound: the stacks make them in contexts of their own.
PageTable {
    PageRow {
        page: ShellPage.Dashboard

        DashboardView {}
    }
    PageRow {
        page: ShellPage.Workbench

        ReviewWorkbenchView {
            objectName: "shell.workbench"
        }
    }
    PageRow {
        page: ShellPage.Flights

        FlightsView {}
    }
    PageRow {
        page: ShellPage.Live

        LiveTabView {}
    }
    PageRow {
        page: ShellPage.LiveAircraft

        LiveAircraftEntry {}
    }
    PageRow {
        page: ShellPage.LiveReview

        LiveReviewEntry {}
    }
    PageRow {
        page: ShellPage.Map

        LiveMapView {}
    }
    PageRow {
        page: ShellPage.Account

        AccountRoot {}
    }
    PageRow {
        page: ShellPage.Event

        EventDetailView {
            objectName: "shell.event"
        }
    }
    PageRow {
        page: ShellPage.PirepDetail

        PirepDetailView {}
    }
    PageRow {
        page: ShellPage.PirepForm

        PirepFormView {}
    }
    PageRow {
        page: ShellPage.Inbox

        MemberNotificationsView {}
    }
    PageRow {
        page: ShellPage.Notice

        NoticeDetailPage {}
    }
    PageRow {
        page: ShellPage.Review

        PirepReviewView {
            objectName: "shell.review"
        }
    }
    PageRow {
        page: ShellPage.Events

        StaffEventsView {
            objectName: "shell.events"
        }
    }
    PageRow {
        page: ShellPage.Legal

        LegalTextView {}
    }
    PageRow {
        page: ShellPage.ProfileEdit

        ProfileEditView {}
    }
    PageRow {
        page: ShellPage.Profile

        ProfilePage {}
    }
    PageRow {
        page: ShellPage.Logbook

        MemberLogbookPage {
            objectName: "shell.logbook"
        }
    }
    PageRow {
        page: ShellPage.Settings

        SettingsView {}
    }
    PageRow {
        page: ShellPage.Information

        AppInformationView {}
    }
    PageRow {
        page: ShellPage.Leaderboard

        LeaderboardView {}
    }
}
