pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Live

// The applications listed so far: for a reviewer each one, with its applicant, opens its review; for a
// member they only show. "加载更多" asks for the next page while the service has one.
ColumnLayout {
    id: board

    required property LiveTabModel liveTab
    signal open(string id)

    Layout.fillWidth: true
    spacing: 16

    EmptyState {
        Layout.fillWidth: true
        objectName: "live.noApplications"
        visible: board.liveTab.applicationCount === 0
        symbol: "tray"
        title: L.t("暂无申请")
        description: board.liveTab.emptyApplicationsText
    }

    LiveCardGrid {
        visible: board.liveTab.applicationCount > 0

        Repeater {
            model: board.liveTab.applications

            // A reviewer's card leads to the review; a member's only shows their application, and is no
            // control at all: a button, even a disabled one, is heard as one.
            delegate: Item {
                id: cell

                required property string applicationId
                required property liveApplicationCard card
                readonly property bool reviewer: board.liveTab.canReview

                implicitWidth: cell.reviewer ? row.implicitWidth : shownCard.implicitWidth
                implicitHeight: cell.reviewer ? row.implicitHeight : shownCard.implicitHeight

                LiveApplicationCard {
                    id: shownCard

                    objectName: "live.application." + cell.applicationId
                    anchors.fill: parent
                    visible: !cell.reviewer
                    item: cell.card
                }
                PressableStyle {
                    id: row

                    objectName: "live.review." + cell.applicationId
                    anchors.fill: parent
                    visible: cell.reviewer
                    focusPolicy: Qt.StrongFocus
                    Accessible.role: Accessible.Button
                    Accessible.name: ViewRules.combined([cell.card.username, cell.card.accessibleName])
                    Keys.onReturnPressed: board.open(cell.applicationId)
                    Keys.onEnterPressed: board.open(cell.applicationId)
                    onClicked: board.open(cell.applicationId)

                    contentItem: ColumnLayout {
                        spacing: 6

                        RowLayout {
                            visible: cell.card.hasUsername
                            spacing: 6

                            Symbol {
                                name: "person.crop.circle"
                                color: Theme.ink
                            }
                            Text {
                                Layout.fillWidth: true
                                text: cell.card.username
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                font.pixelSize: Typography.subheadline
                                color: Theme.ink
                            }
                        }
                        LiveApplicationCard {
                            Layout.fillWidth: true
                            Layout.fillHeight: true
                            item: cell.card
                        }
                    }
                }
            }
        }
    }

    GlassButton {
        objectName: "live.more"
        Layout.fillWidth: true
        visible: board.liveTab.hasMore
        busy: board.liveTab.busy
        text: L.t("加载更多")
        onClicked: board.liveTab.loadMore()
    }
}
