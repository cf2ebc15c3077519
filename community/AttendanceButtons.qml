pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Community

// The member's three answers to an event, the selected one prominent; under them the last failure to save.
ColumnLayout {
    id: buttons

    required property MemberData memberData
    property flightEvent event
    // The event page's buttons are large.
    property bool large: false

    spacing: 8

    AttendanceButtonsModel {
        id: attendance

        memberData: buttons.memberData
        event: buttons.event
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        Repeater {
            model: attendance.titles

            GlassButton {
                required property int index
                required property string modelData

                Layout.fillWidth: true
                Layout.preferredWidth: 1
                topPadding: buttons.large ? 11 : 7
                bottomPadding: buttons.large ? 11 : 7
                text: modelData
                shrinks: true
                prominent: attendance.selected === index
                // Once the event has started all three are off and drawn so, the member's own answer faded
                // in its tint as the others are in theirs.
                enabled: !attendance.locked
                checkable: false
                Accessible.name: modelData
                Accessible.role: Accessible.Button
                Accessible.checkable: true
                Accessible.checked: attendance.selected === index
                onClicked: attendance.choose(index)
            }
        }
    }

    ErrorNotice {
        objectName: "attendance.error"
        visible: attendance.error.length > 0
        message: attendance.error
        alert: true
        failures: attendance.failures
    }
}
