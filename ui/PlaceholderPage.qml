import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A page whose screen is not in the app yet: it names itself in the member's words and says so.
Page {
    id: placeholder

    property string name
    property string symbol: "doc.text"
    // A page opened on a stack offers the way back.
    property bool showsBack: false
    signal back

    GlassButton {
        visible: placeholder.showsBack
        text: L.t("返回")
        symbol: "chevron.left"
        onClicked: placeholder.back()
    }

    Card {
        padding: 24
        spacing: 10

        FormHeader {
            title: placeholder.name
            symbol: placeholder.symbol
        }
        Text {
            Layout.fillWidth: true
            text: L.t("这一页即将加入成员中心。")
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
    }
}
