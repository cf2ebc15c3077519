import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A failure message on a soft amber panel, with a "重试" button when the caller can retry. The message is
// often the service's own: it is shown as it comes, never read as markup.
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
    // How many times what the member just did has failed: each new count presents the notice anew (in view,
    // with the keyboard), also when its text is the one it showed before. A text the caller does not count
    // (a page's own load as it opens) shows quietly. -1: the caller counts nothing.
    property int failures: -1
    // Without a count, an alert takes the keyboard as it appears or changes, so a screen reader reads it at once
    // and Tab goes on from it.
    property bool takesFocus: alert && failures < 0
    // The panel's symbol and colour: a failure's, unless a success notice says otherwise.
    property string symbolName: "exclamationmark.triangle.fill"
    property color tint: Theme.pending
    // Drawn in the dark scheme whatever the appearance (on a slate stage).
    property bool darkScheme: false
    signal retry

    // The member pressed "重试": what it ends in is the outcome of what he just did.
    property bool retried: false

    // Tab passes over it while it is hidden.
    activeFocusOnTab: alert
    onSpokenMessageChanged: {
        if ((notice.takesFocus || notice.retried) && notice.spokenMessage.length > 0) {
            notice.retried = false;
            presenter.present();
        }
    }

    FailureFocus {
        id: presenter

        notice: notice
        failures: notice.failures
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
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: notice.darkScheme ? Theme.roleIn(Theme.Ink, true) : Theme.ink
            lineHeight: 1.15
        }

        // Not on the bus where the caller cannot retry: a reader walking the notice would meet a "重试" it can
        // neither see nor reach.
        BorderedButton {
            id: retryButton

            visible: notice.retryable
            Accessible.ignored: !notice.retryable
            darkScheme: notice.darkScheme
            text: L.t("重试")
            onClicked: {
                notice.retried = true;
                notice.retry();
            }
        }
    }
}
