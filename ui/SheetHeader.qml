import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The top bar of a sheet: its title, and "取消" that closes it without a choice.
RowLayout {
    id: header

    property string title
    signal cancel

    spacing: 12

    Text {
        Layout.fillWidth: true
        text: header.title
        elide: Text.ElideRight
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        Accessible.role: Accessible.Heading
        Accessible.name: header.title
    }
    GlassButton {
        objectName: "sheet.cancel"
        text: L.t("取消")
        Accessible.name: L.t("取消")
        onClicked: header.cancel()
    }
}
