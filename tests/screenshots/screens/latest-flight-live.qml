import Vorna.Screenshots

// The latest-flight card of the member's own live flight, with its progress along the filed plan.
LogbookWindow {
    page: "latest"
}
