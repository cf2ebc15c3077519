import Vorna.Screenshots

// The fleet searched for "a320": one aircraft in each of two organisations, none in the third.
LiveWindow {
    search: "a320"
}
