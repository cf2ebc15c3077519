pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Flights

// The new-report form: import row, route, aircraft and livery, flight record, multipliers, note and
// screenshots, the error, and the submit bar pinned at the bottom.
Rectangle {
    id: view
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("新建 PIREP")
    // While the report is on its way the page, which then has the keyboard, says so.
    Accessible.description: form.sending ? form.submitTitle : ""

    required property AppState appState
    required property MemberData memberData
    property MemberNavigation navigation
    // Where the page stands on the member's stacks when a stack made it: it shows that route's report, event
    // or flight, or an empty form, and its way back pops it.
    property pageRoute route
    readonly property PirepFormModel model: form
    // While a conversion or the upload runs the page keeps its place on its stack: its outcome, and what the
    // member typed, stay on screen.
    readonly property bool pageBusy: form.busy
    // While the report is on its way, quitting asks first.
    readonly property bool pageSending: form.sending
    // The page leaves its stack: the success alert's "完成", or the way back.
    signal close

    color: Theme.paper
    // Each answer of the multiplier check comes into view; the keyboard stays on the check's button.
    readonly property int optionsAnswers: form.optionsAnswers
    onOptionsAnswersChanged: page.reveal(optionsAnswer)
    // While the report is on its way every control of the page is off and the page holds the keyboard: Tab
    // keeps it there, saying again that it sends, rather than leaving the page for the sidebar. Once the answer
    // has come its outcome takes the keyboard.
    Keys.onTabPressed: event => event.accepted = form.sending
    Keys.onBacktabPressed: event => event.accepted = form.sending
    // Without a route its owner prefills it: an empty route would empty the form.
    Component.onCompleted: {
        if (view.route.page !== ShellPage.NoPage)
            form.openRoute(view.navigation, view.route);
    }
    onClose: view.navigation?.leave(view.route)

    PirepFormModel {
        id: form

        client: view.appState.api
        memberData: view.memberData
        appState: view.appState
    }

    Page {
        id: page

        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: bar.top
        spacing: 14
        // While a conversion or the upload runs nothing of the form reacts.
        enabled: !form.busy

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                objectName: "pirep.back"
                text: L.t("返回")
                symbol: "chevron.left"
                onClicked: view.close()
            }
            Text {
                Layout.fillWidth: true
                text: L.t("新建 PIREP")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }

        // The form came back after a sign-in: what the member typed before their session ended.
        Text {
            Layout.fillWidth: true
            objectName: "pirep.restored"
            visible: form.restored
            text: L.t("登录过期前填写的内容已保留，请检查后再提交。")
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.accent
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        // Import row: fills the form from one of the member's recent simulator flights.
        ItemDelegate {
            id: importRow

            Layout.fillWidth: true
            objectName: "pirep.import"
            focusPolicy: Qt.StrongFocus
            padding: 14
            Accessible.name: L.t("使用 IF 飞行记录")
            Accessible.description: L.t("选一次最近飞行，自动填写报告")
            onClicked: importSheet.open()

            background: Rectangle {
                radius: 16
                color: importRow.hovered ? Qt.alpha(Theme.ink, 0.04) : Theme.surface
                border.color: Theme.line

                FocusRing {
                    control: importRow
                    radius: 18
                }
            }
            contentItem: RowLayout {
                spacing: 12

                Rectangle {
                    Layout.preferredWidth: 42
                    Layout.preferredHeight: 42
                    radius: 14
                    color: Qt.alpha(Theme.accent, 0.1)

                    Symbol {
                        anchors.centerIn: parent
                        name: "clock.arrow.circlepath"
                        size: Typography.title3
                        color: Theme.accent
                    }
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 4

                    Text {
                        text: L.t("使用 IF 飞行记录")
                        font.pixelSize: Typography.headline
                        font.weight: Font.DemiBold
                        color: Theme.ink
                    }
                    Text {
                        Layout.fillWidth: true
                        text: L.t("选一次最近飞行，自动填写报告")
                        elide: Text.ElideRight
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                }
                Symbol {
                    name: "chevron.right"
                    size: Typography.caption
                    color: Theme.muted
                }
            }
        }

        FormSection {
            title: L.t("航线")
            symbol: "point.topleft.down.to.point.bottomright.curvepath"

            RouteLine {
                Layout.fillWidth: true
                Layout.topMargin: 6
                Layout.bottomMargin: 6
                from: form.routeFrom
                to: form.routeTo
                caption: form.multiplierCaption
                size: 28
                labelColor: Theme.muted
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 16

                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 6

                    Text {
                        text: L.t("出发机场")
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                    FormField {
                        Layout.fillWidth: true
                        objectName: "pirep.departure"
                        placeholderText: "ICAO"
                        Accessible.name: L.t("出发机场")
                        text: form.departure
                        inputMethodHints: Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
                        onTextEdited: form.departure = text
                    }
                }
                Rectangle {
                    Layout.preferredWidth: 1
                    Layout.fillHeight: true
                    color: Theme.line
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 6

                    Text {
                        text: L.t("到达机场")
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                    FormField {
                        Layout.fillWidth: true
                        objectName: "pirep.arrival"
                        placeholderText: "ICAO"
                        Accessible.name: L.t("到达机场")
                        text: form.arrival
                        inputMethodHints: Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
                        onTextEdited: form.arrival = text
                    }
                }
            }
            FormField {
                Layout.fillWidth: true
                objectName: "pirep.callsign"
                placeholderText: L.t("本次飞行呼号")
                maximumLength: 40
                text: form.callsign
                inputMethodHints: Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
                onTextEdited: form.callsign = text
            }
        }

        FormSection {
            title: L.t("飞机与涂装")
            symbol: "airplane"

            RowLayout {
                Layout.fillWidth: true
                spacing: 8

                FormField {
                    Layout.fillWidth: true
                    objectName: "pirep.aircraft"
                    placeholderText: L.t("机型")
                    text: form.aircraft
                    onTextEdited: form.aircraft = text
                }
                ListButton {
                    objectName: "pirep.pickAircraft"
                    Accessible.name: L.t("从机型清单选择")
                    onClicked: aircraftSheet.open()
                }
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 8

                FormField {
                    Layout.fillWidth: true
                    objectName: "pirep.livery"
                    placeholderText: L.t("涂装")
                    text: form.livery
                    onTextEdited: form.livery = text
                }
                ListButton {
                    objectName: "pirep.pickLivery"
                    Accessible.name: L.t("从涂装清单选择")
                    enabled: form.canPickLivery
                    onClicked: liverySheet.open()
                }
            }
            AircraftPhoto {
                Layout.fillWidth: true
                objectName: "pirep.aircraftPhoto"
                visible: form.showsAircraftPhoto
                aircraft: form.aircraft
                livery: form.livery
                nominalHeight: 170
            }
        }

        FormSection {
            title: L.t("飞行记录")
            symbol: "clock"

            RowLayout {
                Layout.fillWidth: true
                spacing: 8

                Text {
                    Layout.fillWidth: true
                    text: L.t("飞行时间")
                    font.pixelSize: Typography.body
                    color: Theme.ink
                }
                FormField {
                    Layout.preferredWidth: Math.max(64, placeholderWidth)
                    objectName: "pirep.hours"
                    placeholderText: L.t("小时")
                    horizontalAlignment: TextInput.AlignRight
                    inputMethodHints: Qt.ImhDigitsOnly
                    text: form.hours
                    onTextEdited: form.hours = text
                }
                Text {
                    text: L.t("时")
                    color: Theme.muted
                }
                FormField {
                    Layout.preferredWidth: Math.max(64, placeholderWidth)
                    objectName: "pirep.minutes"
                    placeholderText: L.t("分钟")
                    horizontalAlignment: TextInput.AlignRight
                    inputMethodHints: Qt.ImhDigitsOnly
                    text: form.minutes
                    onTextEdited: form.minutes = text
                }
                Text {
                    text: L.t("分")
                    color: Theme.muted
                }
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 8

                Text {
                    Layout.fillWidth: true
                    text: L.t("降落次数")
                    font.pixelSize: Typography.body
                    color: Theme.ink
                }
                FormField {
                    Layout.preferredWidth: 80
                    objectName: "pirep.landings"
                    placeholderText: "1–99"
                    Accessible.name: L.t("降落次数")
                    horizontalAlignment: TextInput.AlignRight
                    inputMethodHints: Qt.ImhDigitsOnly
                    text: form.landings
                    onTextEdited: form.landings = text
                }
            }
        }

        FormSection {
            title: L.t("申请时长倍数")
            symbol: "multiply.circle"
            footer: L.t("两项同时满足时为 ×1.875。最终以提交时服务端校验及管理员审核为准。更改机场后请重新检查。")

            ToggleSwitch {
                objectName: "pirep.organizationMultiplier"
                Layout.fillWidth: true
                text: L.t("组织倍数 ×1.25")
                checked: form.organizationMultiplier
                onToggled: form.organizationMultiplier = checked
            }
            ToggleSwitch {
                objectName: "pirep.eventMultiplier"
                Layout.fillWidth: true
                text: L.t("活动倍数 ×1.5")
                checked: form.eventMultiplier
                onToggled: form.eventMultiplier = checked
            }
            BorderedButton {
                objectName: "pirep.checkOptions"
                text: L.t("检查可用倍数")
                symbol: "checkmark.shield"
                busy: form.checkingOptions
                working: form.checkingOptions
                onClicked: form.checkOptions()
            }
            // The check's answer, brought into view above the submit bar as it comes.
            ColumnLayout {
                id: optionsAnswer

                Layout.fillWidth: true
                objectName: "pirep.optionsAnswer"
                visible: form.hasOptions || form.optionsError.length > 0
                spacing: 10

                OptionLine {
                    objectName: "pirep.organizationOption"
                    visible: form.hasOptions
                    available: form.organizationAvailable
                    text: form.organizationText
                }
                OptionLine {
                    objectName: "pirep.eventOption"
                    visible: form.hasOptions
                    available: form.eventAvailable
                    text: form.eventText
                }
                Text {
                    Layout.fillWidth: true
                    objectName: "pirep.optionsError"
                    visible: form.optionsError.length > 0
                    text: form.optionsError
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.caption
                    color: Theme.rejected
                }
            }
        }

        FormSection {
            title: form.noteTitle
            symbol: "text.bubble"
            footer: L.t("连续提交相同航线且官方日志无法核实时，备注与截图均为必填。最多 6 张，每张不超过 2 MB。")

            NoteField {
                Layout.fillWidth: true
                objectName: "pirep.note"
                placeholderText: L.t("补充说明，最多 500 字")
                minimumLines: 3
                maximumLines: 7
                maximumLength: form.noteLimit
                text: form.note
                onEdited: text => form.note = text
            }
            BorderedButton {
                id: photosButton

                objectName: "pirep.photos"
                text: L.t("选择飞行截图")
                symbol: "photo.on.rectangle"
                // Up to the report's limit, with those picked before.
                onClicked: photoDialog.pick(form.photoLimit - form.fileCount)
            }
            RowLayout {
                objectName: "pirep.proofRequired"
                visible: form.requiresProof
                spacing: 6

                Symbol {
                    name: "exclamationmark.circle.fill"
                    color: Theme.rejected
                }
                Text {
                    text: L.t("本次必须填写备注并附上截图")
                    font.pixelSize: Typography.subheadline
                    color: Theme.rejected
                }
            }
            PhotoThumbnails {
                Layout.fillWidth: true
                files: form.files
                thumbnail: 150
                picker: photosButton
                onRemove: index => form.removeFile(index)
            }
        }

        // The error stands at the end of the form. It is the outcome of what the member just did: each time,
        // the page scrolls to it and it takes the keyboard, heard as an alert (once the form takes keys again
        // when it came while the report was on its way).
        ErrorNotice {
            objectName: "pirep.error"
            visible: form.error.length > 0
            message: form.error
            alert: true
            failures: form.failures
        }
    }

    // The submit bar, pinned under the form.
    Rectangle {
        id: bar

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: barColumn.implicitHeight + 20
        color: Theme.surface

        Rectangle {
            anchors.top: parent.top
            width: parent.width
            height: 1
            color: Theme.line
        }
        ColumnLayout {
            id: barColumn

            anchors.left: parent.left
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            anchors.leftMargin: 16
            anchors.rightMargin: 16
            spacing: 6

            GlassButton {
                id: submitButton

                Layout.fillWidth: true
                Layout.maximumWidth: 640
                Layout.alignment: Qt.AlignHCenter
                objectName: "pirep.submit"
                prominent: true
                topPadding: 12
                bottomPadding: 12
                font.pixelSize: Typography.headline
                text: form.submitTitle
                loading: form.submitting
                busy: form.submitting
                Accessible.name: text
                enabled: form.canSubmit || form.submitting
                onClicked: confirm.shown = true
            }
            Text {
                Layout.fillWidth: true
                objectName: "pirep.validation"
                visible: form.validationMessage.length > 0
                text: form.validationMessage
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
        }
    }

    // The check's answer shows as its two lines (or its failure in red); a screen reader is told it as it
    // comes, the keyboard staying on the check's button.
    Announcement {
        objectName: "pirep.optionsChecked"
        message: form.optionsOutcome
        count: form.optionsAnswers
    }

    PhotoDialog {
        id: photoDialog

        objectName: "pirep.photoDialog"
        heading: L.t("选择飞行截图")
        several: true
        filters: form.photoFilters
        onPicked: files => form.pickPhotos(files)
    }

    Sheet {
        id: importSheet

        page: importPage
    }
    Component {
        id: importPage

        PirepImportPicker {
            client: view.appState.api
            onCancel: importSheet.close()
            onChose: row => {
                form.takeImportedFlight(model, row);
                importSheet.close();
            }
        }
    }
    Sheet {
        id: aircraftSheet

        page: aircraftPage
    }
    Component {
        id: aircraftPage

        CatalogPicker {
            client: view.appState.api
            kind: CatalogPickerModel.Aircraft
            aircraft: form.aircraft
            onCancel: aircraftSheet.close()
            onChose: name => {
                form.chooseAircraft(name);
                aircraftSheet.close();
            }
        }
    }
    Sheet {
        id: liverySheet

        page: liveryPage
    }
    Component {
        id: liveryPage

        CatalogPicker {
            client: view.appState.api
            kind: CatalogPickerModel.Livery
            aircraft: form.aircraft
            onCancel: liverySheet.close()
            onChose: name => {
                form.chooseLivery(name);
                liverySheet.close();
            }
        }
    }

    AlertDialog {
        id: confirm

        title: L.t("上传飞行报告")
        message: form.confirmMessage
        defaultButton: uploadButton
        onClosed: confirm.shown = false

        BorderedButton {
            id: uploadButton

            objectName: "pirep.confirmUpload"
            prominent: true
            text: L.t("上传")
            onClicked: {
                confirm.shown = false;
                form.submit();
            }
        }
        BorderedButton {
            text: L.t("取消")
            onClicked: confirm.shown = false
        }
    }
    AlertDialog {
        id: done

        shown: form.success
        title: L.t("已提交，等待审核")
        message: form.successMessage
        defaultButton: doneButton
        onClosed: view.close()

        BorderedButton {
            id: doneButton

            objectName: "pirep.done"
            prominent: true
            text: L.t("完成")
            onClicked: done.close()
        }
    }
}
