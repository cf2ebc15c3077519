import Vorna.Screenshots

// A hangared aircraft without schedules, after an application from its page.
LiveWindow {
    aircraftId: "ac-106"
    sent: true
}
