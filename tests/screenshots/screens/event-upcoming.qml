import Vorna.Screenshots

// A coming event that "lichen" is interested in: the answers still open, one aircraft allowed.
EventWindow {
    username: "lichen"
    eventId: "ev-303"
}
