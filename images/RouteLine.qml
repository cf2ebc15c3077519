import QtQuick
import Vorna.Ui
import Vorna.Images

// Departure to arrival: the codes in large letters, between them an arrow (or, under way, a progress bar)
// with an optional caption above, and the airports' names underneath, from the airport tables in the
// interface's language. Laid out with anchors, not layouts: a layout kept the first, empty width of an arrival code that came with
// its record, so the arrow ran to the edge and pushed the code past it until the next resize.
Item {
    id: route

    property string from
    property string to
    property string caption
    property color tint: Theme.accent
    property real size: 24
    property bool reservesNames: false
    property bool showsProgress: false
    property real progress: NaN
    property color labelColor: Theme.muted
    // The airports' names, empty for a code the tables do not know.
    readonly property string fromName: AirportNames.name(route.from)
    readonly property string toName: AirportNames.name(route.to)

    implicitWidth: codes.implicitWidth
    implicitHeight: codes.height + (names.visible ? 4 + names.height : 0)
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.routeLabel(route.from, route.to)
    Accessible.description: ViewRules.routeDescription(route.caption, route.fromName, route.toName)

    // The codes at their own width, bottoms aligned; the bar between them takes what is left, lifted to
    // about the middle height of the codes.
    Item {
        id: codes

        width: route.width
        // Room for the codes and a short arrow; a long caption shrinks and is cut rather than widen the line.
        implicitWidth: fromCode.implicitWidth + toCode.implicitWidth + 24 + 40
        height: Math.max(fromCode.implicitHeight, toCode.implicitHeight, middle.height + middle.anchors.bottomMargin)

        Text {
            id: fromCode

            anchors.left: parent.left
            anchors.bottom: parent.bottom
            text: route.from
            font.pixelSize: route.size
            font.weight: Font.Black
            font.letterSpacing: 0.8
            color: Theme.ink
            Accessible.ignored: true
        }

        Column {
            id: middle

            anchors.left: fromCode.right
            anchors.right: toCode.left
            anchors.leftMargin: 12
            anchors.rightMargin: 12
            anchors.bottom: parent.bottom
            anchors.bottomMargin: route.size * 0.3
            spacing: 5

            Text {
                width: middle.width
                visible: route.caption.length > 0
                text: route.caption
                // A flight's phase as the service words it: shown as it comes, never read as markup.
                textFormat: Text.PlainText
                horizontalAlignment: Text.AlignHCenter
                maximumLineCount: 1
                elide: Text.ElideRight
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: Math.round(Typography.caption * 0.75)
                font.pixelSize: Typography.caption
                font.weight: Font.DemiBold
                color: route.labelColor
                Accessible.ignored: true
            }
            ProgressBar {
                width: middle.width
                height: 10
                visible: route.showsProgress
                value: route.progress
                tint: Theme.approved
                Accessible.ignored: true
            }
            RouteArrow {
                width: middle.width
                height: 10
                visible: !route.showsProgress
                color: route.tint
            }
        }

        Text {
            id: toCode

            anchors.right: parent.right
            anchors.bottom: parent.bottom
            text: route.to
            font.pixelSize: route.size
            font.weight: Font.Black
            font.letterSpacing: 0.8
            color: Theme.ink
            Accessible.ignored: true
        }
    }

    // The names under the codes, each in its half: the departure's leading, the arrival's trailing.
    Item {
        id: names

        y: codes.height + 4
        width: route.width
        height: fromNameText.height
        visible: ViewRules.showsRouteNames(route.fromName, route.toName, route.reservesNames)

        Text {
            id: fromNameText

            width: (names.width - 12) / 2
            text: ViewRules.routeName(route.fromName)
            maximumLineCount: 1
            elide: Text.ElideRight
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.round(Typography.caption * 0.8)
            font.pixelSize: Typography.caption
            // One line height for every script, so a blank line is as high as a named one.
            lineHeightMode: Text.FixedHeight
            lineHeight: Math.ceil(Typography.caption * 1.5)
            color: route.labelColor
            Accessible.ignored: true
        }
        Text {
            anchors.right: parent.right
            width: (names.width - 12) / 2
            text: ViewRules.routeName(route.toName)
            horizontalAlignment: Text.AlignRight
            maximumLineCount: 1
            elide: Text.ElideRight
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.round(Typography.caption * 0.8)
            font.pixelSize: Typography.caption
            lineHeightMode: Text.FixedHeight
            lineHeight: Math.ceil(Typography.caption * 1.5)
            color: route.labelColor
            Accessible.ignored: true
        }
    }
}
