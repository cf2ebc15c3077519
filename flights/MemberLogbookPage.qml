pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Maps
import Vorna.Flights

// The logbook: the records page, or the page of the routes the member has flown, switched by the page
// menu. The member's reports and routes come from the member data; a chosen report opens its detail above
// the logbook, on the logbook's own stack.
Rectangle {
    id: logbookPage
    // What a screen reader says as the page takes the keyboard: its title, as it is written in every language.
    Accessible.role: Accessible.Pane
    Accessible.name: "Logbook"

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    readonly property LogbookModel logbook: model
    // 0 the records page, 1 the routes page; every opening of the logbook starts on the records.
    property int page: 0

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
        onOpenPirep: row => model.openPirep(logbookPage.navigation, NavigationStack.LogbookStack, row)
        menu: [
            LogbookMenu {
                page: logbookPage.page
                onChoose: page => logbookPage.page = page
            }
        ]
    }

    // The routes page: the routes map filling the page under its bar (refresh, title, the page menu), the
    // routes' load failure over the map's top edge, the loader while the first routes come.
    Item {
        id: routesPage

        anchors.fill: parent
        visible: logbookPage.page !== 0
        onVisibleChanged: {
            if (visible)
                model.showRoutes();
        }

        RowLayout {
            id: routesBar

            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.leftMargin: ViewRules.pageHorizontalPadding(ViewRules.isRegular(Window.width))
            anchors.rightMargin: anchors.leftMargin
            anchors.topMargin: 8
            height: implicitHeight + 8
            spacing: 12

            GlassButton {
                objectName: "logbook.refreshRoutes"
                symbol: "arrow.clockwise"
                Accessible.name: L.t("刷新")
                busy: model.routesLoading
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
        RoutesMapView {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: routesBar.bottom
            anchors.bottom: parent.bottom
            objectName: "logbook.routes"
            routes: model.routes
            interactionModes: MapView.Pan | MapView.Zoom
            expandable: false
        }
        // On the surface colour, so the notice reads over the map.
        Rectangle {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: routesBar.bottom
            anchors.margins: 16
            height: routesNotice.implicitHeight
            visible: routesNotice.visible
            radius: 16
            color: Theme.surface

            LoadNotice {
                id: routesNotice

                anchors.fill: parent
                memberData: logbookPage.memberData
                load: MemberLoad.Routes
            }
        }
        BrandLoader {
            anchors.centerIn: parent
            visible: model.showsRoutesLoader
            size: 72
            caption: L.t("正在加载")
            tile: true
        }
    }
}
