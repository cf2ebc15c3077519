import QtQuick
import QtQuick.Templates as T
import Vorna.Ui

// The keyboard focus ring of a control: an accent outline a little outside the item it stands in, shown
// while the control has the focus from the keyboard. Return and Enter press a control that has one.
//
// A control off while its work runs ("检查可用倍数" checking) has the keyboard back as it is on again; Qt gives
// it back as by no key, without the ring it had: it gets the ring back with it.
Rectangle {
    id: ring

    required property T.Control control
    // How far outside its parent the ring is drawn.
    property real spread: 3
    // A switch or a check box keeps Return for the form; a button takes it.
    property bool pressesOnReturn: true
    // The control had the keyboard from the keys as it went off.
    property bool ringedWhenOff: false

    readonly property bool controlEnabled: ring.control.enabled
    readonly property bool controlFocused: ring.control.activeFocus
    readonly property bool ringed: ring.control.visualFocus

    // Back with the keyboard the control had from the keys before it went off: with its ring.
    function giveRingBack() {
        if (ring.ringedWhenOff && ring.controlEnabled && ring.controlFocused)
            ring.control.focusReason = Qt.TabFocusReason;
        if (ring.controlEnabled && (ring.controlFocused || !ring.control.focus))
            ring.ringedWhenOff = false;
    }

    // The ring goes as the control goes off: Qt takes the keyboard out of it then.
    onRingedChanged: {
        if (!ring.ringed && !ring.control.enabled)
            ring.ringedWhenOff = true;
    }
    onControlEnabledChanged: ring.giveRingBack()
    onControlFocusedChanged: ring.giveRingBack()
    anchors.fill: parent
    anchors.margins: -spread
    visible: control.visualFocus
    color: "transparent"
    border.color: Theme.accent
    border.width: 2

    ReturnKey {
        target: ring.pressesOnReturn ? ring.control : null
    }
}
