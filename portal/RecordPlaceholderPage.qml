import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// Stands in for a page that a later part of the app draws (the event page, the report detail): it names
// the page and the record it was opened for.
Rectangle {
    id: page

    required property string pageName
    required property string recordId

    color: Theme.paper
    // Opened, the page takes the keyboard under its name.
    StackView.onActivated: ViewRules.focusPage(page)
    Accessible.role: Accessible.Pane
    Accessible.name: page.pageName

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        InboxHeader {
            title: page.pageName
            canGoBack: page.StackView.index > 0
            onBack: page.StackView.view.pop()
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                anchors.centerIn: parent
                width: Math.min(parent.width - 48, 420)
                spacing: 8

                Text {
                    Layout.fillWidth: true
                    text: page.pageName
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: Typography.title3
                    font.weight: Font.DemiBold
                    color: Theme.ink
                }
                Text {
                    Layout.fillWidth: true
                    text: page.recordId
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: Typography.subheadline
                    font.family: "monospace"
                    color: Theme.muted
                }
                Text {
                    Layout.fillWidth: true
                    text: L.t("此页面尚在准备中。")
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.footnote
                    color: Theme.muted
                }
            }
        }
    }
}
