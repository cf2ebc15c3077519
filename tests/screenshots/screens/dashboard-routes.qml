import Vorna.Screenshots

// The dashboard of "lichen" scrolled down to his routes map: his approved routes in China, to Taipei and
// Tokyo, and Beijing to San Francisco across the 180° meridian, framed over the North Pacific.
MemberWindow {
    username: "lichen"
    showsRoutes: true
    typed: [""]
}
