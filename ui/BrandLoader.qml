import QtQuick
import Vorna.Ui

// The animated brand loader, looping, or played once (the intro) and then resting on its last frame;
// with reduced motion it shows the last frame at once. On a slate tile when `tile` is set.
Item {
    id: loader

    property real size: 120
    property string caption
    property bool tile: false
    property bool once: false
    // A fixed time in milliseconds to show a still frame; negative follows the clock.
    property alias fixedTime: art.fixedTime
    signal finished

    implicitWidth: Math.max(frame.width, captionText.visible ? captionText.implicitWidth : 0)
    implicitHeight: frame.height + (captionText.visible ? 10 + captionText.implicitHeight : 0)
    Accessible.role: Accessible.Animation
    Accessible.name: BrandMetrics.loaderLabel(caption)

    Rectangle {
        id: frame

        anchors.horizontalCenter: parent.horizontalCenter
        width: loader.size
        height: BrandMetrics.frameHeight(loader.size, loader.tile)
        radius: loader.tile ? BrandMetrics.tileRadius(loader.size) : 0
        color: loader.tile ? Theme.slate : "transparent"

        BrandCanvas {
            id: art

            anchors.fill: parent
            once: loader.once
            reduceMotion: Theme.reduceMotion
            onFinished: loader.finished()
        }
    }

    Text {
        id: captionText

        anchors.top: frame.bottom
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter
        visible: loader.caption.length > 0
        text: loader.caption
        font.pixelSize: Typography.footnote
        color: loader.tile ? Theme.muted : Qt.alpha(Theme.white, 0.75)
        Accessible.ignored: true
    }

    Component.onDestruction: art.release()
}
