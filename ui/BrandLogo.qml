import QtQuick
import Vorna.Ui

// The static brand mark in a rounded square with a faint white edge.
Item {
    id: logo

    property real size: 64

    objectName: "brand.logo"
    implicitWidth: size
    implicitHeight: size
    Accessible.role: Accessible.Graphic
    Accessible.name: L.t("VORNA Logo")

    Image {
        anchors.fill: parent
        source: "qrc:/qt/qml/Vorna/Ui/brand/BrandMark.svg"
        sourceSize.width: Math.ceil(logo.size * 2)
        sourceSize.height: Math.ceil(logo.size * 2)
        fillMode: Image.PreserveAspectFit
        smooth: true
        mipmap: true
    }
    Rectangle {
        anchors.fill: parent
        radius: BrandMetrics.tileRadius(logo.size)
        color: "transparent"
        border.color: Qt.alpha(Theme.white, 0.12)
        border.width: 1
    }
}
