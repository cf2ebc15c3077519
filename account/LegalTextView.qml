import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Account

// A legal text from "app-legal.json", in the language picked on the page (the app's at first).
Page {
    id: page
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: legal.pageTitle

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property pageRoute route
    // 0: terms of use, 1: privacy statement.
    property int document: page.navigation.legalDocumentAt(page.route)

    objectName: "account.legal"

    LegalTextModel {
        id: legal

        document: page.document
    }

    BackButton {
        visible: page.route.stack !== NavigationStack.NoStack
        onClicked: page.navigation.pop(page.route.stack)
    }
    Text {
        text: legal.pageTitle
        font.pixelSize: Typography.headline
        font.weight: Font.DemiBold
        color: Theme.ink
        Accessible.role: Accessible.Heading
    }

    SegmentedPicker {
        Layout.fillWidth: true
        objectName: "legal.language"
        Accessible.name: L.t("语言")
        options: legal.languages
        current: legal.language
        onChosen: value => legal.language = value
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: legal.found
        spacing: 16

        Text {
            Layout.fillWidth: true
            text: legal.title
            wrapMode: Text.Wrap
            font.pixelSize: Typography.title2
            font.weight: Font.Bold
            color: Theme.ink
        }
        Text {
            Layout.fillWidth: true
            text: legal.intro
            wrapMode: Text.Wrap
            font.pixelSize: Typography.footnote
            color: Theme.muted
        }
        Repeater {
            model: legal.sections

            delegate: Card {
                id: section

                required property var modelData

                padding: 18
                spacing: 8

                Text {
                    Layout.fillWidth: true
                    text: section.modelData.title
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                }
                TextEdit {
                    Layout.fillWidth: true
                    text: section.modelData.body
                    readOnly: true
                    selectByMouse: true
                    wrapMode: TextEdit.Wrap
                    font.pixelSize: Typography.subheadline
                    color: Theme.ink
                    selectionColor: Qt.alpha(Theme.accent, 0.3)
                    selectedTextColor: Theme.ink
                }
            }
        }
    }

    ErrorNotice {
        visible: !legal.found
        message: legal.unavailableMessage
    }
}
