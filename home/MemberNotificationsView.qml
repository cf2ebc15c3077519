pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Home

// The notification inbox on the home tab's stack: the unread notices, each opening its page above it (an
// event's, a report's detail, or the notice's own), read one by one by a swipe or the context menu, or all at
// once. While it is on screen it loads and keeps the list fresh.
Rectangle {
    id: view

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    required property pageRoute route

    color: Theme.paper
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("通知")
    onVisibleChanged: view.visible ? inbox.appear() : inbox.disappear()
    Component.onCompleted: {
        if (view.visible)
            inbox.appear();
    }

    function open(noticeId: string) {
        inbox.openNoticePage(view.navigation, view.route.stack, noticeId);
    }

    MemberNotificationsModel {
        id: inbox

        app: view.appState
        memberData: view.memberData
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        InboxHeader {
            title: L.t("通知")
            canGoBack: true
            onBack: view.navigation.pop(view.route.stack)

            GlassButton {
                objectName: "inbox.markAll"
                text: L.t("全部已读")
                // Off with nothing unread; busy, keeping the keyboard, while it marks.
                busy: inbox.marking
                enabled: inbox.canMarkAll || inbox.marking
                onClicked: inbox.startMarkAllRead()
            }
        }

        InlineLoader {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 12
            visible: inbox.refreshing
        }
        LoadNotice {
            objectName: "inbox.error"
            Layout.topMargin: 12
            Layout.leftMargin: list.side
            Layout.rightMargin: list.side
            memberData: view.memberData
            load: MemberLoad.Inbox
            // Read marks that would not save are the outcome of what the member just did.
            alert: true
            failures: inbox.failures
        }

        // The arrows move the keyboard's row with its ring, and a row marked read hands the keyboard to the next.
        ListKeys {
            view: list
        }
        ListView {
            id: list

            RevealFocus {
                flickable: list
            }

            readonly property bool regular: ViewRules.isRegular(width)
            readonly property real side: Math.max(ViewRules.pageHorizontalPadding(regular),
                                                  (width - ViewRules.pageMaximumWidth(regular)) / 2)

            Layout.fillWidth: true
            Layout.fillHeight: true
            topMargin: 12
            bottomMargin: 24
            clip: true
            spacing: 8
            model: inbox.unread
            boundsBehavior: Flickable.DragOverBounds
            // Pulled down past the top and let go: reload.
            onDragEnded: {
                if (verticalOvershoot < -64)
                    inbox.startRefresh()
            }

            ScrollBar.vertical: ScrollBar {}

            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                y: 40
                visible: inbox.showsEmpty
                text: L.t("暂无新消息")
                font.pixelSize: Typography.body
                color: Theme.muted
            }

            delegate: SwipeDelegate {
                id: row

                required property string noticeId
                required property string title
                required property string detail
                required property string time
                required property string symbol

                function markRead() {
                    inbox.startMarkRead(row.noticeId)
                    row.swipe.close()
                }

                x: list.side
                width: list.width - 2 * list.side
                leftPadding: 16
                rightPadding: 16
                topPadding: 14
                bottomPadding: 14
                focusPolicy: Qt.StrongFocus
                Accessible.name: ViewRules.combined([title, detail, time])
                // Qt 6.4 gives a press from a screen reader nothing to do unless it is handled.
                Accessible.onPressAction: row.clicked()
                onClicked: view.open(row.noticeId)
                swipe.onCompleted: row.markRead()
                // The context menu from the keyboard: the Menu key or Shift+F10, its first entry ready for
                // Return.
                Keys.onPressed: event => {
                    if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
                        contextMenu.openedByKeyboard = true;
                        contextMenu.popup(row, 16, row.height / 2);
                        contextMenu.currentIndex = 0;
                        event.accepted = true;
                    }
                }

                contentItem: RowLayout {
                    spacing: 12

                    Symbol {
                        Layout.alignment: Qt.AlignVCenter
                        Layout.preferredWidth: 24
                        name: row.symbol
                        size: 20
                        color: Theme.accent
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 5

                        Text {
                            Layout.fillWidth: true
                            text: row.title
                            wrapMode: Text.Wrap
                            font.pixelSize: Typography.headline
                            font.weight: Font.DemiBold
                            color: Theme.ink
                        }
                        Text {
                            Layout.fillWidth: true
                            visible: row.detail.length > 0
                            text: row.detail
                            wrapMode: Text.Wrap
                            font.pixelSize: Typography.subheadline
                            color: Theme.muted
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.time
                            font.pixelSize: Typography.caption
                            color: Theme.muted
                        }
                    }
                }

                background: Rectangle {
                    radius: 14
                    color: row.down ? Theme.sunken : Theme.surface
                    border.color: Theme.line
                    border.width: 1

                    FocusRing {
                        control: row
                        radius: parent.radius + spread
                    }
                }

                swipe.right: Rectangle {
                    width: row.width
                    height: row.height
                    radius: 14
                    color: Theme.accent

                    Text {
                        anchors.right: parent.right
                        anchors.rightMargin: 24
                        anchors.verticalCenter: parent.verticalCenter
                        text: L.t("已读")
                        font.pixelSize: Typography.body
                        font.weight: Font.DemiBold
                        color: Theme.white
                    }
                    TapHandler {
                        onTapped: row.markRead()
                    }
                }

                TapHandler {
                    acceptedButtons: Qt.RightButton
                    onTapped: {
                        contextMenu.openedByKeyboard = false;
                        contextMenu.popup();
                    }
                }

                Menu {
                    id: contextMenu

                    // Opened from the keyboard, the menu gives it back to its row as it closes (the popup alone
                    // leaves it on the window), ring and all; a row marked read then hands it to the next.
                    property bool openedByKeyboard: false

                    objectName: "inbox.menu"
                    onClosed: {
                        if (!contextMenu.openedByKeyboard)
                            return;
                        row.forceActiveFocus(Qt.TabFocusReason);
                        row.focusReason = Qt.TabFocusReason;
                    }
                    background: Rectangle {
                        implicitWidth: 160
                        radius: 8
                        color: Theme.surface
                        border.color: Theme.line
                        border.width: 1
                    }

                    MenuItem {
                        id: readItem

                        objectName: "inbox.menu.read"
                        text: L.t("已读")
                        onTriggered: row.markRead()

                        // Opened from the keyboard, Return takes the entry as Space does.
                        ReturnKey {
                            target: readItem
                        }

                        contentItem: Text {
                            leftPadding: 4
                            text: readItem.text
                            font.pixelSize: Typography.body
                            color: Theme.ink
                            verticalAlignment: Text.AlignVCenter
                        }
                        background: Rectangle {
                            anchors.fill: parent
                            anchors.margins: 4
                            radius: 5
                            color: readItem.highlighted ? Theme.sunken : "transparent"
                        }
                    }
                }
            }
        }
    }
}
