import QtQuick
import Vorna.Ui

// What the member's last action achieved, on a soft green panel: heard as an alert as it appears or
// changes, so a screen reader reads the success at once, as it reads a failure.
ErrorNotice {
    alert: true
    symbolName: "checkmark.circle.fill"
    tint: Theme.approved
}
