pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Flights

// The member's recent simulator flights, to fill a report from one: asked afresh each time it opens.
FocusScope {
    id: picker

    required property APIClient client
    readonly property PirepImportModel model: flights
    readonly property string title: L.t("从 Infinite Flight 导入")
    signal chose(int row)
    signal cancel

    Rectangle {
        anchors.fill: parent
        color: Theme.paper
    }

    PirepImportModel {
        id: flights

        client: picker.client
        Component.onCompleted: load()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 18
        spacing: 12

        SheetHeader {
            Layout.fillWidth: true
            title: picker.title
            onCancel: picker.cancel()
        }
        RowLayout {
            visible: flights.loading
            spacing: 10

            InlineLoader {}
            Text {
                text: L.t("正在读取 IF 最近飞行")
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
        }
        ErrorNotice {
            visible: flights.error.length > 0
            message: flights.error
            retryable: true
            onRetry: flights.load()
        }
        Text {
            visible: flights.showsEmpty
            text: L.t("暂无最近飞行记录")
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
        ListView {
            id: rows

            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 8
            model: flights.flights
            focus: true
            keyNavigationEnabled: true
            boundsBehavior: Flickable.StopAtBounds

            delegate: ItemDelegate {
                id: row

                required property int index
                required property string from
                required property string to
                required property string duration
                required property string aircraft
                required property string livery
                required property string detail
                required property string date

                width: ListView.view.width
                objectName: "pirep.importFlight"
                padding: 12
                focusPolicy: Qt.StrongFocus
                Accessible.name: ViewRules.combined([row.from + " → " + row.to, row.duration, row.detail, row.date])
                onClicked: picker.chose(row.index)

                background: Rectangle {
                    radius: 14
                    color: row.hovered ? Qt.alpha(Theme.ink, 0.05) : Theme.surface
                    border.color: Theme.line

                    FocusRing {
                        control: row
                        radius: 16
                    }
                }
                contentItem: ColumnLayout {
                    spacing: 10

                    RouteLine {
                        Layout.fillWidth: true
                        from: row.from
                        to: row.to
                        caption: row.duration
                        tint: Qt.alpha(Theme.muted, 0.6)
                        size: 24
                        labelColor: Theme.muted
                    }
                    AircraftPhoto {
                        Layout.fillWidth: true
                        aircraft: row.aircraft
                        livery: row.livery
                        nominalHeight: 100
                    }
                    Text {
                        Layout.fillWidth: true
                        visible: row.detail.length > 0
                        text: row.detail
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.subheadline
                        color: Theme.ink
                    }
                    Text {
                        visible: row.date.length > 0
                        text: row.date
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                }
            }
        }
    }
}
