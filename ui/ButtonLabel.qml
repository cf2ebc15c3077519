import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Vorna.Ui

// A button's label: its symbol and its title, standing together in the middle however wide the button is. A
// title too wide for the button is cut (or first shrinks to 0.8 of its size); a symbol without a title stands
// alone in the middle. While the button's work runs the small loader stands before them (`loading`), or in
// their place (`working`), keeping their room; it is never taller than the title's line. Either way the button
// keeps its height, and in place of its label its width: nothing around it moves.
Item {
    id: label

    required property T.AbstractButton button
    property string symbol
    property real symbolSize: Typography.body + 3
    property color color
    property bool loading: false
    property bool working: false
    property bool shrinks: false
    readonly property bool symbolOnly: label.button.text.length === 0
    // The loader's side: the title's line, or the symbol of a button without a title, at most 26 points.
    readonly property real loaderSize: Math.min(26, label.symbolOnly ? label.symbolSize : line.height)

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    FontMetrics {
        id: line

        font: label.button.font
    }
    RowLayout {
        id: row

        anchors.fill: parent
        spacing: 0
        opacity: label.working ? 0 : 1

        Item {
            Layout.fillWidth: true
        }
        InlineLoader {
            Layout.rightMargin: 6
            visible: label.loading
            size: label.loaderSize
            Accessible.ignored: true
        }
        Symbol {
            Layout.rightMargin: label.symbolOnly ? 0 : 6
            visible: label.symbol.length > 0
            name: label.symbol
            size: label.symbolSize
            color: label.color
        }
        Text {
            Layout.fillWidth: true
            // Whole pixels: a layout rounds the room it gives down, and a fraction short would cut the title.
            Layout.preferredWidth: Math.ceil(implicitWidth)
            Layout.maximumWidth: Math.ceil(implicitWidth)
            visible: !label.symbolOnly
            text: label.button.text
            font: label.button.font
            fontSizeMode: label.shrinks ? Text.HorizontalFit : Text.FixedSize
            minimumPixelSize: Math.round(label.button.font.pixelSize * 0.8)
            color: label.color
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        Item {
            Layout.fillWidth: true
        }
    }
    InlineLoader {
        anchors.centerIn: parent
        visible: label.working
        size: label.loaderSize
        Accessible.ignored: true
    }
}
