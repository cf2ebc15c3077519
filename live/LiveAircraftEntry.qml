import QtQuick
import Vorna.Live

// Where a card of the fleet board leads: the page of that aircraft, which reloads the Live page once an
// application was sent from it.
LiveAircraftPage {
    id: entry

    required property LiveTabModel liveTab
    // The fleet item's identity: the organisation and the aircraft.
    required property string itemId
    required property string registration

    objectName: "live.aircraft"
    appState: entry.liveTab.appState
    item: entry.liveTab.fleetItemValue(entry.itemId)
    onSubmitted: entry.liveTab.refresh()
}
