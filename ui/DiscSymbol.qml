import QtQuick
import Vorna.Ui

// A ".circle.fill" symbol drawn in two layers, each in a colour of its own: the mark (an x) in `color`, on a
// disc in `discColor`. The one-colour glyph cuts the mark out of its disc, so what shows through the mark is
// whatever lies behind; a white x on a dark translucent disc over a picture, or a muted x on a lighter disc,
// needs the layers apart. Decorative, so hidden from accessibility.
Item {
    id: symbol

    // The mark's symbol, drawn inside the disc.
    property string mark: "xmark"
    property real size: 17
    property color color: palette.text
    property color discColor: Qt.alpha(symbol.color, 0.2)

    // A circled symbol stands a little larger than the text of its size, as a capital letter's height and
    // a bit more.
    readonly property real diameter: Math.round(symbol.size * 1.15)

    implicitWidth: symbol.diameter
    implicitHeight: symbol.diameter
    Accessible.ignored: true

    Rectangle {
        anchors.centerIn: parent
        width: symbol.diameter
        height: width
        radius: width / 2
        color: symbol.discColor
    }
    // The mark spans half the disc, as inside the font's own circled x (10 of its 20); the bare glyph spans
    // 14 of its 24.
    Symbol {
        anchors.centerIn: parent
        name: symbol.mark
        size: symbol.diameter / 2 * 24 / 14
        color: symbol.color
    }
}
