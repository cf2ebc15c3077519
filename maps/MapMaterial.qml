pragma ComponentBehavior: Bound

import QtQuick
import Vorna.Ui
import Vorna.Maps

// The translucent material of the map's floating panels, in a rounded rectangle with a hairline edge, and
// optionally the soft shadow of a panel that floats above the map. Beneath the panel's controls, it takes
// every pointer event over its rounded rectangle: the map behind a panel is not reached through it.
Item {
    id: material

    property real radius: 18
    property bool shadow: false

    // Black at 15 %, about 16 points soft, 6 points down: rings that fade outwards.
    Repeater {
        model: material.shadow ? 8 : 0

        delegate: Rectangle {
            id: ring

            required property int index
            readonly property real spread: 2 * (ring.index + 1)

            x: -ring.spread
            y: 6 - ring.spread
            width: material.width + 2 * ring.spread
            height: material.height + 2 * ring.spread
            radius: material.radius + ring.spread
            color: Qt.alpha("black", 0.15 / 8 * (1 - ring.index / 8))
        }
    }
    Rectangle {
        anchors.fill: parent
        radius: material.radius
        color: Qt.alpha(Theme.surface, 0.9)
        border.color: Theme.line
        border.width: 1
    }
    PanelSurface {
        anchors.fill: parent
        radius: material.radius
    }
}
