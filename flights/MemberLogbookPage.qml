pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights

// The logbook: the records page, or the page of the routes the member has flown, switched by the page
// menu. The member's reports and routes come from the member data; a chosen report goes to the shell,
// which opens its detail (`logbook.report(row)` gives the report).
Rectangle {
    id: logbookPage

    required property MemberData memberData
    readonly property LogbookModel logbook: model
    // 0 the records page, 1 the routes page; every opening of the logbook starts on the records.
    property int page: 0
    signal openReport(int row)

    color: Theme.paper
    onPageChanged: {
        if (page !== 0)
            model.startOver();
    }

    LogbookModel {
        id: model

        memberData: logbookPage.memberData
    }

    LogbookRecordsView {
        anchors.fill: parent
        visible: logbookPage.page === 0
        logbook: model
        onOpenReport: row => logbookPage.openReport(row)
        menu: [
            LogbookMenu {
                page: logbookPage.page
                onChoose: page => logbookPage.page = page
            }
        ]
    }

    // The routes map is not drawn yet: its place says what will stand here, with the routes' own load.
    Page {
        anchors.fill: parent
        visible: logbookPage.page !== 0
        spacing: 16
        onVisibleChanged: {
            if (visible)
                model.showRoutes();
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                objectName: "logbook.refreshRoutes"
                symbol: "arrow.clockwise"
                Accessible.name: L.t("刷新")
                enabled: !model.routesLoading
                onClicked: model.reloadRoutes()
            }
            Text {
                Layout.fillWidth: true
                text: L.t("我飞过的航线")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            LogbookMenu {
                page: logbookPage.page
                onChoose: page => logbookPage.page = page
            }
        }
        LoadNotice {
            Layout.fillWidth: true
            memberData: logbookPage.memberData
            load: MemberLoad.Routes
        }
        EmptyState {
            objectName: "logbook.routesPlaceholder"
            symbol: "map"
            title: L.t("航线地图")
            description: L.t("你飞过的航线将在这张地图上显示，这一页即将加入成员中心。")
        }
        Text {
            Layout.fillWidth: true
            visible: model.routeCount > 0
            text: model.routeCountText
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Typography.footnote
            color: Theme.muted
        }
    }
}
