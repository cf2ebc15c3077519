import QtQuick
import QtQuick.Templates as T

// A button whose label is a whole card or row: it shrinks to 98 % and fades to 90 % while pressed.
T.AbstractButton {
    id: control

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: 0
    scale: control.down ? 0.98 : 1
    opacity: control.down ? 0.9 : 1

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
