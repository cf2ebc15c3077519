import QtQuick
import QtQuick.Controls
import Vorna.Ui

// A text of several lines for the review's note or reason: it grows between its least and most lines and
// scrolls beyond them.
ScrollView {
    id: field

    property alias text: area.text
    property alias placeholderText: area.placeholderText
    property int minimumLines: 2
    property int maximumLines: 6
    signal edited(string text)

    readonly property real lineHeight: area.font.pixelSize * 1.4
    implicitHeight: Math.min(Math.max(area.implicitHeight, minimumLines * lineHeight + 16), maximumLines * lineHeight + 16)

    TextArea {
        id: area

        wrapMode: TextEdit.Wrap
        color: Theme.ink
        placeholderTextColor: Theme.muted
        selectByMouse: true
        font.pixelSize: Typography.body
        leftPadding: 10
        rightPadding: 10
        topPadding: 8
        bottomPadding: 8
        Accessible.role: Accessible.EditableText
        Accessible.name: area.placeholderText
        KeyNavigation.priority: KeyNavigation.BeforeItem
        // Tab moves on: a note has no use for tab characters.
        Keys.onTabPressed: event => {
            area.nextItemInFocusChain(true)?.forceActiveFocus(Qt.TabFocusReason);
            event.accepted = true;
        }
        onTextChanged: field.edited(area.text)

        background: Rectangle {
            radius: 8
            color: Theme.sunken
            border.width: area.activeFocus ? 2 : 1
            border.color: area.activeFocus ? Theme.accent : Theme.line
        }
    }
}
