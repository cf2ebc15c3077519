import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Maps
import Vorna.Screenshots

// The live map's top panel in each state: waiting for the first snapshot, failed, the saved snapshot while
// loading, paused with an error, degraded, empty, and with a flight selected during the tour; one own
// flight and several.
Rectangle {
    property size windowSize: Qt.size(1100, 820)

    color: Theme.sunken

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 10

        MapBannerView {
            Layout.fillWidth: true
            loading: true
        }
        MapBannerView {
            Layout.fillWidth: true
            error: "似乎已断开与互联网的连接。"
        }
        MapBannerView {
            Layout.fillWidth: true
            hasSnapshot: true
            flightCount: SampleFlights.flights(true).count
            liveCount: SampleFlights.liveCount(true)
            snapshotStatus: SampleFlights.status(true)
            updatedAt: SampleFlights.updatedAt(true)
            loading: true
            ownFlights: SampleFlights.pick(["lv-207"])
        }
        MapBannerView {
            Layout.fillWidth: true
            hasSnapshot: true
            flightCount: SampleFlights.flights(false).count
            liveCount: SampleFlights.liveCount(false)
            snapshotStatus: SampleFlights.status(false)
            updatedAt: SampleFlights.updatedAt(false)
            paused: true
            error: "暂时取不到最新数据，地图显示的是之前的数据，可以点“刷新”重试。"
            satellite: false
            ownFlights: SampleFlights.pick(["lv-207", "lv-112"])
        }
        MapBannerView {
            Layout.fillWidth: true
            hasSnapshot: true
            flightCount: 6
            snapshotStatus: "degraded"
            updatedAt: SampleFlights.updatedAt(false)
            ownFlights: SampleFlights.pick(["lv-145"])
        }
        MapBannerView {
            Layout.fillWidth: true
            hasSnapshot: true
            flightCount: 0
            updatedAt: SampleFlights.updatedAt(false)
        }
        MapBannerView {
            Layout.fillWidth: true
            hasSnapshot: true
            flightCount: SampleFlights.flights(false).count
            liveCount: SampleFlights.liveCount(false)
            updatedAt: SampleFlights.updatedAt(false)
            flightSelected: true
            demonstrating: true
            ownFlights: SampleFlights.pick(["lv-207", "lv-112"])
        }
        MapBannerView {
            Layout.fillWidth: true
            hasSnapshot: true
            flightCount: SampleFlights.flights(false).count
            liveCount: SampleFlights.liveCount(false)
            updatedAt: SampleFlights.updatedAt(false)
            flightSelected: true
            loading: true
        }
        Item {
            Layout.fillHeight: true
        }
    }
}
