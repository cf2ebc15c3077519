import Vorna.Screenshots

// An aircraft on the ground with three schedules in two columns and its previous pilot.
LiveWindow {
    aircraftId: "ac-104"
}
