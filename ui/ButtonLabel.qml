import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Vorna.Ui

// A button's label: the loader while its work runs, its symbol and its title, standing together in the middle
// however wide the button is. A title too wide for the button is cut (or first shrinks to 0.8 of its size);
// a symbol without a title stands alone in the middle.
RowLayout {
    id: label

    required property T.AbstractButton button
    property string symbol
    property real symbolSize: Typography.body + 3
    property color color
    property bool loading: false
    property bool shrinks: false
    readonly property bool symbolOnly: label.button.text.length === 0

    spacing: 0

    Item {
        Layout.fillWidth: true
    }
    InlineLoader {
        Layout.rightMargin: 6
        visible: label.loading
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
