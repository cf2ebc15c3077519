import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// A failure message on a soft amber panel, with a "重试" button when the caller can retry.
Item {
    id: notice

    property string message
    property bool retryable: false
    signal retry

    Layout.fillWidth: true
    implicitWidth: row.implicitWidth + 28
    implicitHeight: row.implicitHeight + 28
    Accessible.role: Accessible.Grouping
    Accessible.name: message

    Rectangle {
        anchors.fill: parent
        radius: 16
        color: Theme.pending
        opacity: 0.12
    }

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.margins: 14
        spacing: 12

        Symbol {
            Layout.alignment: Qt.AlignTop
            name: "exclamationmark.triangle.fill"
            size: Typography.subheadline + 5
            color: Theme.pending
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 10

            Text {
                Layout.fillWidth: true
                text: notice.message
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.ink
                lineHeight: 1.15
            }

            Button {
                id: retryButton

                visible: notice.retryable
                text: L.t("重试")
                font.pixelSize: Typography.body
                leftPadding: 14
                rightPadding: 14
                topPadding: 5
                bottomPadding: 5
                onClicked: notice.retry()

                contentItem: Text {
                    text: retryButton.text
                    font: retryButton.font
                    color: Theme.ink
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitHeight: 26
                    radius: 7
                    color: retryButton.down ? Theme.sunken : Theme.surface
                    border.color: Theme.line
                    border.width: 1
                }
            }
        }
    }
}
