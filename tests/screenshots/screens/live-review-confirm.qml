import Vorna.Screenshots

// The confirmation before an approval.
LiveWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-20"
    confirming: true
}
