import Vorna.Screenshots

// The dashboard of "lichen" with the keyboard on the first event card: the cards with their route maps
// and answer buttons.
MemberWindow {
    username: "lichen"
    typed: ["\t\t\t\t\t\t\t\t\t\t\t\t\t\t"]
}
