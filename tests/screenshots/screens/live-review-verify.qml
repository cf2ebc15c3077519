import Vorna.Screenshots

// An application in processing: the reviewer records the official schedule he found.
LiveFormsWindow {
    username: "wangfang"
    show: "review"
    applicationId: "app-09"
    scheduleId: "3f2504e0-4f89-11d3-9a0c-0305e82c3301"
    reason: "已在官方排班中找到，机长为申请人。"
    checked: true
}
