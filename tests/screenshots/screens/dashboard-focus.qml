import Vorna.Screenshots

// The dashboard of "lichen" after six Tabs: the focused control shows its ring.
MemberWindow {
    username: "lichen"
    typed: ["\t\t\t\t\t\t"]
}
