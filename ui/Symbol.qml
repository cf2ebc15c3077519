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
}
