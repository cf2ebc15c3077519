import Vorna.Screenshots

// After an approval: the outcome, and the screen locked.
LiveFormsWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-20"
    submitted: true
}
