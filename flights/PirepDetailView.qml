pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Flights

// The page of one report: the header card with its facts, the review result, the member's note, the
// administrator's inquiry while it is held, the evidence pictures and the upload of more.
Rectangle {
    id: view
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("报告详情")
    // While the pictures are on their way the page, which then has the keyboard, says so.
    Accessible.description: detail.sending ? L.t("正在处理") : ""

    required property AppState appState
    required property MemberData memberData
    property MemberNavigation navigation
    // Where the page stands on the member's stacks when a stack made it: it shows that route's report, and its
    // way back pops it.
    property pageRoute route
    // Without a route, its owner hands it the report (PirepDetailModel::setPirep) before the page shows.
    readonly property PirepDetailModel model: detail
    // While pictures convert or upload the page keeps its place on its stack, so the outcome shows with the
    // pictures the member picked.
    readonly property bool pageBusy: detail.busy
    // While the pictures are on their way, quitting asks first.
    readonly property bool pageSending: detail.sending
    // The way back.
    signal close

    color: Theme.paper
    Component.onCompleted: {
        detail.openRoute(view.navigation, view.route);
        detail.appear();
    }
    onClose: view.navigation?.leave(view.route)

    PirepDetailModel {
        id: detail

        appState: view.appState
        memberData: view.memberData
    }

    Page {
        id: page

        anchors.fill: parent
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                objectName: "pirep.detail.back"
                text: L.t("返回")
                symbol: "chevron.left"
                onClicked: view.close()
            }
            Text {
                Layout.fillWidth: true
                text: L.t("报告详情")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            GlassButton {
                objectName: "pirep.detail.refresh"
                symbol: "arrow.clockwise"
                Accessible.name: L.t("刷新")
                onClicked: detail.refresh()
            }
        }

        Card {
            padding: 18
            spacing: 14

            StatusPill {
                statusTitle: detail.statusTitle
                verdictColor: detail.verdict
            }
            RouteLine {
                objectName: "pirep.detail.route"
                Layout.fillWidth: true
                from: detail.from
                to: detail.to
                caption: detail.durationText
                tint: Theme.roleColors[detail.verdict]
                size: 32
                labelColor: Theme.muted
            }
            AircraftPhoto {
                Layout.fillWidth: true
                aircraft: detail.aircraft
                livery: detail.livery
                nominalHeight: 190
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2

                Text {
                    Layout.fillWidth: true
                    text: detail.aircraft
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                }
                Text {
                    Layout.fillWidth: true
                    text: detail.livery
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.subheadline
                    color: Theme.muted
                }
            }
            InfoGrid {
                Layout.fillWidth: true
                items: detail.showsCounted ? [flightTime, factor, counted, landings, submitted]
                                           : [flightTime, factor, landings, submitted]
                lines: 1
                cornerRadius: 14
                labelColor: Theme.muted
            }
        }

        DetailSection {
            objectName: "pirep.detail.review"
            visible: detail.showsReview
            title: L.t("审核结果")
            symbol: detail.reviewSymbol
            tint: Theme.roleColors[detail.verdict]

            InfoGrid {
                Layout.fillWidth: true
                items: [reviewer, reviewed]
                lines: 1
                cornerRadius: 14
                labelColor: Theme.muted
            }
            Text {
                Layout.fillWidth: true
                objectName: "pirep.detail.reason"
                visible: detail.reason.length > 0
                text: detail.reason
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                font.weight: Font.DemiBold
                color: Theme.rejected
            }
        }

        DetailSection {
            objectName: "pirep.detail.note"
            visible: detail.note.length > 0
            title: L.t("我的补充说明")
            symbol: "text.bubble"

            Text {
                Layout.fillWidth: true
                text: detail.note
                wrapMode: Text.Wrap
                font.pixelSize: Typography.body
                color: Theme.ink
            }
        }

        DetailSection {
            objectName: "pirep.detail.inquiry"
            visible: detail.showsInquiry
            title: L.t("管理员问询")
            symbol: "questionmark.bubble.fill"

            Text {
                Layout.fillWidth: true
                text: detail.inquirer
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
            Text {
                Layout.fillWidth: true
                text: detail.inquiry
                wrapMode: Text.Wrap
                font.pixelSize: Typography.body
                color: Theme.ink
            }
        }

        DetailSection {
            objectName: "pirep.detail.evidence"
            visible: detail.evidenceCount > 0
            title: L.t("已上传截图")
            symbol: "photo.stack"

            Repeater {
                model: detail.evidence

                AuthenticatedImage {
                    required property int index

                    Layout.fillWidth: true
                    client: view.appState.api
                    number: index + 1
                }
            }
        }

        DetailSection {
            objectName: "pirep.detail.evidenceUpload"
            visible: detail.showsUpload
            title: L.t("补充飞行证据")
            symbol: "square.and.arrow.up"

            BorderedButton {
                id: pickButton

                Layout.fillWidth: true
                objectName: "pirep.detail.pick"
                large: true
                text: L.t("选择补充截图")
                symbol: "photo.on.rectangle.angled"
                enabled: detail.canPick
                onClicked: photoDialog.pick(detail.pickLimit)
            }
            PhotoThumbnails {
                Layout.fillWidth: true
                files: detail.files
                thumbnail: 150
                picker: pickButton
                onRemove: index => detail.removeFile(index)
            }
            // What the pick left out: heard as its outcome, with nothing to retry.
            ErrorNotice {
                Layout.fillWidth: true
                objectName: "pirep.detail.leftOut"
                visible: detail.notice.length > 0
                message: detail.notice
                alert: true
                symbolName: "info.circle"
                tint: Theme.accent
            }
            Text {
                Layout.fillWidth: true
                text: detail.limitsText
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption
                color: Theme.muted
            }
            BorderedButton {
                Layout.fillWidth: true
                objectName: "pirep.detail.upload"
                prominent: true
                large: true
                text: detail.uploadText
                enabled: detail.canUpload || detail.uploading
                busy: detail.uploading
                onClicked: detail.upload()
            }
        }

        // A failed pick or upload (or "重试"): heard as an alert, in view with the keyboard on it, so the member
        // sees what happened wherever the page was scrolled. Pictures that would not load as the page opened
        // show here quietly.
        ErrorNotice {
            Layout.fillWidth: true
            objectName: "pirep.detail.error"
            visible: detail.error.length > 0
            message: detail.error
            alert: true
            failures: detail.failures
            retryable: true
            onRetry: detail.showEvidence()
        }
        // What says the page works while the buttons above are off: it comes into view as it shows.
        BrandLoader {
            id: working

            objectName: "pirep.detail.working"
            Layout.alignment: Qt.AlignHCenter
            visible: detail.busy
            size: 72
            caption: L.t("正在处理")
            tile: true
            onVisibleChanged: {
                if (working.visible)
                    page.reveal(working);
            }
        }
    }

    InfoItem {
        id: flightTime

        title: L.t("实际飞行时间")
        value: detail.flightTimeText
    }
    InfoItem {
        id: factor

        title: L.t("倍数")
        value: detail.factorText
    }
    InfoItem {
        id: counted

        title: L.t("计入时长")
        value: detail.countedText
    }
    InfoItem {
        id: landings

        title: L.t("降落次数")
        value: detail.landingsText
    }
    InfoItem {
        id: submitted

        title: L.t("提交时间")
        value: detail.submittedText
    }
    InfoItem {
        id: reviewer

        title: L.t("审核人")
        value: detail.reviewerText
    }
    InfoItem {
        id: reviewed

        title: L.t("审核时间")
        value: detail.reviewedText
    }

    PhotoDialog {
        id: photoDialog

        objectName: "pirep.detail.photoDialog"
        heading: L.t("选择补充截图")
        several: true
        filters: detail.photoFilters
        onPicked: files => detail.pickPhotos(files)
    }

    AlertDialog {
        shown: detail.success
        title: L.t("截图已上传")
        defaultButton: okButton
        onClosed: detail.dismissSuccess()

        BorderedButton {
            id: okButton

            objectName: "pirep.detail.uploaded"
            prominent: true
            text: L.t("好")
            onClicked: detail.dismissSuccess()
        }
    }
}
