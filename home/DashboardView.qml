pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights
import Vorna.Community
import Vorna.Maps
import Vorna.Home

// The member's home page. It loads each time it comes on screen, and on its refresh button (F5, Ctrl+R);
// the bell pushes the inbox and the profile banner the profile form onto the home tab's stack.
Item {
    id: stack

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation

    // What a screen reader says when the page takes the focus: after signing in, and back on the home tab.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("成员中心")

    DashboardModel {
        id: dashboard

        appState: stack.appState
        memberData: stack.memberData
        navigation: stack.navigation
    }
    PageRefresh {
        page: stack
        onAppeared: dashboard.startRefresh()
        onRefresh: dashboard.startRefresh()
    }

    LatestFlightModel {
        id: latest

        memberData: stack.memberData
    }

    Item {
        anchors.fill: parent

        Page {
            id: page

            anchors.fill: parent
            spacing: 14

            Text {
                objectName: "home.title"
                text: L.t("成员中心")
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Item {
                Layout.fillWidth: true
                implicitHeight: header.implicitHeight + 12

                ColumnLayout {
                    id: header

                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.rightMargin: 104
                    anchors.top: parent.top
                    anchors.topMargin: 6
                    spacing: 6

                    // Qt 6.4 leaves plain text out of the accessibility tree unless it has a role and a name.
                    Text {
                        Layout.fillWidth: true
                        objectName: "home.greeting"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: dashboard.greeting
                        font.pixelSize: Typography.subheadline
                        font.weight: Font.DemiBold
                        color: Theme.accent
                    }
                    Text {
                        Layout.fillWidth: true
                        objectName: "home.name"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: dashboard.displayName
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: 18
                        font.pixelSize: 28
                        font.weight: Font.Bold
                        color: Theme.ink
                        maximumLineCount: 1
                    }
                    Text {
                        Layout.fillWidth: true
                        objectName: "home.callsign"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: dashboard.callsignLine
                        font.pixelSize: Typography.subheadline
                        color: Theme.muted
                    }
                }

                Row {
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.topMargin: 6
                    spacing: 8

                    IconButton {
                        objectName: "home.refresh"
                        symbol: "arrow.clockwise"
                        text: L.t("刷新")
                        onClicked: dashboard.startRefresh()
                    }
                    IconButton {
                        objectName: "home.notifications"
                        symbol: dashboard.bellSymbol
                        text: L.t("通知")
                        onClicked: stack.navigation.pushPage(NavigationStack.HomeStack, ShellPage.Inbox)
                    }
                }
            }

            // Two columns of one width, whatever the figures say.
            ColumnsLayout {
                Layout.fillWidth: true
                columns: 2
                spacing: 10
                rowSpacing: 10

                Metric {
                    objectName: "home.approvedDuration"
                    title: L.t("已批准时长")
                    value: dashboard.approvedDuration
                    symbol: "clock.fill"
                }
                Metric {
                    objectName: "home.approvedCount"
                    title: L.t("已批准报告")
                    value: dashboard.approvedCount
                    symbol: "doc.text.fill"
                }
                Metric {
                    objectName: "home.pending"
                    title: L.t("待审核")
                    value: dashboard.pendingCount
                    symbol: "tray.fill"
                }
                Metric {
                    objectName: "home.rank"
                    title: L.t("我的排名")
                    value: dashboard.rankText
                    symbol: "trophy.fill"
                }
            }

            LoadNotice {
                objectName: "home.pirepsError"
                memberData: stack.memberData
                load: MemberLoad.Pireps
            }
            ErrorNotice {
                objectName: "home.profileError"
                alert: true
                visible: message.length > 0
                message: dashboard.profileError
                retryable: true
                onRetry: dashboard.retryProfile()
                failures: dashboard.profileFailures
            }

            SectionHeading {
                visible: dashboard.showsTodo
                title: L.t("需要你处理")
                subtitle: dashboard.todoSubtitle
            }
            TodoBanner {
                Layout.fillWidth: true
                objectName: "home.profileBanner"
                visible: dashboard.profileIncomplete
                title: L.t("先完善个人资料")
                detail: L.t("提交飞行报告前，请补全头像、联系邮箱和呼号。")
                symbol: "person.crop.circle.badge.exclamationmark"

                // Bordered, at the small control size.
                BorderedButton {
                    objectName: "home.profileBanner.action"
                    text: L.t("完善资料")
                    font.pixelSize: Typography.caption
                    // The profile form stands on the home tab's own stack.
                    onClicked: stack.navigation.pushPage(NavigationStack.HomeStack, ShellPage.ProfileEdit)
                }
            }
            Repeater {
                model: dashboard.heldPireps

                TodoBanner {
                    id: held

                    required property int index
                    required title
                    required detail

                    Layout.fillWidth: true
                    objectName: "home.heldBanner"
                    symbol: "questionmark.bubble"

                    BorderedButton {
                        objectName: "home.heldBanner.action"
                        text: L.t("去补充")
                        font.pixelSize: Typography.caption
                        onClicked: dashboard.openHeldPirep(held.index)
                    }
                }
            }

            // Two columns side by side where they have room, one above the other otherwise: the latest flight,
            // and the events with their heading and every card stacked in one column of their own.
            AdaptiveColumns {
                Layout.fillWidth: true
                spacing: 16

                ColumnLayout {
                    spacing: 16

                    SectionHeading {
                        visible: page.regular
                        title: L.t("最近一次飞行")
                    }
                    PressableStyle {
                        Layout.fillWidth: true
                        visible: latest.hasFlight
                        objectName: "home.latest-flight"
                        Accessible.role: Accessible.Button
                        Accessible.name: latest.accessibleText
                        onClicked: dashboard.openLatestFlight()

                        contentItem: LatestFlightCard {
                            model: latest
                            title: page.regular ? "" : L.t("最近一次飞行")
                        }
                    }
                    LatestFlightPlaceholder {
                        visible: !latest.hasFlight
                        model: latest
                        title: page.regular ? "" : L.t("最近一次飞行")
                    }
                }
                ColumnLayout {
                    visible: dashboard.eventCount > 0
                    spacing: 16

                    SectionHeading {
                        Layout.topMargin: page.regular ? 0 : 14
                        title: L.t("将要举行的活动")
                    }
                    Repeater {
                        model: dashboard.eventCount

                        Card {
                            id: eventCard

                            required property int index
                            // Read again whenever the dashboard's lists change.
                            readonly property flightEvent event: {
                                dashboard.eventCount;
                                return dashboard.eventAt(eventCard.index);
                            }

                            padding: 16
                            spacing: 12

                            PressableStyle {
                                Layout.fillWidth: true
                                objectName: "home.event"
                                cornerRadius: 14
                                // The card's content is the button's label.
                                Accessible.name: (contentItem as EventSummary)?.accessibleText ?? ""
                                onClicked: dashboard.openEvent(eventCard.index)

                                contentItem: EventSummary {
                                    event: eventCard.event
                                    photoHeight: 150
                                    showsMap: true
                                    mapHeight: 150
                                    showsAircraftLine: true
                                }
                            }
                            Rectangle {
                                Layout.fillWidth: true
                                Layout.preferredHeight: 1
                                color: Theme.line
                            }
                            AttendanceButtons {
                                Layout.fillWidth: true
                                memberData: stack.memberData
                                event: eventCard.event
                            }
                        }
                    }
                }
            }
            LoadNotice {
                memberData: stack.memberData
                load: MemberLoad.Events
            }

            SectionHeading {
                Layout.topMargin: 14
                title: L.t("我飞过的航线")
                subtitle: L.t("仅显示本人已批准报告的机场连接")
            }
            LoadNotice {
                memberData: stack.memberData
                load: MemberLoad.Routes
            }
            RoutesMapView {
                Layout.fillWidth: true
                Layout.preferredHeight: page.regular ? 420 : 280
                objectName: "home.routes"
                routes: dashboard.routes
                interactionModes: MapView.Pan | MapView.Zoom
                expandable: true

                // Corners rounded to 20: a ring in the page's colour whose inner edge is the map's
                // rounded outline (Qt 6.4 clips only to rectangles), and the hairline inside it.
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: -10
                    radius: 30
                    color: "transparent"
                    border.width: 10
                    border.color: Theme.paper
                }
                Rectangle {
                    anchors.fill: parent
                    radius: 20
                    color: "transparent"
                    border.width: 1
                    border.color: Theme.line
                }
            }
            LoadNotice {
                memberData: stack.memberData
                load: MemberLoad.Leaderboard
            }
        }

        BrandLoader {
            anchors.centerIn: parent
            visible: dashboard.showsLoader
            size: 72
            caption: L.t("正在加载")
            tile: true
        }
    }
}
