import Vorna.Screenshots

// The event under way that "lichen" attends: inside its report window, with the report button.
EventWindow {
    username: "lichen"
    eventId: "ev-302"
}
