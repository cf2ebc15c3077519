import QtQuick
import Vorna.State
import Vorna.Live

// Where a reviewer's application leads: its review, after whose saved decision the Live page loads again.
LiveApplicationReviewView {
    id: entry

    required property MemberData memberData
    required property MemberNavigation navigation
    required property pageRoute route
    // The application's id and the Live page's model it was opened from.
    readonly property liveCardRoute card: entry.navigation.liveCardAt(entry.route)

    objectName: "live.reviewPage"
    opener: entry.card.liveTab as LiveTabModel
    item: entry.opener?.applicationValue(entry.card.id)
    onClose: entry.navigation.leave(entry.route)
}
