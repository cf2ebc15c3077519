import QtQuick
import Vorna.Ui

// The waiting screen with its message and a control under it.
BrandWaitingView {
    message: "正在恢复登录状态…"

    GlassButton {
        anchors.horizontalCenter: parent.horizontalCenter
        text: "取消"
    }
}
