import QtQuick
import QtQuick.Templates as T
import Vorna.Ui

// The glass button: a translucent capsule with a soft sheen, or filled with the accent when prominent. With a
// symbol and no text it is a circle with the symbol in its middle (its Accessible.name says what it does).
T.Button {
    id: control

    property bool prominent: false
    property string symbol
    // The fill of a prominent button.
    property color tint: Theme.accent
    // A title too wide for the button shrinks to 0.8 of its size before it is cut.
    property bool shrinks: false
    // The small loader before the title while the button's work runs.
    property bool loading: false
    // Its work runs: drawn as off and deaf to presses, yet on, so the keyboard and its ring stay on it until
    // the answer takes them (turned off, it would hand the keyboard to the page in the middle of the work).
    property bool busy: false
    readonly property color labelColor: prominent ? Theme.white : Theme.glassLabel
    readonly property bool iconOnly: text.length === 0 && symbol.length > 0

    implicitWidth: Math.max(implicitBackgroundWidth, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight, implicitContentHeight + topPadding + bottomPadding)
    leftPadding: iconOnly ? topPadding : 16
    rightPadding: iconOnly ? bottomPadding : 16
    topPadding: 7
    bottomPadding: 7
    font.pixelSize: Typography.body
    font.weight: Font.DemiBold
    opacity: enabled && !busy ? 1 : 0.45
    // Heard by its title, also before a screen reader has come on (a page closing gives the keyboard back
    // to the button that opened it only while it has a name).
    Accessible.name: control.text

    PressGuard {
        target: control
        active: control.busy
    }

    contentItem: ButtonLabel {
        button: control
        symbol: control.symbol
        color: control.labelColor
        loading: control.loading
        shrinks: control.shrinks
    }

    background: Item {
        implicitWidth: control.iconOnly ? implicitHeight : 64
        implicitHeight: 30

        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: control.prominent ? control.tint : Theme.surface
            opacity: control.prominent ? 1 : 0.72
            border.color: control.prominent ? control.tint : Theme.line
            border.width: 1
        }
        // The sheen of the glass: light from above, fading by the middle.
        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: height / 2
            gradient: Gradient {
                GradientStop {
                    position: 0
                    color: Qt.alpha(Theme.white, control.prominent ? 0.22 : 0.35)
                }
                GradientStop {
                    position: 0.55
                    color: Qt.alpha(Theme.white, 0)
                }
            }
        }
        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: Theme.ink
            opacity: control.down ? 0.12 : control.hovered ? 0.05 : 0
        }
        FocusRing {
            control: control
            radius: height / 2
        }
    }
}
