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

        // The page's name heads it, larger than the line below.
        Row {
            spacing: 8
            Accessible.role: Accessible.Heading
            Accessible.name: placeholder.name

            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: placeholder.symbol
                size: Typography.title3 + 4
                color: Theme.accent
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: placeholder.name
                font.pixelSize: Typography.title3
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.ignored: true
            }
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
