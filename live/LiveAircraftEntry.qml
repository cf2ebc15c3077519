import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.Live

// Where a card of the fleet board leads: the page of that aircraft, which reloads the Live page once an
// application was sent from it. Until the aircraft page is in the app, a page that names itself.
PlaceholderPage {
    id: entry

    required property LivePortalModel portal
    // The fleet item's identity: the organisation and the aircraft.
    required property string itemId
    required property string registration

    objectName: "live.aircraft"
    name: L.t("Live 飞机详情") + " · " + entry.registration
    symbol: "airplane"
    showsBack: true
    onBack: entry.StackView.view.pop()
}
