import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The full-width, large button of an account form: prominent (the save) or bordered, destructive (sign-out)
// in the rejected colour; the loader before the text while the form is busy.
BorderedButton {
    id: button

    property bool loading: false
    property bool destructive: false

    Layout.fillWidth: true
    Layout.preferredHeight: 44
    radius: 12

    contentItem: RowLayout {
        spacing: 8

        Item {
            Layout.fillWidth: true
        }
        InlineLoader {
            visible: button.loading
        }
        Text {
            text: button.text
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            color: button.destructive ? Theme.rejected : button.labelColor
        }
        Item {
            Layout.fillWidth: true
        }
    }
}
