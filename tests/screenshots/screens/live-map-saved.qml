import Vorna.Screenshots

// The live snapshot failing: the saved snapshot of five hours ago on the map, and the message that says so.
MapWindow {
    username: "lichen"
    liveFailing: true
    typed: [""]
}
