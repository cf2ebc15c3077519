import Vorna.Screenshots

// The leaderboard that the keyboard opened on the account tab of "lichen", with its way back.
MemberWindow {
    username: "lichen"
    typed: ["⇤⇤ ", "\t\t\t\t\t\t "]
}
