import QtQuick
import Vorna.Screenshots

// The dashboard of "lichen" when the reports fail with an HTML error page: the notice holds its button.
MemberWindow {
    username: "lichen"
    Component.onCompleted: SampleService.failWithPage("/api/pireps", 500)
}
