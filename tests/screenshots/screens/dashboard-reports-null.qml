import QtQuick
import Vorna.Screenshots

// The dashboard of "lichen" when the reports answer null: the reports' notice holds its "重试" button
// on the first showing.
MemberWindow {
    username: "lichen"
    Component.onCompleted: SampleService.answer("/api/pireps", null)
}
