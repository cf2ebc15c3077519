import Vorna.Screenshots

// The flight search in the side card of a wide window, searched for "b-0", over a map that shows the saved
// snapshot while the live one loads.
MapPanelsStage {
    property list<string> typed: ["b-0"]

    saved: true
    loading: true
    searching: true
}
