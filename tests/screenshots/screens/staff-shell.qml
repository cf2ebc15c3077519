import Vorna.Screenshots

// The signed-in window of the staff account "wangfang": the shell with the review workbench.
MemberWindow {
    username: "wangfang"
}
