import Vorna.Screenshots

// An approved application can only be shown.
LiveFormsWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-08"
}
