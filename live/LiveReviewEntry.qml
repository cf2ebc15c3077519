import QtQuick
import Vorna.Live

// Where a reviewer's application leads: its review, after whose saved decision the Live page loads again.
LiveApplicationReviewView {
    id: entry

    required property LivePortalModel portal
    required property string applicationId

    objectName: "live.reviewPage"
    appState: entry.portal.appState
    item: entry.portal.applicationValue(entry.applicationId)
    opener: entry.portal
}
