import QtQuick
import QtQuick.Layouts
import Vorna.App

// A page whose screen is not in the app yet: it names itself, and what it was opened with.
Page {
    id: placeholder

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property string name
    property string detail
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
            symbol: "doc.text"
        }
        Text {
            Layout.fillWidth: true
            visible: placeholder.detail.length > 0
            text: placeholder.detail
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
    }
}
