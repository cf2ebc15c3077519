import Vorna.Screenshots

// A pending report about to be rejected: the callsign checks and the reason typed.
ReviewWindow {
    reportId: "p-24436"
    decision: "rejected"
    text: "截图中看不到落地时间，请重新提交。"
    // Tab to the reason, which scrolls the page there.
    typed: ["\t\t\t\t"]
}
