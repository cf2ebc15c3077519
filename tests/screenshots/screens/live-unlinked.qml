import Vorna.Screenshots

// A member whose Infinite Flight account is not linked: the connect card.
LiveWindow {
    username: "zhaolei"
}
