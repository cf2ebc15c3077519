import Vorna.Screenshots

// The alert a developer's deletion asks first, over the review.
ReviewWindow {
    username: "zhaolei"
    filter: "rejected"
    reportId: "p-24300"
    // Tab to the deletion and press it.
    typed: ["\t\t\t\t\t\t\t\t\t", " "]
}
