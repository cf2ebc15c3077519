import Vorna.Screenshots

// The map tab of "lichen": the sample service's crowd of flights over the world, gold where live-identified,
// blue where the pilot attends an event.
MapWindow {
    username: "lichen"
    typed: [""]
}
