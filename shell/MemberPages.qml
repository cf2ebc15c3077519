import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Portal
import Vorna.Community
import Vorna.Flights
import Vorna.Review
import Vorna.Shell

// Every page of the member tabs, one row each: the page and its screen's component, made by the tab's stack
// when it shows the page. A screen not in the app yet names itself. The components stay unbound: the
// stacks make them in contexts of their own.
PageTable {
    PageRow {
        page: ShellPage.Dashboard

        DashboardView {}
    }
    PageRow {
        page: ShellPage.Workbench

        AdministratorView {
            objectName: "shell.workbench"
        }
    }
    PageRow {
        page: ShellPage.Flights

        PirepLandingView {}
    }
    PageRow {
        page: ShellPage.Live

        StandInPage {
            name: L.t("Live 机队")
            symbol: "airplane.circle"
        }
    }
    PageRow {
        page: ShellPage.Map

        StandInPage {
            objectName: "shell.map"
            name: L.t("实时地图")
            symbol: "map"
        }
    }
    PageRow {
        page: ShellPage.Account

        StandInPage {
            id: accountRoot

            objectName: "shell.account"
            name: L.t("账号与设置")
            symbol: "person.crop.circle"

            // The one row of the account tab that has its page already.
            GlassButton {
                objectName: "account.leaderboard"
                text: L.t("联盟排行榜")
                symbol: "trophy"
                onClicked: accountRoot.navigation.pushLeaderboard()
            }
        }
    }
    PageRow {
        page: ShellPage.Event

        EventDetailView {
            id: eventPage

            required property pageRoute route

            objectName: "shell.event"
            Component.onCompleted: eventPage.model.openRoute(eventPage.route)
            onClose: eventPage.navigation.pop(eventPage.route.stack)
        }
    }
    PageRow {
        page: ShellPage.ReportDetail

        PirepDetailView {
            id: detailPage

            required property MemberNavigation navigation
            required property pageRoute route

            Component.onCompleted: detailPage.model.openRoute(detailPage.navigation, detailPage.route)
            onClose: detailPage.navigation.pop(detailPage.route.stack)
        }
    }
    PageRow {
        page: ShellPage.ReportForm

        PirepFormView {
            id: formPage

            required property MemberNavigation navigation
            required property pageRoute route

            Component.onCompleted: formPage.model.openRoute(formPage.navigation, formPage.route)
            onClose: formPage.navigation.pop(formPage.route.stack)
        }
    }
    PageRow {
        page: ShellPage.Legal

        StandInPage {
            name: L.t("服务条款与隐私政策")
            symbol: "doc.text"
        }
    }
    PageRow {
        page: ShellPage.ProfileEdit

        StandInPage {
            name: L.t("编辑资料")
            symbol: "person.crop.circle"
        }
    }
    PageRow {
        page: ShellPage.Profile

        StandInPage {
            name: L.t("个人资料")
            symbol: "person.crop.circle"
        }
    }
    PageRow {
        page: ShellPage.Leaderboard

        Item {
            id: leaderboardPage

            required property AppState appState
            required property MemberData memberData
            required property MemberNavigation navigation
            required property pageRoute route

            LeaderboardView {
                anchors.fill: parent
                appState: leaderboardPage.appState
                memberData: leaderboardPage.memberData
                showsBack: true
                onBack: leaderboardPage.navigation.pop(leaderboardPage.route.stack)
            }
        }
    }
}
