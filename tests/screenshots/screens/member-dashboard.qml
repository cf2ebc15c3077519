import Vorna.Screenshots

// The signed-in window of the sample member "lichen": the shell with his dashboard, the bell showing
// his unread notices.
MemberWindow {
    username: "lichen"
}
