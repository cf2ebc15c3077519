import QtQuick
import Vorna.Ui

// A sheet rising from the bottom of the map in a narrow window. With `stops` (fractions of the height:
// medium and large) it has a grabber, dims the map and closes on a click beside it; with a fixed height
// it leaves the map usable around it. A swipe down, or Escape, dismisses it; it never closes itself:
// `dismissed` asks the presenter to.
Item {
    id: sheet

    property bool presented: false
    // Medium and large, as fractions of the height; empty: one fixed height.
    property list<real> stops: []
    property int stop: 0
    property real fixedHeight: 380
    property real radius: 12
    property bool grabber: stops.length > 0
    property bool dims: stops.length > 0
    // A stop's height leaves out the bottom inset of the window; the sheet adds it back,
    // so a card 20 points taller than its stop fits whole.
    readonly property real bottomInset: 20
    readonly property real stopHeight: sheet.stops.length > 0
                                       ? Math.round(sheet.height * sheet.stops[Math.min(sheet.stop, sheet.stops.length - 1)])
                                       : sheet.fixedHeight
    // The height the sheet takes from the bottom once it is up.
    readonly property real shownHeight: Math.min(sheet.height - 8, sheet.stopHeight + sheet.bottomInset)
    // The sheet's content, made when it is presented.
    default property alias content: body.data
    signal dismissed

    function settle(offset: real) {
        // A drag of more than 80 points moves one stop, and below the smallest one dismisses.
        if (offset > 80) {
            if (sheet.stop > 0 && sheet.stops.length > 0)
                sheet.stop -= 1;
            else
                sheet.dismissed();
        } else if (offset < -80 && sheet.stop < sheet.stops.length - 1) {
            sheet.stop += 1;
        }
    }

    onPresentedChanged: if (presented)
        stop = 0

    Rectangle {
        objectName: "mapSheet.scrim"
        anchors.fill: parent
        visible: sheet.dims && sheet.presented
        color: Qt.alpha("black", 0.25)

        TapHandler {
            onTapped: sheet.dismissed()
        }
    }

    // A focus scope: the content takes the keyboard as the sheet comes up, and Escape reaches the sheet.
    FocusScope {
        id: panel

        readonly property real drag: Math.max(-sheet.height, handle.active ? handle.translation.y : 0)

        x: 0
        width: sheet.width
        height: sheet.shownHeight
        y: sheet.presented ? sheet.height - height + Math.max(0, drag) : sheet.height
        // On screen from the moment it is presented, still below the edge until its first frame moves it up:
        // its content takes the keyboard as it opens, however late a loaded machine draws that frame.
        visible: sheet.presented || y < sheet.height
        focus: sheet.presented
        Keys.onEscapePressed: sheet.dismissed()

        Behavior on y {
            enabled: !handle.active
            NumberAnimation {
                duration: Theme.reduceMotion ? 0 : 250
                easing.type: Easing.OutCubic
            }
        }
        Behavior on height {
            NumberAnimation {
                duration: Theme.reduceMotion ? 0 : 250
                easing.type: Easing.OutCubic
            }
        }

        // Clicks on the sheet stay on it.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            onWheel: wheel => wheel.accepted = true
        }
        Rectangle {
            anchors.fill: parent
            anchors.bottomMargin: -sheet.radius
            radius: sheet.radius
            color: Theme.surface
            border.color: Theme.line
        }
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            y: 6
            width: 36
            height: 5
            radius: 2.5
            visible: sheet.grabber
            color: Qt.alpha(Theme.muted, 0.5)
        }
        Item {
            id: body

            anchors.fill: parent
            anchors.topMargin: sheet.grabber ? 12 : 0
            clip: true
        }
        // The top edge takes the swipe, so the content keeps its own clicks and scrolling.
        Item {
            width: parent.width
            height: 24

            DragHandler {
                id: handle

                target: null
                xAxis.enabled: false
                onActiveChanged: if (!active)
                    sheet.settle(translation.y)
            }
        }
    }
}
