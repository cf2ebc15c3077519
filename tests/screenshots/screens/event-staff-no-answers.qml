import QtQuick
import Vorna.Screenshots

// An event nobody has answered yet, as the administrator "wangfang" sees it: three empty groups.
EventWindow {
    username: "wangfang"
    eventId: "ev-305"
    Component.onCompleted: SampleService.answer("/api/admin/event-responses", {
        "responses": []
    })
}
