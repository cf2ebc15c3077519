import Vorna.Screenshots

// The account tab of "lichen" after the keyboard opened the leaderboard and went back with its back
// button: the ring on the row that opened the leaderboard.
MemberWindow {
    username: "lichen"
    typed: ["⇤⇤ ", "\t\t\t\t\t\t ", "\t\r"]
}
