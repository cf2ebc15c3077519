import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The explanatory row that opens a first-login form, in a section of its own: a card like the form's other
// sections, without heading or footnote, holding only the banner. The symbol stands in the accent, level
// with the first line of the message, which wraps under itself. Only the message is read out.
FormSection {
    id: banner

    // The message; the section's own `symbol` is the banner's, its heading being empty.
    property string text

    RowLayout {
        Layout.fillWidth: true
        Layout.topMargin: 6
        Layout.bottomMargin: 6
        spacing: 12

        Symbol {
            Layout.alignment: Qt.AlignTop
            name: banner.symbol
            size: Typography.title2
            color: Theme.accent
            Accessible.ignored: true
        }
        Text {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            text: banner.text
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.ink
        }
    }
}
