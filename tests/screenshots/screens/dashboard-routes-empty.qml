import Vorna.Screenshots

// The dashboard of "hejing", who has no approved report yet, scrolled down to the routes: the empty state
// in place of the map.
MemberWindow {
    username: "hejing"
    showsRoutes: true
    typed: [""]
}
