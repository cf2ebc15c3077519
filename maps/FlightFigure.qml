import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// One figure of the flight bar: its title and value in a sunken capsule.
Item {
    id: figure

    property string title
    property string value

    implicitWidth: row.implicitWidth + 24
    implicitHeight: row.implicitHeight + 14
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.combined([figure.title, figure.value])

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Qt.alpha(Theme.sunken, 0.7)
    }

    RowLayout {
        id: row

        anchors.centerIn: parent
        spacing: 6

        Text {
            text: figure.title
            font.pixelSize: Typography.caption
            color: Theme.glassLabel
            Accessible.ignored: true
        }
        Text {
            text: figure.value
            font.pixelSize: Typography.subheadline
            font.weight: Font.DemiBold
            color: Theme.ink
            Accessible.ignored: true
        }
    }
}
