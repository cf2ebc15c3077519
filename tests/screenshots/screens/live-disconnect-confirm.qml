import Vorna.Screenshots

// The confirmation that the disconnect row asks for first.
LiveWindow {
    confirmsDisconnect: true
}
