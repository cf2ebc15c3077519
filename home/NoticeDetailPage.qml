import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State

// The page of a notice that opens neither an event nor a report: its title, its detail (a row even when
// empty) and its day.
Rectangle {
    id: page

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    required property pageRoute route
    readonly property noticeRoute notice: page.navigation.noticeAt(page.route)
    readonly property string noticeTitle: page.notice.title
    readonly property string detail: page.notice.detail
    readonly property string time: page.notice.time

    color: Theme.paper
    Accessible.role: Accessible.Pane
    Accessible.name: page.noticeTitle

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        InboxHeader {
            title: L.t("消息详情")
            canGoBack: true
            onBack: page.navigation.pop(page.route.stack)
        }

        Flickable {
            id: scroll

            Layout.fillWidth: true
            Layout.fillHeight: true
            contentHeight: group.height + 48
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            Rectangle {
                id: group

                x: (scroll.width - width) / 2
                y: 20
                width: Math.min(scroll.width - 2 * ViewRules.pageHorizontalPadding(ViewRules.isRegular(scroll.width)),
                                ViewRules.pageMaximumWidth(true))
                height: rows.implicitHeight
                radius: 14
                color: Theme.surface
                border.color: Theme.line
                border.width: 1

                ColumnLayout {
                    id: rows

                    anchors.left: parent.left
                    anchors.right: parent.right
                    spacing: 0

                    Text {
                        Layout.fillWidth: true
                        Layout.margins: 16
                        text: page.noticeTitle
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.headline
                        font.weight: Font.DemiBold
                        color: Theme.ink
                    }
                    Rectangle {
                        Layout.fillWidth: true
                        Layout.leftMargin: 16
                        implicitHeight: 1
                        color: Theme.line
                    }
                    Text {
                        Layout.fillWidth: true
                        Layout.margins: 16
                        text: page.detail
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }
                    Rectangle {
                        Layout.fillWidth: true
                        Layout.leftMargin: 16
                        implicitHeight: 1
                        color: Theme.line
                    }
                    Text {
                        Layout.fillWidth: true
                        Layout.margins: 16
                        text: page.time
                        font.pixelSize: Typography.body
                        color: Theme.muted
                    }
                }
            }
        }
    }
}
