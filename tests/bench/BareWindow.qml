import QtQuick

Window {
    width: 1100
    height: 720
    visible: true
    title: "Bare"

    Text {
        anchors.centerIn: parent
        text: "Vornalia"
    }
}
