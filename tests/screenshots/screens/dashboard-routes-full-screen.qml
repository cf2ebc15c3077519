import Vorna.Screenshots

// The routes map of "lichen" over the whole window, as its full-screen button opens it: the title, "完成"
// and the map with only its "scope" button.
MemberWindow {
    username: "lichen"
    routesFullScreen: true
    typed: [""]
}
