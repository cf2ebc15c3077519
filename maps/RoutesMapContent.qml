pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Maps

// One routes map with its own camera: the great circles and airport markers of the routes, the "scope"
// button and, when expandable, the full-screen button; or, for no route at all, the empty state alone.
// RoutesMapView shows it in place and again in its full-screen cover.
Item {
    id: content

    property flownRoutes routes
    property int interactionModes: MapView.Pan | MapView.Zoom
    property bool expandable: false
    // The map on show, none in the empty state.
    property MapView map: null
    signal expand

    RoutesMapModel {
        id: drawing

        routes: content.routes
    }

    Rectangle {
        anchors.fill: parent
        visible: drawing.empty
        objectName: "routes.empty"
        color: Theme.surface
        Accessible.role: Accessible.StaticText
        Accessible.name: ViewRules.combined([emptyTitle.text, emptyDescription.text])

        ColumnLayout {
            anchors.centerIn: parent
            width: Math.max(0, parent.width - 48)
            spacing: 8

            Symbol {
                Layout.alignment: Qt.AlignHCenter
                Layout.bottomMargin: 4
                name: "map"
                size: 44
                color: Theme.muted
            }
            Text {
                id: emptyTitle

                Layout.fillWidth: true
                text: L.t("还没有已批准的航线")
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.title2
                font.weight: Font.Bold
                color: Theme.ink
            }
            Text {
                id: emptyDescription

                Layout.fillWidth: true
                text: L.t("飞过的机场将连成你的航线图。")
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
        }
    }

    // Keyed by the routes' identity: another route list makes another map.
    Repeater {
        id: maps

        model: drawing.empty ? [] : [drawing.identity]
        onItemAdded: (index, item) => content.map = item as MapView
        onItemRemoved: (index, item) => {
            if (content.map === item)
                content.map = null;
        }

        MapView {
            id: map

            width: content.width
            height: content.height
            objectName: "routes.map"
            interactionModes: content.interactionModes
            mapStyle: MapView.Standard
            elevation: MapView.Flat
            // North up, never turned: the compass is the map's one control.
            showsCompass: true
            dark: Theme.dark
            Accessible.role: Accessible.Graphic
            Accessible.name: drawing.accessibleName
            // Where the map before it was left, or every route framed.
            Component.onCompleted: drawing.adopt(map)

            Repeater {
                model: drawing.lines

                MapPolyline {
                    required path

                    geodesic: true
                    color: Qt.alpha(Theme.accent, 0.7)
                    lineWidth: 2
                }
            }
            Repeater {
                model: drawing.airports

                MapBalloon {
                    required property string code
                    required coordinate
                    required titlePosition
                    required titleShown

                    title: code
                    titleFont: drawing.titleFont
                    tint: Theme.accent
                }
            }
        }
    }

    Column {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 8
        visible: !drawing.empty
        spacing: 8

        MapControlButton {
            objectName: "routes.scope"
            symbol: "scope"
            Accessible.name: L.t("显示全部航线")
            onClicked: content.map?.showAll(true)
        }
        MapControlButton {
            objectName: "routes.fullScreen"
            visible: content.expandable
            symbol: "arrow.up.left.and.arrow.down.right"
            Accessible.name: L.t("全屏查看航线")
            onClicked: content.expand()
        }
    }

    // An icon-only glass button in a circle.
    component MapControlButton: GlassButton {
        id: control

        width: 36
        height: 36
        leftPadding: 0
        rightPadding: 0
        topPadding: 0
        bottomPadding: 0
        Accessible.onPressAction: control.clicked()

        contentItem: Symbol {
            name: control.symbol
            size: Typography.body + 3
            color: control.labelColor
        }
    }
}
