import Vorna.Screenshots

// The latest-flight card of a member who is not flying now: his last recorded flight, ended and landed.
LogbookWindow {
    username: "zhaolei"
    page: "latest"
}
