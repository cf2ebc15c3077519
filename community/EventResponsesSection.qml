pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Community

// For staff: every member's answer to the event, one group per answer, loaded when shown.
DetailSection {
    id: section

    required property AppState appState
    property string eventId

    title: L.t("成员意向")
    symbol: "person.3"
    tint: Theme.accent
    // Loads once it shows: a page whose user is no staff never asks.
    Component.onCompleted: if (section.visible)
        responses.appear()
    onVisibleChanged: if (section.visible)
        responses.appear()

    EventResponsesModel {
        id: responses

        appState: section.appState
        eventId: section.eventId
    }

    Repeater {
        model: responses.hasList ? responses.groups : null

        ColumnLayout {
            id: group

            required property string answer
            required property string heading
            required property string names

            Layout.fillWidth: true
            spacing: 4
            objectName: "event.responses." + answer
            Accessible.role: Accessible.Grouping
            Accessible.name: heading + "\n" + names

            Text {
                Layout.fillWidth: true
                text: group.heading
                font.pixelSize: Typography.subheadline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.ignored: true
            }
            TextEdit {
                Layout.fillWidth: true
                text: group.names
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.muted
                selectionColor: Theme.accent
                Accessible.ignored: true
            }
        }
    }

    BrandLoader {
        Layout.alignment: Qt.AlignHCenter
        visible: !responses.hasList && responses.error.length === 0
        size: 72
        caption: L.t("正在加载")
        tile: true
    }

    ErrorNotice {
        objectName: "event.responses.error"
        visible: !responses.hasList && responses.error.length > 0
        message: responses.error
        retryable: true
        alert: true
        failures: responses.failures
        onRetry: responses.retry()
    }
}
