import Vorna.Screenshots

// The logbook of the sample member "lichen": every report, with the filter on "全部".
LogbookWindow {
    page: "logbook"
}
