import Vorna.Screenshots

// A link that shares no VORNA Live organisation: the notice with its retry above the connect card.
LiveWindow {
    username: "hejing"
}
