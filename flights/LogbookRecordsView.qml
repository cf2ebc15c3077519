pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights

// The logbook's records page: the status filter, the search, the count and one card per report that
// passes both. Choosing a card asks for that report's detail.
Item {
    id: view

    required property LogbookModel logbook
    // The logbook's own name, as it is written in every language; the account tab's row that opens it reads
    // from the string tables.
    property string title: "Logbook"
    // The page menu's place at the trailing end of the title row.
    property alias menu: menuPlace.data
    signal openPirep(int row)

    Component.onCompleted: view.logbook.showRecords()

    Page {
        id: page

        anchors.fill: parent
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Text {
                Layout.fillWidth: true
                objectName: "logbook.title"
                text: view.title
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            GlassButton {
                objectName: "logbook.refresh"
                symbol: "arrow.clockwise"
                text: L.t("刷新")
                onClicked: view.logbook.reloadPireps()
            }
            Item {
                id: menuPlace

                implicitWidth: childrenRect.width
                implicitHeight: childrenRect.height
            }
        }
        FormField {
            Layout.fillWidth: true
            objectName: "logbook.search"
            placeholderText: L.t("机场、机型或涂装")
            text: view.logbook.search
            onTextChanged: view.logbook.search = text
        }
        FilterRow {
            title: L.t("审核状态")

            SegmentedPicker {
                Layout.fillWidth: true
                objectName: "logbook.filter"
                Accessible.name: L.t("审核状态")
                options: view.logbook.filters
                current: view.logbook.filter
                onChosen: value => view.logbook.filter = value
            }
        }
        LoadNotice {
            Layout.fillWidth: true
            memberData: view.logbook.memberData
            load: MemberLoad.Pireps
        }
        Text {
            Layout.fillWidth: true
            text: view.logbook.countText
            font.pixelSize: Typography.footnote
            font.weight: Font.DemiBold
            color: Theme.muted
        }
        Repeater {
            model: view.logbook.records

            PressableStyle {
                id: entry

                required property int index
                required property string from
                required property string to
                required property string caption
                required property int verdict
                required property string statusTitle
                required property string aircraft
                required property string livery
                required property string multiplier
                required property string day
                required property string reason
                required property string accessibleText

                Layout.fillWidth: true
                objectName: "logbook.report"
                Accessible.role: Accessible.Button
                Accessible.name: entry.accessibleText
                onClicked: view.openPirep(entry.index)

                contentItem: PirepRow {
                    from: entry.from
                    to: entry.to
                    caption: entry.caption
                    verdict: entry.verdict
                    statusTitle: entry.statusTitle
                    aircraft: entry.aircraft
                    livery: entry.livery
                    multiplier: entry.multiplier
                    day: entry.day
                    reason: entry.reason
                }
            }
        }
        EmptyState {
            visible: view.logbook.showsEmpty
            symbol: "tray"
            title: L.t("暂无符合条件的报告")
            description: L.t("试试其他筛选条件，或提交新的飞行报告。")
        }
    }
    BrandLoader {
        anchors.centerIn: parent
        visible: view.logbook.showsLoader
        size: 72
        caption: L.t("正在加载飞行记录")
        tile: true
    }
}
