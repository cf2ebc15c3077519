import QtQuick
import Vorna.Screenshots

// The application form after an answer that was lost: the advice to check before applying again.
LiveFormsWindow {
    show: "form"
    aircraftId: "ac-105"
    departure: "ZSPD"
    arrival: "RJTT"
    formMessage: "500"
    Component.onCompleted: SampleService.failWithPage("/api/live-schedules/apply", 500)
}
