import QtQuick
import Vorna.Ui

// A symbol: a glyph of the icon font, or a vector of our own where the font has none that says the same,
// drawn in the glyph's square. Decorative, so hidden from accessibility.
Item {
    id: symbol

    property string name
    property real size: 17
    property color color: palette.text
    property alias font: glyph.font
    readonly property bool vector: Symbols.isVector(symbol.name)
    // Whether the name has a glyph or a vector: a name without one draws nothing.
    readonly property bool drawn: Symbols.has(symbol.name)

    implicitWidth: symbol.vector ? symbol.size : glyph.implicitWidth
    implicitHeight: glyph.implicitHeight
    Accessible.ignored: true

    Text {
        id: glyph

        anchors.fill: parent
        text: symbol.vector ? "" : Symbols.glyph(symbol.name)
        font.family: Symbols.fontFamily
        font.pixelSize: symbol.size
        color: symbol.color
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        Accessible.ignored: true
    }
    Image {
        anchors.centerIn: parent
        width: symbol.size
        height: symbol.size
        visible: symbol.vector
        source: symbol.vector ? Symbols.picture(symbol.name, symbol.color) : ""
        sourceSize.width: symbol.size
        sourceSize.height: symbol.size
        Accessible.ignored: true
    }

    // The badge of a ".badge" symbol: an accent dot on the glyph's top trailing corner, cut out of the
    // glyph by a rim of the surface colour.
    Rectangle {
        visible: Symbols.badged(symbol.name)
        width: Math.round(symbol.size * 0.5)
        height: width
        radius: width / 2
        // Centred on the glyph's top trailing corner, which stands in the middle of the symbol's box.
        x: (symbol.width - symbol.size) / 2 + symbol.size * 0.82 - width / 2
        y: (symbol.height - symbol.size) / 2 + symbol.size * 0.18 - width / 2
        color: Theme.accent
        border.color: Theme.surface
        border.width: 1.5
    }
}
