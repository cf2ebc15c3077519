import Vorna.Screenshots

// A rejected report: the review result with its reason and two evidence pictures.
LogbookWindow {
    page: "detail"
    reportId: "p-24330"
}
