import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.App

// The one window of the member centre.
ApplicationWindow {
    id: window

    width: 1100
    height: 720
    minimumWidth: 760
    minimumHeight: 540
    visible: true
    title: L.t("Vornalia 成员中心")

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 14

        Symbol {
            Layout.alignment: Qt.AlignHCenter
            name: "airplane.departure"
            size: 56
            color: "#2f6fde"
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: L.t("Vornalia 成员中心")
            font.pixelSize: 24
            font.weight: Font.DemiBold
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: L.t("成员中心正在准备中。")
            opacity: 0.7
        }
    }
}
