import Vorna.Screenshots

// The application form with a time window, the route typed in lower case.
LiveFormsWindow {
    show: "form"
    aircraftId: "ac-104"
    departure: "zsss"
    arrival: "zggg"
    briefing: "经 A470 航路，巡航高度 FL361。"
    timeless: false
    // Tab from the departure to the arrival: the focus ring.
    typed: ["\t"]
}
