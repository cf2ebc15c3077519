import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State

// The flights tab's first page: the member's reports, and "+" that starts a new one.
Page {
    id: landing

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    // "+": the shell pushes the empty report form (the navigation has no such request of its own yet).
    signal startReport

    spacing: 14

    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        Text {
            Layout.fillWidth: true
            text: "PIREP"
            elide: Text.ElideRight
            font.pixelSize: Typography.title2
            font.weight: Font.Bold
            color: Theme.ink
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        GlassButton {
            objectName: "pirep.new"
            symbol: "plus"
            Accessible.name: L.t("新建 PIREP")
            onClicked: landing.startReport()
        }
    }

    // The list of the member's reports takes this place.
    Card {
        padding: 24
        spacing: 10

        FormHeader {
            title: L.t("我的飞行报告")
            symbol: "doc.text"
        }
        Text {
            Layout.fillWidth: true
            text: L.t("你提交的报告与审核进度即将在这里列出。")
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
    }
}
