import QtQuick
import Vorna.Live

// Where a card of the fleet board leads: the page of that aircraft, which reloads the Live page once an
// application was sent from it.
LiveAircraftPage {
    id: entry

    required property LivePortalModel portal
    // The fleet item's identity: the organisation and the aircraft.
    required property string itemId
    required property string registration

    objectName: "live.aircraft"
    appState: entry.portal.appState
    item: entry.portal.fleetItemValue(entry.itemId)
    onSubmitted: entry.portal.refresh()
}
