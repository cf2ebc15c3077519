import Vorna.Screenshots

// The live map in a wide window with the member's own flight selected: the flight bar along the bottom,
// the header's compact own-flight button, the plan and the flown track.
MapPanelsStage {
    selectedId: "lv-207"
}
