import Vorna.Screenshots

// The keyboard's way through the page: past the search, the refresh and the tabs to the first aircraft.
LiveWindow {
    typed: ["\t\t\t\t\t"]
}
