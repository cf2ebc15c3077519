import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// One report of the queue: who filed it, the route, the aircraft and livery, the flight time, when it was
// sent and its status. Pressing it opens the report's review.
PressableStyle {
    id: card

    required property string reportId
    required property string applicant
    required property string statusTitle
    required property int verdict
    required property string route
    required property string equipment
    required property string duration
    required property string submitted

    objectName: "admin.report." + card.reportId
    Layout.fillWidth: true
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: ViewRules.combined([card.applicant, card.route, card.statusTitle])
    Keys.onReturnPressed: card.clicked()
    Keys.onEnterPressed: card.clicked()

    contentItem: Card {
        padding: 16
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 6

            Symbol {
                name: "person.crop.circle"
                color: Theme.ink
            }
            Text {
                Layout.fillWidth: true
                Layout.minimumWidth: 4
                text: card.applicant
                elide: Text.ElideRight
                font.pixelSize: Typography.subheadline
                font.weight: Font.Medium
                color: Theme.ink
            }
            StatusPill {
                statusTitle: card.statusTitle
                verdictColor: card.verdict
            }
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 8

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 5

                Text {
                    Layout.fillWidth: true
                    text: card.route
                    font.pixelSize: Typography.title3
                    font.weight: Font.Bold
                    color: Theme.ink
                }
                Text {
                    Layout.fillWidth: true
                    text: card.equipment
                    maximumLineCount: 2
                    wrapMode: Text.Wrap
                    elide: Text.ElideRight
                    font.pixelSize: Typography.caption
                    color: Theme.muted
                }
            }
            Symbol {
                name: "chevron.right"
                size: Typography.caption
                font.weight: Font.DemiBold
                color: Theme.muted
            }
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 6

            Symbol {
                name: "clock"
                size: Typography.caption
                color: Theme.muted
            }
            Text {
                text: card.duration
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
            Item {
                Layout.fillWidth: true
            }
            Text {
                text: card.submitted
                visible: card.submitted !== ""
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
        }
    }
}
