import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A failure message on a soft amber panel, with a "重试" button when the caller can retry.
// Laid out with plain positioners: its size follows the message and the button the moment either
// changes, even when it was hidden until then.
Item {
    id: notice

    property string message
    // What a screen reader says of it, where it says more than the panel shows.
    property string spokenMessage: message
    property bool retryable: false
    // Heard as an alert: a failure of what the member just did.
    property bool alert: false
    // An alert takes the keyboard as it appears or changes, so a screen reader reads it at once and Tab goes
    // on from it; a caller that places it itself (after scrolling to it) turns this off.
    property bool takesFocus: alert
    // The panel's symbol and colour: a failure's, unless a success notice says otherwise.
    property string symbolName: "exclamationmark.triangle.fill"
    property color tint: Theme.pending
    signal retry

    function takeFocusNow() {
        if (notice.visible && notice.message.length > 0)
            notice.forceActiveFocus(Qt.OtherFocusReason);
    }

    activeFocusOnTab: alert && visible
    onSpokenMessageChanged: {
        if (!notice.takesFocus || notice.spokenMessage.length === 0)
            return;
        placed.target = notice.Window.window;
        placedLate.restart();
    }

    // Once the notice has its place: the window's next frame has laid it out, so the page that takes it into
    // view (RevealFocus) scrolls to where it stands, not to where it stood while hidden. A window that draws
    // no frame (hidden) has it after a moment.
    Connections {
        id: placed

        target: null
        ignoreUnknownSignals: true

        function onAfterAnimating() {
            placed.target = null;
            placedLate.stop();
            notice.takeFocusNow();
        }
    }
    Timer {
        id: placedLate

        interval: 500
        onTriggered: {
            placed.target = null;
            notice.takeFocusNow();
        }
    }

    Layout.fillWidth: true
    implicitWidth: texts.x + Math.max(text.implicitWidth, notice.retryable ? retryButton.implicitWidth : 0) + 14
    implicitHeight: Math.max(symbol.height, texts.height) + 28
    Accessible.role: notice.alert ? Accessible.AlertMessage : Accessible.Grouping
    Accessible.name: spokenMessage

    Rectangle {
        anchors.fill: parent
        radius: 16
        color: notice.tint
        opacity: 0.12
    }
    // The ring of a notice that took the keyboard to be heard.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -3
        visible: notice.activeFocus
        radius: 19
        color: "transparent"
        border.color: Theme.accent
        border.width: 2
    }

    Symbol {
        id: symbol

        x: 14
        y: 14
        name: notice.symbolName
        size: Typography.subheadline + 5
        color: notice.tint
    }

    Column {
        id: texts

        x: symbol.x + symbol.width + 12
        y: 14
        width: Math.max(0, notice.width - x - 14)
        spacing: 10

        Text {
            id: text

            width: texts.width
            text: notice.message
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.ink
            lineHeight: 1.15
        }

        BorderedButton {
            id: retryButton

            visible: notice.retryable
            text: L.t("重试")
            onClicked: notice.retry()
        }
    }
}
