import Vorna.Screenshots

// The report the administrators put on hold: the inquiry, its evidence picture and the upload block.
LogbookWindow {
    page: "detail"
    reportId: "p-24421"
}
