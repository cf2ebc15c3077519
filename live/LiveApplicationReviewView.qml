import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images
import Vorna.State
import Vorna.Live

// A reviewer's screen for one schedule application: the application, then the decision (pending) or the
// verification (in processing), a confirmation, and the outcome. After one submission the screen stays
// locked on its outcome; the Live page it was opened from reloads.
Rectangle {
    id: view

    required property AppState appState
    required property liveApplication item
    // The Live page that reloads after the review; none where the screen stands alone.
    property LiveTabModel opener
    readonly property LiveApplicationReviewModel model: reviewModel
    // The way back.
    signal close

    color: Theme.paper
    // What a screen reader says as the page takes the keyboard, as the shell opens it.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("排班审核")

    LiveApplicationReviewModel {
        id: reviewModel

        appState: view.appState
        item: view.item
        opener: view.opener
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Page {
            id: page

            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 14

            RowLayout {
                Layout.fillWidth: true
                spacing: 12

                GlassButton {
                    id: backButton

                    objectName: "live.review.back"
                    text: L.t("返回")
                    symbol: "chevron.left"
                    onClicked: view.close()
                }
                Text {
                    Layout.fillWidth: true
                    text: L.t("排班审核")
                    elide: Text.ElideRight
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
            }

            // The application, as its card on the Live page shows it.
            LiveApplicationCard {
                Layout.fillWidth: true
                item: reviewModel.card
            }
            Card {
                visible: reviewModel.applicant !== "" || reviewModel.organization !== ""
                padding: 14
                spacing: 10

                Repeater {
                    model: [
                        {
                            title: L.t("申请人"),
                            value: reviewModel.applicant
                        },
                        {
                            title: L.t("组织"),
                            value: reviewModel.organization
                        }
                    ]

                    delegate: RowLayout {
                        id: row

                        required property var modelData

                        Layout.fillWidth: true
                        visible: row.modelData.value !== ""
                        Accessible.role: Accessible.StaticText
                        Accessible.name: ViewRules.combined([row.modelData.title, row.modelData.value])

                        Text {
                            text: row.modelData.title
                            font.pixelSize: Typography.body
                            color: Theme.ink
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.modelData.value
                            textFormat: Text.PlainText
                            horizontalAlignment: Text.AlignRight
                            elide: Text.ElideRight
                            font.pixelSize: Typography.body
                            color: Theme.muted
                        }
                    }
                }
            }

            // A pending application: approve, or reject with a reason.
            FormSection {
                visible: reviewModel.mode === LiveApplicationReviewModel.Decision
                title: L.t("审核结果")

                SegmentedPicker {
                    objectName: "live.review.decision"
                    Layout.fillWidth: true
                    options: reviewModel.decisionOptions
                    current: reviewModel.decisionIndex
                    Accessible.name: L.t("结果")
                    onChosen: value => reviewModel.decisionIndex = value
                }
                NoteField {
                    objectName: "live.review.reason"
                    Layout.fillWidth: true
                    visible: reviewModel.asksReason
                    placeholderText: L.t("拒绝原因（必填）")
                    maximumLength: reviewModel.reasonLimit
                    text: reviewModel.reason
                    onEdited: text => reviewModel.reason = text
                }
                Text {
                    Layout.fillWidth: true
                    text: L.t("批准后会创建官方排班，并指派申请人为机长。")
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.footnote
                    color: Theme.muted
                }
            }

            // An application in processing: what the reviewer found in the official schedules.
            FormSection {
                visible: reviewModel.mode === LiveApplicationReviewModel.Verification
                title: L.t("人工核查")

                Text {
                    Layout.fillWidth: true
                    text: L.t("请先核对 Infinite Flight 官方排班和机组，不要重复创建。处理中未满十分钟时暂不能核查。")
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.body
                    color: Theme.ink
                }
                PickerRow {
                    objectName: "live.review.outcome"
                    Layout.fillWidth: true
                    title: L.t("核查结果")
                    options: reviewModel.outcomeOptions
                    current: reviewModel.outcomeIndex
                    onChosen: value => reviewModel.outcomeIndex = value
                }
                FormField {
                    objectName: "live.review.scheduleId"
                    Layout.fillWidth: true
                    visible: reviewModel.outcome === "created"
                    placeholderText: L.t("官方排班 ID")
                    text: reviewModel.scheduleId
                    inputMethodHints: Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
                    onTextEdited: reviewModel.scheduleId = text
                }
                NoteField {
                    objectName: "live.review.note"
                    Layout.fillWidth: true
                    visible: reviewModel.asksReason
                    placeholderText: L.t("核查说明（必填）")
                    maximumLength: reviewModel.reasonLimit
                    text: reviewModel.reason
                    onEdited: text => reviewModel.reason = text
                }
                ToggleSwitch {
                    Layout.fillWidth: true
                    objectName: "live.review.checked"
                    text: L.t("已核对官方排班和机组")
                    checked: reviewModel.checked
                    onToggled: reviewModel.checked = checked
                }
            }

            // The outcome, saved or not, as plain text in a section of its own. Each is presented as it
            // comes, in view and with the keyboard, so a screen reader reads it at once. The saved outcome is
            // said once, as the text that takes the keyboard: an alert taking the keyboard too is said twice.
            FormSection {
                visible: reviewModel.message !== ""

                FailureText {
                    objectName: "live.review.saved"
                    Layout.fillWidth: true
                    text: reviewModel.saved ? reviewModel.message : ""
                    failures: reviewModel.saved ? 1 : 0
                    font.pixelSize: Typography.subheadline
                    color: Theme.ink
                    Accessible.role: Accessible.StaticText
                }
                FailureText {
                    objectName: "live.review.message"
                    Layout.fillWidth: true
                    text: reviewModel.saved ? "" : reviewModel.message
                    failures: reviewModel.failures
                    font.pixelSize: Typography.subheadline
                    color: Theme.ink
                }
            }
        }

        // The save bar, outside the scrolling form; none for an application that can only be shown.
        Rectangle {
            Layout.fillWidth: true
            visible: reviewModel.mode !== LiveApplicationReviewModel.ReadOnly
            implicitHeight: saveButton.implicitHeight + 24
            color: Theme.surface
            border.color: Theme.line

            GlassButton {
                id: saveButton

                objectName: "live.review.save"
                anchors.fill: parent
                anchors.margins: 12
                prominent: true
                text: reviewModel.mode === LiveApplicationReviewModel.Verification ? L.t("保存核查结果") : L.t("确认审核结果")
                font.pixelSize: Typography.headline
                topPadding: 8
                bottomPadding: 8
                enabled: reviewModel.valid || reviewModel.busy
                busy: reviewModel.busy
                onClicked: reviewModel.ask()
            }
        }
    }

    AlertDialog {
        shown: reviewModel.confirming
        title: L.t("确认保存？")
        message: reviewModel.confirmMessage
        defaultButton: confirmButton
        onClosed: reviewModel.confirming = false

        BorderedButton {
            id: confirmButton

            objectName: "live.review.confirm"
            prominent: true
            text: L.t("确认")
            onClicked: reviewModel.confirm()
        }
        BorderedButton {
            text: L.t("取消")
            onClicked: reviewModel.confirming = false
        }
    }
}
