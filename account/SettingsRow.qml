import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// One row of the account lists: its symbol and title on the left, a value and the trailing symbol (the
// chevron of a page it opens) on the right; the whole row reacts to clicks.
AbstractButton {
    id: row

    property string title
    property string symbol
    property string value
    property string trailingSymbol: "chevron.right"
    property bool destructive: false

    Layout.fillWidth: true
    implicitHeight: 44
    focusPolicy: Qt.StrongFocus
    opacity: enabled ? 1 : 0.55
    Accessible.name: row.value.length > 0 ? row.title + " " + row.value : row.title

    background: Rectangle {
        radius: 10
        color: row.hovered && row.enabled ? Qt.alpha(Theme.ink, 0.05) : "transparent"

        FocusRing {
            control: row
            radius: 10
        }
    }
    contentItem: RowLayout {
        spacing: 10

        Symbol {
            visible: row.symbol.length > 0
            Layout.preferredWidth: 22
            name: row.symbol
            color: row.destructive ? Theme.rejected : Theme.accent
        }
        Text {
            Layout.fillWidth: true
            text: row.title
            elide: Text.ElideRight
            font.pixelSize: Typography.body
            color: row.destructive ? Theme.rejected : Theme.ink
        }
        Text {
            visible: row.value.length > 0
            text: row.value
            font.pixelSize: Typography.body
            color: Theme.muted
        }
        Symbol {
            visible: row.trailingSymbol.length > 0
            name: row.trailingSymbol
            size: Typography.footnote
            color: Theme.muted
            Accessible.ignored: true
        }
    }
}
