import Vorna.Screenshots

// An administrator sees the page without the application block.
LiveFormsWindow {
    username: "wangfang"
    aircraftId: "ac-102"
}
