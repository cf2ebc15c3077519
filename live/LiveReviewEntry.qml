import QtQuick
import Vorna.Live

// Where a reviewer's application leads: its review, after whose saved decision the Live page loads again.
LiveApplicationReviewView {
    id: entry

    required property LiveTabModel liveTab
    required property string applicationId

    objectName: "live.reviewPage"
    appState: entry.liveTab.appState
    item: entry.liveTab.applicationValue(entry.applicationId)
    opener: entry.liveTab
}
