import QtQuick
import Vorna.State
import Vorna.Live

// Where a card of the fleet board leads: the page of that aircraft, which reloads the Live page once an
// application was sent from it.
LiveAircraftPage {
    id: entry

    required property MemberData memberData
    required property MemberNavigation navigation
    required property pageRoute route
    // The aircraft's id and the Live page's model it was opened from.
    readonly property liveCardRoute card: entry.navigation.liveCardAt(entry.route)
    readonly property LiveTabModel liveTab: entry.card.liveTab as LiveTabModel

    objectName: "live.aircraft"
    item: entry.liveTab?.fleetItemValue(entry.card.id)
    onSubmitted: entry.liveTab?.refresh()
    onClose: entry.navigation.leave(entry.route)
}
