import QtQuick
import QtQuick.Controls
import Vorna.Ui

// A switch in the theme's colours whose state reads at 3:1 or more in both palettes: the track is the
// muted ink when off and the accent when on, each standing out from the card, and the thumb takes the
// card's colour, standing out from either track.
Switch {
    id: control

    // Return toggles a switch among switches; a form that submits on Return keeps the key for itself.
    property bool pressesOnReturn: true

    font.pixelSize: Typography.body
    spacing: 10
    Accessible.name: control.text

    indicator: Rectangle {
        implicitWidth: 46
        implicitHeight: 26
        x: control.mirrored ? control.width - width - control.rightPadding : control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: height / 2
        color: control.checked ? Theme.accent : Theme.muted
        opacity: control.enabled ? 1 : 0.5

        Rectangle {
            x: control.checked ? parent.width - width - 3 : 3
            y: 3
            width: parent.height - 6
            height: width
            radius: width / 2
            color: Theme.surface

            Behavior on x {
                enabled: !Theme.reduceMotion

                NumberAnimation {
                    duration: 120
                    easing.type: Easing.OutCubic
                }
            }
        }
    }
    contentItem: Text {
        leftPadding: control.mirrored ? 0 : control.indicator.width + control.spacing
        rightPadding: control.mirrored ? control.indicator.width + control.spacing : 0
        text: control.text
        font: control.font
        color: Theme.ink
        opacity: control.enabled ? 1 : 0.5
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.Wrap
    }

    FocusRing {
        control: control
        pressesOnReturn: control.pressesOnReturn
        radius: 8
    }
}
