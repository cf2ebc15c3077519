import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Maps

// The map of the routes the member has flown in approved reports: a great circle per route, a marker per
// airport, "scope" to frame them all again and, when expandable, the same map over the whole window. It
// loads nothing: the screen that embeds it hands it the routes, and sets its frame, corners and border.
Item {
    id: view

    property flownRoutes routes
    // The gestures the map allows (MapView.Pan, MapView.Zoom).
    property int interactionModes: MapView.Pan | MapView.Zoom
    // Offers the full-screen map.
    property bool expandable: false
    // While true the full-screen map covers the window.
    property bool fullScreen: false
    // The map in place, for the screens and tests that look at its camera.
    readonly property alias content: embedded

    RoutesMapContent {
        id: embedded

        anchors.fill: parent
        routes: view.routes
        interactionModes: view.interactionModes
        expandable: view.expandable
        onExpand: view.fullScreen = true
    }

    // The full-screen map: the same routes with a camera of its own, panned and zoomed, without a
    // full-screen button of its own; "完成" or Escape closes it.
    Popup {
        id: cover

        // What a screen reader calls it: its title.
        property string title: L.t("我飞过的航线")
        // "完成", its first control, takes the keyboard as it opens; the full-screen button has it back as
        // it closes.
        readonly property ScreenFocus keyboard: ScreenFocus {
            screen: done
            open: cover.visible
        }

        parent: Overlay.overlay
        x: 0
        y: 0
        width: parent ? parent.width : 0
        height: parent ? parent.height : 0
        padding: 0
        modal: true
        focus: true
        closePolicy: Popup.CloseOnEscape
        visible: view.fullScreen
        onAboutToShow: {
            cover.keyboard.opening();
            coverMap.active = true;
        }
        onClosed: {
            coverMap.active = false;
            view.fullScreen = false;
        }

        enter: Transition {
            NumberAnimation {
                property: "y"
                from: cover.height
                to: 0
                duration: 300
                easing.type: Easing.OutCubic
            }
        }
        exit: Transition {
            NumberAnimation {
                property: "y"
                from: 0
                to: cover.height
                duration: 250
                easing.type: Easing.InCubic
            }
        }

        background: Rectangle {
            color: Theme.paper
        }

        ColumnLayout {
            anchors.fill: parent
            objectName: "routes.cover"
            spacing: 0

            // The navigation bar: the title in line, "完成" where a confirmation stands.
            Item {
                Layout.fillWidth: true
                implicitHeight: 52

                Text {
                    anchors.centerIn: parent
                    width: Math.min(implicitWidth, parent.width - 2 * done.width - 48)
                    text: cover.title
                    elide: Text.ElideRight
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                GlassButton {
                    id: done

                    anchors.right: parent.right
                    anchors.rightMargin: 16
                    anchors.verticalCenter: parent.verticalCenter
                    objectName: "routes.done"
                    text: L.t("完成")
                    Accessible.name: L.t("完成")
                    Accessible.onPressAction: done.clicked()
                    onClicked: view.fullScreen = false
                }
            }
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 1
                color: Theme.line
            }
            // Made each time the cover opens: its camera starts framing every route again.
            Loader {
                id: coverMap

                Layout.fillWidth: true
                Layout.fillHeight: true
                active: false
                onLoaded: (coverMap.item as RoutesMapContent).routes = Qt.binding(() => view.routes)

                sourceComponent: RoutesMapContent {
                    objectName: "routes.coverMap"
                    interactionModes: MapView.Pan | MapView.Zoom
                    expandable: false
                }
            }
        }
    }
}
