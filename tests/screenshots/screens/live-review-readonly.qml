import Vorna.Screenshots

// An approved application can only be shown.
LiveWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-08"
}
