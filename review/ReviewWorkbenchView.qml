pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Review

// The staff's home page: the workbench header, the two summary tiles, the filter with its counts, the
// search and the reports of the chosen filter. A report opens its review on the home tab's stack; Escape, Alt+Left
// or its back button return here.
Item {
    id: view

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    readonly property ReviewWorkbenchModel model: queue

    Component.onCompleted: queue.appear()
    // What a screen reader says when the page takes the focus after signing in.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("审核工作台")

    ReviewWorkbenchModel {
        id: queue

        appState: view.appState
    }

    // A saved decision shows as the queue's new state; a screen reader is told what was saved as the queue
    // comes back.
    Announcement {
        objectName: "admin.notice"
        message: queue.notice
    }

    Page {
        id: page

        anchors.fill: parent
        spacing: 14
        // Shown again (back from a review, back on its tab): everything is fetched again.
        onVisibleChanged: {
            if (page.visible)
                queue.appear();
        }

        // The page's own title, inline, as every root page shows its own.
        Text {
            objectName: "admin.title"
            text: L.t("审核")
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            color: Theme.ink
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            Layout.bottomMargin: 4
            spacing: 12

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 6

                Text {
                    Layout.fillWidth: true
                    text: L.t("审核工作台")
                    font.pixelSize: 28
                    font.weight: Font.Bold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    objectName: "admin.staff"
                    text: queue.staffName + " · " + queue.roleLabel
                    font.pixelSize: Typography.subheadline
                    color: Theme.muted
                }
            }
            // The upcoming events, whose pages hold the members' answers.
            GlassButton {
                objectName: "admin.events"
                text: L.t("活动日程")
                symbol: "calendar"
                onClicked: view.navigation.pushPage(NavigationStack.HomeStack, ShellPage.Events)
            }
            GlassButton {
                objectName: "admin.refresh"
                symbol: "arrow.clockwise"
                busy: queue.loading
                Accessible.name: L.t("刷新")
                onClicked: queue.refresh()
            }
        }

        FormField {
            objectName: "admin.search"
            Layout.fillWidth: true
            placeholderText: L.t("成员、机场或机型")
            text: queue.search
            onTextEdited: queue.search = text
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            Repeater {
                model: [
                    {
                        title: L.t("待审核"),
                        value: queue.pendingCount,
                        symbol: "tray",
                        status: 0
                    },
                    {
                        title: L.t("问询中"),
                        value: queue.inquiryCount,
                        symbol: "bubble.left.and.text.bubble.right",
                        status: 1
                    }
                ]

                delegate: PressableStyle {
                    id: tile

                    required property var modelData

                    objectName: "admin.tile." + tile.modelData.status
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    focusPolicy: Qt.StrongFocus
                    Accessible.role: Accessible.Button
                    Accessible.name: tile.modelData.title + " " + tile.modelData.value
                    onClicked: queue.filterIndex = tile.modelData.status

                    contentItem: Card {
                        padding: 14
                        spacing: 8

                        RowLayout {
                            spacing: 6

                            Symbol {
                                name: tile.modelData.symbol
                                size: Typography.caption + 2
                                color: Theme.muted
                            }
                            Text {
                                text: tile.modelData.title
                                font.pixelSize: Typography.caption
                                color: Theme.muted
                            }
                        }
                        Text {
                            text: tile.modelData.value
                            font.pixelSize: Typography.title2
                            font.weight: Font.Bold
                            color: Theme.ink
                        }
                    }
                }
            }
        }

        // The filter, large, in a capsule of the bars' material with 8 points round it.
        Rectangle {
            objectName: "admin.filterCapsule"
            Layout.fillWidth: true
            Layout.minimumWidth: filter.Layout.minimumWidth + 16
            implicitHeight: filter.implicitHeight + 16
            radius: height / 2
            color: Theme.surface
            border.color: Theme.line

            SegmentedPicker {
                id: filter

                objectName: "admin.filter"
                anchors.fill: parent
                anchors.margins: 8
                large: true
                options: queue.filterOptions
                current: queue.filterIndex
                Accessible.name: L.t("审核")
                onChosen: value => queue.filterIndex = value
            }
        }

        ErrorNotice {
            objectName: "admin.error"
            alert: true
            visible: queue.error !== ""
            message: queue.error
            retryable: true
            onRetry: queue.refresh()
            failures: queue.failures
        }

        BrandLoader {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignHCenter
            visible: queue.showsLoader
            size: 72
            caption: L.t("正在读取报告")
            tile: true
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            objectName: "admin.heading"
            visible: reportList.count > 0

            Text {
                Layout.fillWidth: true
                text: queue.heading
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                text: queue.countText
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
        }

        Repeater {
            id: reportList

            model: queue.reports

            delegate: QueuePirepCard {
                id: card

                onClicked: queue.openReview(view.navigation, card.reportId)
            }
        }

        EmptyState {
            objectName: "admin.empty"
            visible: queue.showsEmpty
            symbol: "tray"
            title: L.t("没有这一类报告")
            description: queue.emptyDescription
        }
    }
}
