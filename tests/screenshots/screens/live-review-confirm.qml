import Vorna.Screenshots

// The confirmation before an approval.
LiveFormsWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-20"
    confirming: true
}
