import Vorna.Screenshots

// A hangared aircraft without schedules, after an application from its page.
LiveFormsWindow {
    aircraftId: "ac-106"
    sent: true
}
