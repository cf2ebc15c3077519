pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Live

// The fleet by organisation: each one's heading with its role and size, and the cards of its aircraft that
// the search leaves. A card opens its aircraft's page.
ColumnLayout {
    id: board

    required property LiveTabModel liveTab
    signal open(liveAircraftCard card)

    Layout.fillWidth: true
    spacing: 20

    EmptyState {
        Layout.fillWidth: true
        objectName: "live.noOrganizations"
        visible: board.liveTab.noOrganizations
        symbol: "airplane.circle"
        title: L.t("读不到 VORNA 机队")
        description: L.t("请重新授权，并在 Infinite Flight 共享 VORNA 组织。")
    }

    Repeater {
        model: board.liveTab.sections

        delegate: ColumnLayout {
            id: section

            required property string title
            required property string subtitle
            required property list<liveAircraftCard> cards
            required property bool empty

            Layout.fillWidth: true
            spacing: 12

            SectionHeading {
                title: section.title
                subtitle: section.subtitle
            }
            Text {
                Layout.fillWidth: true
                Layout.topMargin: 12
                Layout.bottomMargin: 12
                visible: section.empty
                text: L.t("没有符合条件的飞机。")
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
            LiveCardGrid {
                visible: !section.empty

                Repeater {
                    model: section.cards

                    delegate: PressableStyle {
                        id: link

                        required property liveAircraftCard modelData

                        objectName: "live.aircraft." + link.modelData.id
                        focusPolicy: Qt.StrongFocus
                        Accessible.role: Accessible.Button
                        Accessible.name: link.modelData.accessibleName
                        Keys.onReturnPressed: board.open(link.modelData)
                        Keys.onEnterPressed: board.open(link.modelData)
                        onClicked: board.open(link.modelData)

                        contentItem: LiveAircraftCard {
                            item: link.modelData
                        }
                    }
                }
            }
        }
    }
}
