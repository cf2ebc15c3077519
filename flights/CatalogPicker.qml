pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Flights

// A searchable list of aircraft or livery names; a choice is handed back and the sheet closes.
FocusScope {
    id: picker

    required property APIClient client
    property int kind: CatalogPickerModel.Aircraft
    property string aircraft
    readonly property CatalogPickerModel model: names
    readonly property string title: names.title
    signal chose(string name)
    signal cancel

    Rectangle {
        anchors.fill: parent
        color: Theme.paper
    }

    CatalogPickerModel {
        id: names

        client: picker.client
        kind: picker.kind
        aircraft: picker.aircraft
        Component.onCompleted: load()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 18
        spacing: 12

        SheetHeader {
            Layout.fillWidth: true
            title: names.title
            onCancel: picker.cancel()
        }
        FormField {
            id: search

            Layout.fillWidth: true
            objectName: "catalog.search"
            placeholderText: L.t("搜索")
            text: names.query
            focus: true
            onTextEdited: names.query = text
            Keys.onDownPressed: rowKeys.enter()
        }
        BrandLoader {
            Layout.alignment: Qt.AlignHCenter
            visible: names.loading
            size: 72
            caption: L.t("读取清单")
            tile: true
        }
        ErrorNotice {
            visible: names.error.length > 0
            message: names.error
            retryable: true
            onRetry: names.load()
        }
        Text {
            Layout.fillWidth: true
            visible: names.showsNote
            text: L.t("未找到匹配清单，可以返回后直接输入。")
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
        // The arrows move the current row with its ring; Return takes the row that has it.
        ListKeys {
            id: rowKeys

            view: list
        }
        ListView {
            id: list

            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: names.rows
            keyNavigationEnabled: true
            boundsBehavior: Flickable.StopAtBounds

            delegate: ItemDelegate {
                id: row

                required property string modelData

                width: ListView.view.width
                focusPolicy: Qt.StrongFocus
                text: row.modelData
                Accessible.name: row.modelData
                // Qt 6.4 gives a press from a screen reader nothing to do unless it is handled.
                Accessible.onPressAction: row.clicked()
                onClicked: picker.chose(row.modelData)

                background: Rectangle {
                    radius: 8
                    color: row.visualFocus ? Qt.alpha(Theme.accent, 0.12) : (row.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent")

                    // Inside the row: the list clips what stands outside it.
                    FocusRing {
                        control: row
                        spread: 0
                        radius: parent.radius
                    }
                }
                contentItem: Text {
                    text: row.modelData
                    elide: Text.ElideRight
                    font.pixelSize: Typography.body
                    color: Theme.ink
                }
            }
        }
    }
}
