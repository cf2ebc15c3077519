import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images

// Departure to arrival: the codes in large letters, between them an arrow (or, under way, a progress bar)
// with an optional caption above, and the airports' names underneath, from the airport tables in the
// interface's language.
ColumnLayout {
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

    spacing: 4
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.routeLabel(from, to)
    Accessible.description: ViewRules.routeDescription(caption, fromName, toName)

    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        Text {
            Layout.alignment: Qt.AlignBottom
            text: route.from
            font.pixelSize: route.size
            font.weight: Font.Black
            font.letterSpacing: 0.8
            color: Theme.ink
            Accessible.ignored: true
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignBottom
            Layout.bottomMargin: route.size * 0.3
            spacing: 5

            Text {
                Layout.fillWidth: true
                visible: route.caption.length > 0
                text: route.caption
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
                Layout.fillWidth: true
                Layout.preferredHeight: 10
                visible: route.showsProgress
                value: route.progress
                tint: Theme.approved
                Accessible.ignored: true
            }
            RouteArrow {
                Layout.fillWidth: true
                Layout.preferredHeight: 10
                visible: !route.showsProgress
                color: route.tint
            }
        }

        Text {
            Layout.alignment: Qt.AlignBottom
            text: route.to
            font.pixelSize: route.size
            font.weight: Font.Black
            font.letterSpacing: 0.8
            color: Theme.ink
            Accessible.ignored: true
        }
    }

    RowLayout {
        Layout.fillWidth: true
        visible: ViewRules.showsRouteNames(route.fromName, route.toName, route.reservesNames)
        spacing: 12

        Text {
            Layout.fillWidth: true
            Layout.preferredWidth: 0
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
            Layout.fillWidth: true
            Layout.preferredWidth: 0
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
