import Vorna.Screenshots

// A developer's review of a decided report: the amended decision, the history and the deletion at the
// end of the page.
ReviewWindow {
    username: "zhaolei"
    filter: "rejected"
    reportId: "p-24300"
    // Tab to the deletion, which scrolls the page there.
    typed: ["\t\t\t\t\t\t\t\t\t"]
}
