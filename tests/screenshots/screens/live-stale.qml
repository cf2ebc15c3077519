import Vorna.Screenshots

// An hour after the fetch: the board is dropped and the notice asks for a refresh.
LiveWindow {
    staleAfter: 3600
}
