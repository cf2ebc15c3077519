import QtQuick
import QtQuick.Templates as T
import Vorna.Ui

// A button whose label is a whole card or row: it shrinks to 98 % and fades to 90 % while pressed.
T.AbstractButton {
    id: control

    // The corners of the card or row it presses, which its focus ring follows.
    property real cornerRadius: 20
    // Its work runs: drawn as off and deaf to presses, yet on, so the keyboard and its ring stay on it until
    // the answer takes them (turned off, it would hand the keyboard to the page in the middle of the work).
    property bool busy: false

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: 0
    scale: control.down ? 0.98 : 1
    opacity: control.down ? 0.9 : 1

    PressGuard {
        target: control
        active: control.busy
    }
    FocusRing {
        z: 1
        control: control
        radius: control.cornerRadius + spread
    }

    Behavior on scale {
        NumberAnimation {
            duration: 150
            easing.type: Easing.OutQuad
        }
    }
    Behavior on opacity {
        NumberAnimation {
            duration: 150
            easing.type: Easing.OutQuad
        }
    }
}
