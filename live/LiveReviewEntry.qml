import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.Live

// Where a reviewer's application leads: its review, after whose saved decision the Live page loads again.
// Until the review page is in the app, a page that names itself.
PlaceholderPage {
    id: entry

    required property LivePortalModel portal
    required property string applicationId

    objectName: "live.reviewPage"
    name: L.t("Live 排班审核")
    symbol: "checkmark.seal"
    showsBack: true
    onBack: entry.StackView.view.pop()
}
