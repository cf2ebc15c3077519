import QtQuick
import Vorna.Ui

// A symbol of the icon font; decorative, so hidden from accessibility.
Text {
    id: symbol

    property string name
    property real size: 17

    text: Symbols.glyph(name)
    font.family: Symbols.fontFamily
    font.pixelSize: size
    color: palette.text
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    Accessible.ignored: true

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
