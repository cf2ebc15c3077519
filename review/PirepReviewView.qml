pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Review

// The review of one report of the staff's queue, on the home tab's stack: the report, the service's checks,
// the evidence, the decision, the release of a hold, the multiplier, the history and, for developers, the
// deletion. Every action asks first; after a success the page closes and the queue, shown again, reloads.
Rectangle {
    id: view
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("审核详情")

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    required property pageRoute route
    readonly property PirepReviewModel model: reviewModel

    // The way back.
    function close() {
        view.navigation.pop(view.route.stack);
    }

    color: Theme.paper
    Component.onCompleted: {
        reviewModel.openRoute(view.navigation, view.route);
        reviewModel.appear();
    }

    PirepReviewModel {
        id: reviewModel

        appState: view.appState
        onClosed: view.close()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Page {
            id: page

            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 12

            RowLayout {
                Layout.fillWidth: true
                spacing: 12

                GlassButton {
                    id: backButton

                    objectName: "admin.review.back"
                    text: L.t("返回")
                    symbol: "chevron.left"
                    onClicked: view.close()
                }
                Text {
                    Layout.fillWidth: true
                    text: L.t("审核详情")
                    elide: Text.ElideRight
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
            }

            // The report.
            FormHeader {
                title: reviewModel.applicantHeader
                symbol: "person.fill"
            }
            Card {
                enabled: !reviewModel.busy
                spacing: 14

                RowLayout {
                    Layout.fillWidth: true

                    Text {
                        Layout.fillWidth: true
                        text: reviewModel.applicant
                        elide: Text.ElideRight
                        font.pixelSize: Typography.headline
                        font.weight: Font.DemiBold
                        color: Theme.ink
                    }
                    StatusPill {
                        statusTitle: reviewModel.statusTitle
                        verdictColor: reviewModel.verdict
                    }
                }
                RouteLine {
                    Layout.fillWidth: true
                    from: reviewModel.from
                    to: reviewModel.to
                    tint: Theme.accent
                    size: 24
                    reservesNames: true
                    labelColor: Theme.muted
                }
                Text {
                    Layout.fillWidth: true
                    text: reviewModel.equipment
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.subheadline
                    color: Theme.muted
                }
                InfoGrid {
                    Layout.fillWidth: true
                    items: [flightTime, counted]
                    tileHeight: 58
                    lines: 1
                    cornerRadius: 18
                    labelColor: Theme.muted
                }
                RowLayout {
                    Layout.fillWidth: true

                    Text {
                        Layout.fillWidth: true
                        text: L.t("降落次数")
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }
                    Text {
                        text: reviewModel.landingsText
                        font.pixelSize: Typography.body
                        color: Theme.muted
                    }
                }
                Text {
                    Layout.fillWidth: true
                    objectName: "admin.review.submitNote"
                    visible: reviewModel.showsSubmitNote
                    text: reviewModel.submitNote
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.body
                    color: Theme.ink
                }
                RowLayout {
                    Layout.fillWidth: true
                    objectName: "admin.review.holdNote"
                    visible: reviewModel.showsHoldNote
                    spacing: 6

                    Symbol {
                        Layout.alignment: Qt.AlignTop
                        name: "questionmark.circle"
                        color: Theme.accent
                    }
                    Text {
                        Layout.fillWidth: true
                        text: reviewModel.holdNote
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }
                }
                Text {
                    Layout.fillWidth: true
                    objectName: "admin.review.rejection"
                    visible: reviewModel.showsRejectionReason
                    text: reviewModel.rejectionReason
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.body
                    color: Theme.rejected
                }
            }

            // The service's checks.
            FormHeader {
                title: L.t("系统核对")
                symbol: "checkmark.shield"
            }
            Card {
                objectName: "admin.review.checks"
                spacing: 10

                // A verdict or the caption alone on its line; a callsign as a labelled row, its title leading
                // and its value trailing, as the landings above.
                Repeater {
                    model: reviewModel.checkLines

                    delegate: Item {
                        id: checkLine

                        required property var modelData
                        readonly property bool labelled: checkLine.modelData.label.length > 0

                        Layout.fillWidth: true
                        implicitHeight: checkLine.labelled ? pair.implicitHeight : verdict.implicitHeight
                        Accessible.role: Accessible.StaticText
                        Accessible.name: checkLine.modelData.spoken

                        LabelledValue {
                            id: pair

                            width: checkLine.width
                            visible: checkLine.labelled
                            title: checkLine.modelData.label
                            value: checkLine.modelData.text
                        }
                        Text {
                            id: verdict

                            width: checkLine.width
                            visible: !checkLine.labelled
                            text: checkLine.modelData.text
                            wrapMode: Text.Wrap
                            // Tones: plain, good, bad, neutral, caption.
                            font.pixelSize: checkLine.modelData.tone === 4 ? Typography.caption : Typography.body
                            color: [Theme.ink, Theme.approved, Theme.rejected, Theme.muted, Theme.muted][checkLine.modelData.tone]
                            Accessible.ignored: true
                        }
                    }
                }
                RowLayout {
                    visible: reviewModel.checking
                    spacing: 8

                    InlineLoader {}
                    Text {
                        text: L.t("正在核对呼号")
                        font.pixelSize: Typography.body
                        color: Theme.muted
                    }
                }
                // In the secondary style, as the checks' own lines; its "重试" is the member's, and each
                // failure of it is presented anew, in view and with the keyboard, also with the same text.
                FailureText {
                    Layout.fillWidth: true
                    objectName: "admin.review.checks.error"
                    text: reviewModel.checkError
                    failures: reviewModel.checkFailures
                    color: Theme.muted
                }
                BorderedButton {
                    objectName: "admin.review.checks.retry"
                    visible: reviewModel.checkError !== ""
                    text: L.t("重试")
                    onClicked: reviewModel.retryChecks()
                }
                Text {
                    Layout.fillWidth: true
                    objectName: "admin.review.noChecks"
                    visible: reviewModel.showsNoChecks
                    text: L.t("没有可用的系统核对记录")
                    font.pixelSize: Typography.body
                    color: Theme.muted
                }
            }

            // The member's evidence.
            FormHeader {
                visible: reviewModel.evidence.length > 0
                title: L.t("成员提交的截图")
                symbol: "photo.stack"
            }
            Card {
                objectName: "admin.review.evidence"
                visible: reviewModel.evidence.length > 0
                spacing: 10

                Repeater {
                    model: reviewModel.evidence

                    delegate: AuthenticatedImage {
                        required property string modelData
                        required property int index

                        Layout.fillWidth: true
                        client: view.appState.api
                        path: modelData
                        number: index + 1
                    }
                }
            }

            // The decision.
            FormHeader {
                title: reviewModel.decisionTitle
                symbol: "checkmark.seal"
            }
            Card {
                enabled: !reviewModel.busy
                spacing: 12

                SegmentedPicker {
                    objectName: "admin.review.decision"
                    Layout.fillWidth: true
                    options: reviewModel.decisionOptions
                    current: reviewModel.decisionIndex
                    Accessible.name: L.t("结果")
                    onChosen: value => reviewModel.decisionIndex = value
                }
                NoteField {
                    objectName: "admin.review.inquiry"
                    Layout.fillWidth: true
                    visible: reviewModel.decision === "inquiry"
                    placeholderText: L.t("请成员补充的内容")
                    minimumLines: 2
                    maximumLines: 6
                    maximumLength: reviewModel.textLimit
                    text: reviewModel.note
                    onEdited: text => reviewModel.note = text
                }
                NoteField {
                    objectName: "admin.review.reason"
                    Layout.fillWidth: true
                    visible: reviewModel.decision === "rejected"
                    placeholderText: L.t("拒绝原因（必填）")
                    minimumLines: 3
                    maximumLines: 8
                    maximumLength: reviewModel.textLimit
                    text: reviewModel.reason
                    onEdited: text => reviewModel.reason = text
                }
            }

            // The release of a hold.
            Card {
                visible: reviewModel.held
                enabled: !reviewModel.busy

                BorderedButton {
                    objectName: "admin.review.release"
                    text: L.t("撤回问询")
                    onClicked: reviewModel.ask("release")
                }
            }

            // The multiplier.
            FormHeader {
                title: L.t("时长倍数")
                symbol: "multiply.circle"
            }
            Card {
                enabled: !reviewModel.busy
                spacing: 12

                PickerRow {
                    objectName: "admin.review.percent"
                    Layout.fillWidth: true
                    title: L.t("倍数")
                    options: reviewModel.multiplierOptions
                    current: reviewModel.multiplierIndex
                    onChosen: value => reviewModel.multiplierIndex = value
                }
                BorderedButton {
                    objectName: "admin.review.multiplier"
                    text: L.t("保存倍数")
                    onClicked: reviewModel.ask("multiplier")
                }
            }

            // The history.
            FormHeader {
                visible: reviewModel.historyRows.length > 0
                title: L.t("操作历史")
                symbol: "clock.arrow.circlepath"
            }
            Card {
                objectName: "admin.review.history"
                visible: reviewModel.historyRows.length > 0
                spacing: 14

                Repeater {
                    model: reviewModel.historyRows

                    delegate: ColumnLayout {
                        id: step

                        required property var modelData

                        Layout.fillWidth: true
                        spacing: 6

                        Text {
                            Layout.fillWidth: true
                            text: step.modelData.title
                            wrapMode: Text.Wrap
                            font.pixelSize: Typography.headline
                            font.weight: Font.DemiBold
                            color: Theme.ink
                        }
                        Repeater {
                            model: step.modelData.lines

                            delegate: Text {
                                required property string modelData

                                Layout.fillWidth: true
                                text: modelData
                                wrapMode: Text.Wrap
                                font.pixelSize: Typography.body
                                color: Theme.ink
                            }
                        }
                        Text {
                            text: step.modelData.time
                            font.pixelSize: Typography.caption
                            color: Theme.muted
                        }
                    }
                }
            }

            // The deletion, for developers only.
            Card {
                visible: reviewModel.showsDelete
                enabled: !reviewModel.busy

                BorderedButton {
                    objectName: "admin.review.delete"
                    destructive: true
                    text: L.t("永久删除这份 PIREP")
                    onClicked: reviewModel.ask("delete")
                }
            }

            ErrorNotice {
                id: errorNotice

                objectName: "admin.review.error"
                visible: reviewModel.error !== ""
                message: reviewModel.error
                // An action that failed: at the end of the page, brought into view with the keyboard.
                alert: true
                failures: reviewModel.failures
            }

            // What says the action is on its way while the form is off: it comes into view as it shows.
            BrandLoader {
                id: saving

                objectName: "admin.review.saving"
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignHCenter
                visible: reviewModel.busy
                size: 72
                caption: L.t("正在保存")
                tile: true
                onVisibleChanged: {
                    if (saving.visible)
                        page.reveal(saving);
                }
            }
        }

        // The save bar, outside the scrolling form.
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: saveButton.implicitHeight + 20
            color: Theme.surface
            border.color: Theme.line

            GlassButton {
                id: saveButton

                objectName: "admin.review.save"
                anchors.fill: parent
                anchors.leftMargin: 16
                anchors.rightMargin: 16
                anchors.topMargin: 10
                anchors.bottomMargin: 10
                prominent: true
                tint: reviewModel.saveApproves ? Theme.accent : Theme.rejected
                symbol: reviewModel.saveSymbol
                text: L.t("确认审核结果")
                font.pixelSize: Typography.headline
                topPadding: 12
                bottomPadding: 12
                enabled: reviewModel.canSave || reviewModel.busy
                busy: reviewModel.busy
                onClicked: reviewModel.save()
            }
        }
    }

    InfoItem {
        id: flightTime

        title: L.t("飞行时长")
        value: reviewModel.flightTimeText
    }
    InfoItem {
        id: counted

        title: L.t("计入时长")
        value: reviewModel.countedText
    }

    AlertDialog {
        id: confirm

        shown: reviewModel.confirming
        title: reviewModel.confirmTitle
        message: reviewModel.confirmMessage
        // Return never deletes: for a deletion it is the cancel button's.
        defaultButton: reviewModel.confirmDestroys ? cancelButton : confirmButton
        onClosed: reviewModel.confirming = false

        BorderedButton {
            id: confirmButton

            objectName: "admin.review.confirm"
            prominent: true
            destructive: reviewModel.confirmDestroys
            text: reviewModel.confirmButton
            onClicked: {
                reviewModel.confirming = false;
                reviewModel.confirm();
            }
        }
        BorderedButton {
            id: cancelButton

            text: L.t("取消")
            onClicked: reviewModel.confirming = false
        }
    }
}
