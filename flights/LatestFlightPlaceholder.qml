import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Flights

// Stands in the latest-flight card's place: its loader while the flight is read (also before the first
// read has started), the read's failure with a retry, or the note that there is no flight.
Card {
    id: placeholder

    required property LatestFlightModel model
    property string title

    objectName: "latest-flight.placeholder"
    padding: 16
    spacing: 10

    Text {
        Layout.fillWidth: true
        visible: placeholder.title.length > 0
        text: placeholder.title
        elide: Text.ElideRight
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Item {
        Layout.fillWidth: true
        visible: placeholder.model.loading
        implicitHeight: Math.max(150, loader.implicitHeight)

        BrandLoader {
            id: loader

            anchors.centerIn: parent
            size: 72
            caption: L.t("正在读取最近一次飞行…")
            tile: true
        }
    }
    ErrorNotice {
        Layout.fillWidth: true
        visible: !placeholder.model.loading && placeholder.model.failure.length > 0
        message: placeholder.model.failure
        retryable: true
        onRetry: placeholder.model.retry()
    }
    Text {
        Layout.fillWidth: true
        Layout.minimumHeight: 60
        visible: !placeholder.model.loading && placeholder.model.failure.length === 0
        text: L.t("还没有 IF 在线飞行记录。")
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: Typography.subheadline
        color: Theme.muted
    }
}
