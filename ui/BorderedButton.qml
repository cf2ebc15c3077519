import QtQuick
import QtQuick.Templates as T
import Vorna.Ui

// The bordered button: its title (after its symbol, when it has one) on the surface inside a hairline border,
// or on the accent when prominent.
T.Button {
    id: control

    property bool prominent: false
    property string symbol
    // An action that cannot be undone: its title in the rejected colour, or on it when prominent.
    property bool destructive: false
    // The large control size: a taller button for a page's main actions.
    property bool large: false
    property real radius: control.large ? 10 : 7
    // Drawn in the dark scheme whatever the appearance (a control on a slate stage).
    property bool darkScheme: false
    // The button's work runs: the small loader stands in place of its label, the button keeping its size.
    property bool working: false
    // Its work runs: drawn as off and deaf to presses, yet on, so the keyboard and its ring stay on it until
    // the answer takes them (turned off, it would hand the keyboard to the page in the middle of the work).
    property bool busy: false
    readonly property color ink: darkScheme ? Theme.roleIn(Theme.Ink, true) : Theme.ink
    readonly property color surface: darkScheme ? Theme.roleIn(Theme.Surface, true) : Theme.surface
    readonly property color line: darkScheme ? Theme.roleIn(Theme.Line, true) : Theme.line
    readonly property color fill: destructive ? Theme.rejected : Theme.accent
    readonly property color labelColor: prominent ? Theme.white : destructive ? Theme.rejected : control.ink

    implicitWidth: Math.max(implicitBackgroundWidth, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight, implicitContentHeight + topPadding + bottomPadding)
    leftPadding: control.large ? 18 : 14
    rightPadding: control.large ? 18 : 14
    topPadding: control.large ? 11 : 5
    bottomPadding: control.large ? 11 : 5
    font.pixelSize: Typography.body
    font.weight: control.large ? Font.DemiBold : Font.Normal
    opacity: enabled && !busy ? 1 : 0.45
    // Heard by its title, also before a screen reader has come on (an alert's button takes the keyboard as
    // the alert opens).
    Accessible.name: control.text

    PressGuard {
        target: control
        active: control.busy
    }

    contentItem: ButtonLabel {
        button: control
        symbol: control.symbol
        symbolSize: control.font.pixelSize + 2
        color: control.labelColor
        working: control.working
    }

    background: Rectangle {
        implicitWidth: 44
        implicitHeight: 26
        radius: control.radius
        color: control.prominent ? control.fill : control.surface
        border.color: control.prominent ? control.fill : control.line
        border.width: 1

        Rectangle {
            anchors.fill: parent
            radius: parent.radius
            color: control.ink
            opacity: control.down ? 0.12 : control.hovered ? 0.05 : 0
        }
        FocusRing {
            control: control
            radius: control.radius + spread
        }
    }
}
