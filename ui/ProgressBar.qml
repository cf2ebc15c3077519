import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A thin capsule bar for a value from 0 to 1 (clamped), centred in whatever height it is given.
Item {
    id: bar

    property real value: 0
    property color tint: Theme.accent
    readonly property real fraction: ViewRules.progressFraction(value)

    Layout.fillWidth: true
    implicitWidth: 120
    implicitHeight: 6
    Accessible.role: Accessible.ProgressBar
    Accessible.name: ViewRules.percentText(value)

    Rectangle {
        width: parent.width
        height: 6
        anchors.verticalCenter: parent.verticalCenter
        radius: 3
        color: Qt.alpha(Theme.muted, 0.25)
    }
    Rectangle {
        width: parent.width * bar.fraction
        height: 6
        anchors.verticalCenter: parent.verticalCenter
        radius: 3
        color: bar.tint
    }
}
