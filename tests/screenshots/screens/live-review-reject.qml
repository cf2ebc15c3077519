import Vorna.Screenshots

// A pending application about to be rejected, the reason typed.
LiveFormsWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-10"
    decisionIndex: 1
    reason: "该时段飞机已被占用，请改选其他时间。"
}
