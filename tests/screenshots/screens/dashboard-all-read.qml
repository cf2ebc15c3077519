import QtQuick
import Vorna.Screenshots

// The dashboard of "lichen" with every notice read: the bell without its badge.
MemberWindow {
    username: "lichen"
    Component.onCompleted: SampleService.answer("/api/notifications", {
        "notifications": [],
        "unreadCount": 0
    })
}
