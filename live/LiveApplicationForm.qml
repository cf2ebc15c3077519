import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Live

// The schedule application sheet for one aircraft: the route, no time or a time window, an optional briefing
// and flight plan, and the submit button. The form's state lives in its model, which outlives the sheet.
FocusScope {
    id: sheetPage

    required property LiveApplicationFormModel form
    readonly property string title: form.title

    objectName: "live.apply"
    // The sheet closes: by "取消" or after the application was taken.
    signal close

    // The sheet opens with the cursor in the departure code.
    Component.onCompleted: departureField.forceActiveFocus(Qt.OtherFocusReason)

    Connections {
        target: sheetPage.form

        function onDismissed() {
            sheetPage.close();
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        SheetHeader {
            Layout.fillWidth: true
            Layout.margins: 18
            Layout.bottomMargin: 6
            title: sheetPage.title
            onCancel: sheetPage.close()
        }

        Page {
            id: page

            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 14

            FormSection {
                title: L.t("航线（ICAO）")

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 12

                    FormField {
                        id: departureField

                        objectName: "live.departure"
                        Layout.fillWidth: true
                        placeholderText: L.t("出发")
                        text: sheetPage.form.departure
                        font.pixelSize: Typography.title3
                        font.weight: Font.Black
                        inputMethodHints: Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
                        enabled: !sheetPage.form.busy
                        onTextEdited: sheetPage.form.departure = text
                    }
                    Symbol {
                        name: "arrow.right"
                        color: Theme.muted
                        Accessible.ignored: true
                    }
                    FormField {
                        objectName: "live.arrival"
                        Layout.fillWidth: true
                        placeholderText: L.t("到达")
                        horizontalAlignment: TextInput.AlignRight
                        text: sheetPage.form.arrival
                        font.pixelSize: Typography.title3
                        font.weight: Font.Black
                        inputMethodHints: Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
                        enabled: !sheetPage.form.busy
                        onTextEdited: sheetPage.form.arrival = text
                    }
                }
            }

            FormSection {
                title: L.t("时间")

                ToggleSwitch {

                    Layout.fillWidth: true
                    objectName: "live.timeless"
                    text: L.t("不限时间")
                    checked: sheetPage.form.timeless
                    enabled: !sheetPage.form.busy
                    onToggled: sheetPage.form.timeless = checked
                }
                GridLayout {
                    Layout.fillWidth: true
                    objectName: "live.times"
                    visible: !sheetPage.form.timeless
                    columns: 2
                    columnSpacing: 12
                    rowSpacing: 10

                    Text {
                        text: L.t("计划起飞")
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }
                    FormField {
                        objectName: "live.departureTime"
                        Layout.fillWidth: true
                        Accessible.name: L.t("计划起飞")
                        text: sheetPage.form.departureText
                        inputMask: "9999-99-99 99:99"
                        enabled: !sheetPage.form.busy
                        onEditingFinished: sheetPage.form.departureText = text
                    }
                    Text {
                        text: L.t("计划到达")
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }
                    FormField {
                        objectName: "live.arrivalTime"
                        Layout.fillWidth: true
                        Accessible.name: L.t("计划到达")
                        text: sheetPage.form.arrivalText
                        inputMask: "9999-99-99 99:99"
                        enabled: !sheetPage.form.busy
                        onEditingFinished: sheetPage.form.arrivalText = text
                    }
                }
            }

            FormSection {
                title: L.t("可选")

                NoteField {
                    objectName: "live.briefing"
                    Layout.fillWidth: true
                    placeholderText: L.t("简报")
                    maximumLength: sheetPage.form.briefingLimit
                    text: sheetPage.form.briefing
                    enabled: !sheetPage.form.busy
                    onEdited: text => sheetPage.form.briefing = text
                }
                NoteField {
                    objectName: "live.flightPlan"
                    Layout.fillWidth: true
                    placeholderText: L.t("飞行计划")
                    maximumLength: sheetPage.form.flightPlanLimit
                    text: sheetPage.form.flightPlan
                    enabled: !sheetPage.form.busy
                    onEdited: text => sheetPage.form.flightPlan = text
                }
            }

            FormSection {
                footer: L.t("申请批准后才会创建官方排班，并指派你为机长。")

                // The form's own button: its title in bold across the whole row, in the accent while it can
                // be pressed; the loader in its place while the application is on its way.
                PressableStyle {
                    id: submitButton

                    objectName: "live.apply.submit"
                    Layout.fillWidth: true
                    cornerRadius: 8
                    focusPolicy: Qt.StrongFocus
                    enabled: sheetPage.form.valid || sheetPage.form.busy
                    busy: sheetPage.form.busy
                    Accessible.role: Accessible.Button
                    Accessible.name: L.t("提交申请")
                    onClicked: sheetPage.form.submit()

                    contentItem: Item {
                        implicitHeight: 36

                        Text {
                            anchors.centerIn: parent
                            visible: !sheetPage.form.busy
                            text: L.t("提交申请")
                            font.pixelSize: Typography.body
                            font.weight: Font.Bold
                            color: submitButton.enabled ? Theme.accent : Theme.muted
                        }
                        InlineLoader {
                            anchors.centerIn: parent
                            visible: sheetPage.form.busy
                        }
                    }
                }
            }

            // The last failure, in a section of its own, until the next answer replaces it.
            FormSection {
                visible: sheetPage.form.message !== ""

                FailureText {
                    Layout.fillWidth: true
                    objectName: "live.apply.message"
                    text: sheetPage.form.message
                    failures: sheetPage.form.failures
                }
            }
        }
    }
}
