import Vorna.Screenshots

// The own-flight link opened for "lichen": the map close up on his flight, selected, with its dashed plan
// and its flown track.
MapWindow {
    username: "lichen"
    ownFlight: true
    typed: [""]
}
