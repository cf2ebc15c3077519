import Vorna.Screenshots

// The event under way as the administrator "wangfang" sees it: everybody's answers, grouped.
EventWindow {
    username: "wangfang"
    eventId: "ev-302"
}
