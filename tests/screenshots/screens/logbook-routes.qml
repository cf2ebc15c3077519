import Vorna.Screenshots

// The logbook's routes page: the routes map filling the page under its bar (refresh, title, page menu).
LogbookWindow {
    page: "logbook"
    logbookPage: 1
}
