pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Live

// The page of one fleet aircraft: its picture, status and pilot, its live flight, the members' button to
// apply for it, and its official schedules. It loads nothing: the Live page hands it the item.
Rectangle {
    id: view

    required property AppState appState
    required property liveFleetItem item
    readonly property LiveAircraftPageModel model: pageModel
    readonly property LiveApplicationFormModel form: formModel
    readonly property list<color> tints: [Theme.approved, Theme.ink, Theme.muted, Theme.slateText]
    // The way back.
    signal close
    // An application was sent from this page, or may have been: the Live page reloads.
    signal submitted

    // Opens the application form for this aircraft.
    function apply() {
        applySheet.open();
    }

    color: Theme.paper

    LiveAircraftPageModel {
        id: pageModel

        appState: view.appState
        item: view.item
        onSubmitted: view.submitted()
    }

    // The application form's state outlives its sheet: a submission still running when the sheet closes
    // still tells this page.
    LiveApplicationFormModel {
        id: formModel

        appState: view.appState
        item: view.item
        onSubmitted: pageModel.formSubmitted()
    }

    Page {
        id: page

        anchors.fill: parent
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                objectName: "live.aircraft.back"
                text: L.t("返回")
                symbol: "chevron.left"
                onClicked: view.close()
            }
            Text {
                Layout.fillWidth: true
                text: pageModel.registration
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }

        // The aircraft.
        Card {
            spacing: 12

            AircraftPhoto {
                Layout.fillWidth: true
                aircraft: pageModel.photoAircraft
                livery: pageModel.photoLivery
                nominalHeight: 150
                quiet: true
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 10

                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                    spacing: 3

                    Text {
                        Layout.fillWidth: true
                        text: pageModel.registration
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        font.pixelSize: Typography.title2
                        font.weight: Font.Black
                        color: Theme.ink
                    }
                    Text {
                        Layout.fillWidth: true
                        text: pageModel.typeText
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.subheadline
                        color: Theme.muted
                    }
                }
                Chip {
                    Layout.alignment: Qt.AlignTop
                    text: pageModel.statusText
                    symbol: pageModel.activitySymbol
                    tint: view.tints[pageModel.activityTint]
                }
            }
            // The pilot: the live flight's, or the one before and how long ago.
            RowLayout {
                Layout.fillWidth: true
                visible: pageModel.pilotName !== ""
                spacing: 5
                Accessible.role: Accessible.StaticText
                Accessible.name: pageModel.pilotPrefix + pageModel.pilotName + pageModel.pilotAgo

                Symbol {
                    name: pageModel.pilotIsCurrent ? "person.fill" : "clock.arrow.circlepath"
                    size: Typography.caption + 2
                    color: pageModel.pilotIsCurrent ? Theme.approved : Theme.muted
                }
                // Names are shown as plain text, never as markup; the seen-ago text brings its own separator.
                Row {
                    Layout.fillWidth: true

                    Text {
                        text: pageModel.pilotPrefix
                        font.pixelSize: Typography.caption
                        color: pageModel.pilotIsCurrent ? Theme.approved : Theme.muted
                    }
                    Text {
                        text: pageModel.pilotName
                        textFormat: Text.PlainText
                        font.pixelSize: Typography.caption
                        font.weight: Font.Bold
                        color: pageModel.pilotIsCurrent ? Theme.approved : Theme.muted
                    }
                    Text {
                        text: pageModel.pilotAgo
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                }
            }
        }

        // The live flight.
        SectionHeading {
            visible: pageModel.flying
            title: L.t("正在飞行")
        }
        Card {
            visible: pageModel.flying
            spacing: 12

            RouteLine {
                Layout.fillWidth: true
                from: pageModel.flightFrom
                to: pageModel.flightTo
                caption: pageModel.flightPhase
                tint: view.tints[pageModel.activityTint]
                size: 24
                labelColor: Theme.muted
            }
            InfoGrid {
                Layout.fillWidth: true
                items: [callsignTile, serverTile, altitudeTile, speedTile]
                labelColor: Theme.muted
            }
        }

        // Members apply for the aircraft; staff do not.
        ColumnLayout {
            Layout.fillWidth: true
            objectName: "live.aircraft.applying"
            visible: pageModel.canApply
            spacing: 8

            GlassButton {
                objectName: "live.aircraft.apply"
                Layout.fillWidth: true
                prominent: !pageModel.sent
                enabled: !pageModel.sent
                text: pageModel.applyText
                symbol: pageModel.applySymbol
                font.pixelSize: Typography.headline
                topPadding: 12
                bottomPadding: 12
                onClicked: view.apply()
            }
            // Once sent, a muted footnote under the button, heard as an alert. As the sheet goes (its count comes
            // to one) it takes the keyboard from the button, which is off now, and stands in view under it;
            // beneath the open sheet a reader hears nothing of it.
            FailureText {
                id: sentNote

                objectName: "live.aircraft.sent"
                Layout.fillWidth: true
                text: pageModel.sent ? L.t("申请已提交，等待管理员审核。") : ""
                failures: pageModel.sent && !applySheet.visible ? 1 : 0
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: Typography.footnote
                color: Theme.muted
            }
        }

        // The official schedules.
        SectionHeading {
            title: L.t("排班")
            subtitle: pageModel.schedulesSubtitle
        }
        EmptyState {
            Layout.fillWidth: true
            visible: pageModel.schedules.length === 0
            symbol: "calendar"
            title: L.t("暂无排班")
            description: L.t("申请批准后会在这里看到官方排班。")
        }
        AdaptiveColumns {
            Repeater {
                model: pageModel.schedules

                delegate: LiveScheduleCard {
                    required property var modelData

                    schedule: modelData
                }
            }
        }
    }

    InfoItem {
        id: callsignTile

        title: L.t("呼号")
        value: pageModel.callsignText
    }
    InfoItem {
        id: serverTile

        title: L.t("服务器")
        value: pageModel.serverText
    }
    InfoItem {
        id: altitudeTile

        title: L.t("高度")
        value: pageModel.altitudeText
    }
    InfoItem {
        id: speedTile

        title: L.t("地速")
        value: pageModel.speedText
    }

    Sheet {
        id: applySheet

        page: applyPage
        onAboutToShow: formModel.reset()
    }
    Component {
        id: applyPage

        LiveApplicationForm {
            form: formModel
            onClose: applySheet.close()
        }
    }
}
