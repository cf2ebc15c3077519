import QtQuick
import Vorna.Ui

// The brand loader centred on a full slate background, with an optional footer near the bottom that the
// loader stands clear of.
Rectangle {
    id: stage

    property bool once: false
    property alias fixedTime: loader.fixedTime
    default property alias footer: footerColumn.data
    signal finished

    color: Theme.slate

    BrandLoader {
        id: loader

        // Centred, unless what stands under it needs the room: then above it, clear of it.
        readonly property rect place: BrandMetrics.stageLoaderFrame(stage.width, stage.height, footerColumn.y)

        x: loader.place.x
        y: loader.place.y
        size: loader.place.width
        once: stage.once
        onFinished: stage.finished()
    }

    Column {
        id: footerColumn

        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: BrandMetrics.stageFooterInset(stage.height) + 24
        width: Math.min(stage.width - 48, 480 - 48)
        spacing: 16
    }
}
