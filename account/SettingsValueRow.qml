import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A row of the account lists that only shows a value (the version, the service): laid out as the rows that
// open something, and read as one line of text, no button.
RowLayout {
    id: row

    property string title
    property string value

    Layout.fillWidth: true
    // As tall as the rows that open something: a layout keeps no implicit height it is given.
    Layout.minimumHeight: 44
    spacing: 10
    Accessible.role: Accessible.StaticText
    Accessible.name: row.title + " " + row.value

    Text {
        Layout.fillWidth: true
        text: row.title
        elide: Text.ElideRight
        font.pixelSize: Typography.body
        color: Theme.ink
    }
    Text {
        text: row.value
        font.pixelSize: Typography.body
        color: Theme.muted
    }
}
