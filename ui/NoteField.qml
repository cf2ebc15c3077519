import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// A text of several lines (a note, a reason): it grows between its least and most lines and scrolls beyond
// them, and Tab moves on. With a limit, the count shows under it as the text nears the limit, in red past it.
ColumnLayout {
    id: field

    property alias text: area.text
    property alias placeholderText: area.placeholderText
    property int minimumLines: 2
    property int maximumLines: 6
    // In characters as a reader counts them; 0 for none.
    property int maximumLength: 0
    readonly property bool overLimit: ViewRules.overLimit(area.text, field.maximumLength)
    signal edited(string text)

    readonly property real lineHeight: area.font.pixelSize * 1.4
    spacing: 4

    ScrollView {
        id: scroll

        Layout.fillWidth: true
        // The text wraps at the field's width: it never asks for more.
        contentWidth: scroll.availableWidth
        Layout.preferredHeight: Math.min(Math.max(area.implicitHeight, field.minimumLines * field.lineHeight + 16),
                                         field.maximumLines * field.lineHeight + 16)

        TextArea {
            id: area

            wrapMode: TextEdit.Wrap
            color: Theme.ink
            placeholderTextColor: Theme.muted
            selectionColor: Theme.accent
            selectedTextColor: Theme.white
            selectByMouse: true
            font.pixelSize: Typography.body
            leftPadding: 10
            rightPadding: 10
            topPadding: 8
            bottomPadding: 8
            Accessible.role: Accessible.EditableText
            Accessible.name: area.placeholderText
            Accessible.description: count.text.length > 0 ? ViewRules.lengthCountDescription(area.text, field.maximumLength) : ""
            KeyNavigation.priority: KeyNavigation.BeforeItem
            // Tab moves on (and Shift+Tab back): a note has no use for tab characters.
            Keys.onTabPressed: event => {
                area.nextItemInFocusChain(true)?.forceActiveFocus(Qt.TabFocusReason);
                event.accepted = true;
            }
            Keys.onBacktabPressed: event => {
                area.nextItemInFocusChain(false)?.forceActiveFocus(Qt.BacktabFocusReason);
                event.accepted = true;
            }
            onTextChanged: field.edited(area.text)

            background: Rectangle {
                radius: 8
                color: Theme.sunken
                border.width: area.activeFocus || field.overLimit ? 2 : 1
                border.color: field.overLimit ? Theme.rejected : area.activeFocus ? Theme.accent : Theme.line
            }
        }
    }
    Text {
        id: count

        Layout.alignment: Qt.AlignRight
        visible: text.length > 0
        text: ViewRules.lengthCount(area.text, field.maximumLength)
        font.pixelSize: Typography.caption
        font.weight: field.overLimit ? Font.DemiBold : Font.Normal
        color: field.overLimit ? Theme.rejected : Theme.muted
        Accessible.ignored: true
    }
}
