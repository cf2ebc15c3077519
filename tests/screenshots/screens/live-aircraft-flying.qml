import Vorna.Screenshots

// A fleet aircraft in a live flight: the route, the four tiles and its one schedule, flying.
LiveFormsWindow {
    aircraftId: "ac-101"
}
