import Vorna.Screenshots

// The account switcher with two accounts saved: "lichen", then "hejing" added and signed in.
AccountPagesWindow {
    page: "switcher"
    secondAccount: "hejing"
}
