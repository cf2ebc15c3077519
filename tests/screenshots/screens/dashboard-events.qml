import Vorna.Screenshots

// The dashboard of "lichen" with the keyboard on an event card's answer, fourteen Tabs into the page: the
// cards with their route maps and answer buttons.
MemberWindow {
    username: "lichen"
    typed: ["\t\t\t\t\t\t\t\t\t\t\t\t\t\t"]
}
