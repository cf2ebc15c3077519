import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The rounded surface card: a leading-aligned column on the surface colour, with a hairline border inside
// its edge. It takes the full width it is offered.
Rectangle {
    id: card

    property real padding: 16
    property alias spacing: column.spacing
    default property alias content: column.data

    Layout.fillWidth: true
    implicitWidth: column.implicitWidth + 2 * padding
    implicitHeight: column.implicitHeight + 2 * padding
    radius: 20
    color: Theme.surface
    border.color: Theme.line
    border.width: 1

    ColumnLayout {
        id: column

        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: card.padding
        spacing: 12
    }
}
