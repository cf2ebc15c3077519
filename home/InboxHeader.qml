import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// The bar above the inbox and the pages it opens: a back button while there is a page to go back to, the
// title inline in the middle, and the page's controls at the trailing end.
Rectangle {
    id: header

    property string title
    property bool canGoBack: false
    default property alias trailing: trailingRow.data
    signal back

    Layout.fillWidth: true
    implicitHeight: 52
    color: Theme.paper

    AbstractButton {
        id: backButton

        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 36
        height: 36
        objectName: "inbox.back"
        visible: header.canGoBack
        Accessible.name: L.t("返回")
        onClicked: header.back()

        contentItem: Symbol {
            name: "chevron.left"
            size: 22
            color: Theme.accent
        }
        background: Item {
            Rectangle {
                anchors.fill: parent
                radius: width / 2
                color: Theme.ink
                opacity: backButton.down ? 0.12 : backButton.hovered ? 0.06 : 0
            }
            FocusRing {
                control: backButton
                radius: width / 2
            }
        }
    }

    Text {
        anchors.centerIn: parent
        width: Math.max(0, Math.min(implicitWidth, parent.width - 2 * Math.max(trailingRow.width, backButton.width) - 48))
        text: header.title
        elide: Text.ElideRight
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        objectName: "inbox.heading"
        // Qt 6.4 leaves a heading's name empty unless it is given.
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    Row {
        id: trailingRow

        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8
    }

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.line
    }
}
