import Vorna.Screenshots

// An aircraft on the ground with three schedules in two columns and its previous pilot.
LiveFormsWindow {
    aircraftId: "ac-104"
}
