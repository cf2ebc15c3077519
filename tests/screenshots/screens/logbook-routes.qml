import Vorna.Screenshots

// The logbook's routes page: the place of the routes map, with the page menu and the refresh.
LogbookWindow {
    page: "logbook"
    logbookPage: 1
}
