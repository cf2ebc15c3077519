pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Community

// The upcoming events for staff, on the home tab's stack above their workbench: each card opens its event
// page, where the members' answers stand. Loads as it shows, on F5 and from its refresh button.
Rectangle {
    id: view

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    required property pageRoute route

    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("将要举行的活动")
    color: Theme.paper

    StaffEventsModel {
        id: events

        memberData: view.memberData
        navigation: view.navigation
    }
    PageRefresh {
        page: view
        onAppeared: events.appear()
        onRefresh: events.appear()
    }

    Page {
        anchors.fill: parent

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                objectName: "events.back"
                text: L.t("返回")
                symbol: "chevron.left"
                onClicked: view.navigation.pop(view.route.stack)
            }
            Text {
                Layout.fillWidth: true
                text: L.t("将要举行的活动")
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            GlassButton {
                objectName: "events.refresh"
                symbol: "arrow.clockwise"
                busy: events.loading
                Accessible.name: L.t("刷新")
                onClicked: events.appear()
            }
        }
        ErrorNotice {
            visible: events.failure.length > 0
            message: events.failure
            retryable: true
            onRetry: events.appear()
        }
        EmptyState {
            Layout.fillWidth: true
            visible: events.showsEmpty
            symbol: "calendar"
            title: L.t("暂无活动")
        }
        AdaptiveColumns {
            Repeater {
                model: events.count

                Card {
                    id: card

                    required property int index
                    readonly property flightEvent event: {
                        events.count;
                        return events.eventAt(card.index);
                    }

                    padding: 16

                    PressableStyle {
                        Layout.fillWidth: true
                        objectName: "events.event"
                        cornerRadius: 14
                        Accessible.name: (contentItem as EventSummary)?.accessibleText ?? ""
                        onClicked: events.open(card.index)

                        contentItem: EventSummary {
                            event: card.event
                            showsMap: true
                            mapHeight: 150
                            showsAircraftLine: true
                        }
                    }
                }
            }
        }
    }
}
