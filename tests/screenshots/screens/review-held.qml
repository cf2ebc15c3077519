import Vorna.Screenshots

// A report on hold, opened from the queue's inquiry filter: the inquiry preselected with its note and the
// release.
ReviewWindow {
    filter: "inquiry"
    reportId: "p-24421"
}
