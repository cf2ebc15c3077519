import QtQuick
import Vorna.Ui

// A labelled row: its title at the leading edge and its value at the trailing edge. The value stands whole
// on one line while the row has room for it; a long one wraps at the trailing side, within 60 % of the row,
// rather than crowding out its title. Laid out by plain bindings: a layout's limit that follows the row's own
// width is taken before that width is known, and kept until the next resize (a value then broke over two
// lines as its page first opened, with most of the row empty).
Item {
    id: row

    property string title
    property string value
    property color valueColor: Theme.muted
    readonly property real spacing: 12

    implicitWidth: titleText.implicitWidth + row.spacing + valueText.implicitWidth
    implicitHeight: Math.max(titleText.height, valueText.height)

    Text {
        id: valueText

        anchors.right: parent.right
        width: Math.min(Math.ceil(implicitWidth), Math.max(80, row.width * 0.6))
        text: row.value
        horizontalAlignment: Text.AlignRight
        wrapMode: Text.Wrap
        font.pixelSize: Typography.body
        color: row.valueColor
        Accessible.ignored: true
    }
    Text {
        id: titleText

        anchors.left: parent.left
        width: Math.max(0, row.width - valueText.width - row.spacing)
        text: row.title
        wrapMode: Text.Wrap
        font.pixelSize: Typography.body
        color: Theme.ink
        Accessible.ignored: true
    }
}
