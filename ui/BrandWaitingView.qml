import QtQuick
import Vorna.Ui

// The waiting screen: the looping brand loader with a message and whatever controls are given under it.
BrandStage {
    id: waiting

    property string message

    // The keyboard, left to the screen as it changed, is here while nothing else is: heard by its message.
    focus: true
    Accessible.role: Accessible.Grouping
    Accessible.name: message

    Text {
        width: parent.width
        text: waiting.message
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: Typography.footnote
        color: Qt.alpha(Theme.white, 0.75)
    }
}
