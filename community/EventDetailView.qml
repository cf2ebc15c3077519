pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Community

// The page of one event: its card with the route map; a member's answers with their note and, inside the
// report window, the report button; staff's list of everybody's answers; the aircraft it allows.
Rectangle {
    id: view

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    // Where the page stands on the member's stacks when a stack made it: it shows that route's event, and its
    // way back pops it.
    property pageRoute route
    // The inbox hands it the event's id instead (EventDetailModel::openEventId).
    readonly property EventDetailModel model: detail
    property bool showsBack: true
    signal close

    color: Theme.paper
    Component.onCompleted: {
        detail.openRoute(view.route);
        detail.appear();
    }
    onClose: view.navigation.leave(view.route)
    // Heard by its title when it takes the keyboard: pushed on a tab's stack, or opened from a notice.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("活动详情")

    EventDetailModel {
        id: detail

        appState: view.appState
        memberData: view.memberData
        navigation: view.navigation
    }

    Page {
        anchors.fill: parent
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                objectName: "event.back"
                visible: view.showsBack
                text: L.t("返回")
                symbol: "chevron.left"
                onClicked: view.close()
            }
            Text {
                Layout.fillWidth: true
                objectName: "event.heading"
                text: L.t("活动详情")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }

        Card {
            padding: 16
            spacing: 14

            EventSummary {
                Layout.fillWidth: true
                event: detail.event
                photoHeight: 150
                showsMap: true
                mapHeight: 200
                showsAircraftLine: false
            }
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 1
                visible: detail.showsAnswers
                color: Theme.line
            }
            AttendanceButtons {
                Layout.fillWidth: true
                objectName: "event.attendance"
                visible: detail.showsAnswers
                memberData: view.memberData
                event: detail.event
                large: true
            }
            Text {
                Layout.fillWidth: true
                objectName: "event.answerNote"
                visible: detail.showsAnswers
                text: detail.note
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
            GlassButton {
                Layout.fillWidth: true
                objectName: "event.report"
                visible: detail.inPirepWindow
                prominent: true
                topPadding: 11
                bottomPadding: 11
                text: L.t("提交本次活动 PIREP（×1.5）")
                symbol: "airplane.departure"
                onClicked: detail.openSubmission()
            }
        }

        EventResponsesSection {
            objectName: "event.responses"
            visible: detail.showsResponses && detail.event.id.length > 0
            appState: view.appState
            eventId: detail.event.id
        }

        DetailSection {
            title: L.t("可用飞机与涂装")
            symbol: "airplane"
            tint: Theme.accent

            Repeater {
                model: detail.options

                ColumnLayout {
                    id: option

                    required property string aircraft
                    required property string livery

                    Layout.fillWidth: true
                    Layout.topMargin: 4
                    Layout.bottomMargin: 4
                    spacing: 4

                    AircraftPhoto {
                        Layout.fillWidth: true
                        aircraft: option.aircraft
                        livery: option.livery
                        nominalHeight: 160
                    }
                    Text {
                        Layout.fillWidth: true
                        text: option.aircraft
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.subheadline
                        font.weight: Font.DemiBold
                        color: Theme.ink
                    }
                    Text {
                        Layout.fillWidth: true
                        text: option.livery
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                }
            }
        }
    }
}
