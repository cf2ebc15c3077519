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

            delegate: PressableStyle {
                id: row

                required property string applicationId
                required property liveApplicationCard card
                readonly property bool reviewer: board.liveTab.canReview

                // A reviewer's card leads to the review; a member's only shows their application.
                objectName: (row.reviewer ? "live.review." : "live.application.") + row.applicationId
                Layout.preferredWidth: 1
                Layout.fillWidth: true
                Layout.fillHeight: true
                // For a member the card is no control.
                enabled: row.reviewer
                focusPolicy: row.reviewer ? Qt.StrongFocus : Qt.NoFocus
                Accessible.role: row.reviewer ? Accessible.Button : Accessible.StaticText
                Accessible.name: row.reviewer ? ViewRules.combined([row.card.username, row.card.accessibleName]) : row.card.accessibleName
                Keys.onReturnPressed: board.open(row.applicationId)
                Keys.onEnterPressed: board.open(row.applicationId)
                onClicked: board.open(row.applicationId)

                contentItem: ColumnLayout {
                    spacing: 6

                    RowLayout {
                        visible: row.reviewer && row.card.hasUsername
                        spacing: 6

                        Symbol {
                            name: "person.crop.circle"
                            color: Theme.ink
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.card.username
                            elide: Text.ElideRight
                            font.pixelSize: Typography.subheadline
                            color: Theme.ink
                        }
                    }
                    LiveApplicationCard {
                        Layout.fillWidth: true
                        Layout.fillHeight: true
                        item: row.card
                    }
                }
            }
        }
    }

    GlassButton {
        objectName: "live.more"
        Layout.fillWidth: true
        visible: board.liveTab.hasMore
        enabled: !board.liveTab.busy
        text: L.t("加载更多")
        onClicked: board.liveTab.loadMore()
    }
}
