import Vorna.Screenshots

// An administrator sees the page without the application block.
LiveWindow {
    username: "wangfang"
    aircraftId: "ac-102"
}
