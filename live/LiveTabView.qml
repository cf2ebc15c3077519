pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Live

// The Live page: the header with the summary, the failure notice, the connect card while the member's
// Infinite Flight account is not linked, and while it is the fleet and applications boards with the
// authorisation card. Cards lead to the aircraft page and, for reviewers, to the review, on the Live tab's
// stack.
Rectangle {
    id: view

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    readonly property LiveTabModel model: live

    objectName: "live.native"
    color: Theme.paper

    LiveTabModel {
        id: live

        appState: view.appState
        // Its board's age is watched while the Live tab shows, this page or one opened above it.
        tabShown: view.parent?.visible ?? false
        onAuthorizationChanged: live.authorizing ? authorizationSheet.open() : authorizationSheet.close()
    }
    // The page loads each time it comes on screen, back from an aircraft or a review too, and on F5 and
    // Ctrl+R as on its refresh button.
    PageRefresh {
        page: view
        onAppeared: live.refresh()
        onRefresh: live.refresh()
    }

    Sheet {
        id: authorizationSheet

        page: authorizationPage
        title: L.t("Infinite Flight 授权")
        // Escape is the sheet's cancel too.
        onClosed: live.cancelAuthorization()
    }
    Component {
        id: authorizationPage

        ColumnLayout {
            spacing: 14

            SheetHeader {
                Layout.fillWidth: true
                Layout.margins: 18
                Layout.bottomMargin: 0
                title: authorizationSheet.title
                onCancel: live.cancelAuthorization()
            }
            // By address, not by type: the web engine loads when the vendor's sign-in first opens, not with
            // the Live page.
            Loader {
                id: entry

                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.margins: 18
                Layout.topMargin: 0
                Component.onCompleted: entry.setSource(Qt.resolvedUrl("LiveAuthorizationEntry.qml"), {
                    address: live.authorizationUrl,
                    appState: view.appState,
                    liveTab: live
                })
            }
        }
    }

    AlertDialog {
        title: L.t("断开 Infinite Flight？")
        message: L.t("断开后需要重新授权才能查看机队和申请排班。")
        shown: live.confirmDisconnect
        defaultButton: keepButton
        onClosed: live.confirmDisconnect = false

        BorderedButton {
            objectName: "live.disconnect.confirm"
            prominent: true
            destructive: true
            text: L.t("断开")
            onClicked: {
                live.confirmDisconnect = false;
                live.confirmDisconnection();
            }
        }
        BorderedButton {
            id: keepButton

            text: L.t("取消")
            onClicked: live.confirmDisconnect = false
        }
    }

    ColumnLayout {
        id: frame

        readonly property bool regular: ViewRules.isRegular(Window.width)

        anchors.fill: parent
        spacing: 0

        // The page's bar: its title, the fleet search and the refresh, over the page's own column
        // however wide the window is.
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: Math.min(frame.width, ViewRules.pageMaximumWidth(frame.regular)) - 2 * ViewRules.pageHorizontalPadding(frame.regular)
            Layout.topMargin: 12
            Layout.bottomMargin: 4
            spacing: 12

            Text {
                text: "Live"
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Item {
                Layout.fillWidth: true
            }
            FormField {
                objectName: "live.search"
                Layout.preferredWidth: 260
                Layout.minimumWidth: 120
                Layout.fillWidth: true
                Layout.maximumWidth: 260
                placeholderText: L.t("注册号、机型或涂装")
                text: live.search
                onTextEdited: live.search = text
            }
            GlassButton {
                objectName: "live.refresh"
                symbol: "arrow.clockwise"
                busy: live.busy
                Accessible.name: L.t("刷新")
                ToolTip.visible: hovered
                ToolTip.text: L.t("刷新")
                onClicked: live.refresh()
            }
        }

        Page {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 16

            // Header: the brand line with the linked account's picture, the title, the summary.
            ColumnLayout {
                Layout.fillWidth: true
                Layout.topMargin: 6
                Layout.bottomMargin: 6
                spacing: 12

                RowLayout {
                    Layout.fillWidth: true
                    Layout.preferredHeight: 32

                    Text {
                        Layout.fillWidth: true
                        text: "VORNA Live"
                        font.pixelSize: Typography.subheadline
                        font.weight: Font.DemiBold
                        color: Theme.accent
                    }
                    AvatarPicture {
                        objectName: "live.avatar"
                        visible: live.hasAvatar
                        implicitWidth: 32
                        implicitHeight: 32
                        image: live.avatar
                        Accessible.role: Accessible.Graphic
                        Accessible.name: L.t("IFC 头像")

                        Rectangle {
                            anchors.fill: parent
                            radius: width / 2
                            color: "transparent"
                            border.width: 1
                            border.color: Theme.line
                        }
                    }
                }
                Text {
                    Layout.fillWidth: true
                    text: L.t("机队与排班")
                    maximumLineCount: 1
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: Math.round(28 * 0.65)
                    font.pixelSize: 28
                    font.weight: Font.Bold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: live.summary
                    wrapMode: Text.Wrap
                    font.pixelSize: Typography.subheadline
                    color: Theme.muted
                }
            }

            ErrorNotice {
                objectName: "live.message"
                visible: live.message.length > 0
                message: live.message
                alert: true
                failures: live.failures
                retryable: true
                onRetry: live.refresh()
            }

            LiveConnectCard {
                objectName: "live.connectCard"
                visible: live.showsConnectCard
                enabled: !live.busy
                onConnect: live.startConnect()
            }

            BrandLoader {
                Layout.fillWidth: true
                objectName: "live.loader"
                visible: live.showsLoader
                size: 72
                caption: L.t("正在读取机队")
                tile: true
            }

            SegmentedPicker {
                Layout.fillWidth: true
                visible: live.showsBoards
                objectName: "live.tabs"
                Accessible.name: "Live"
                options: live.tabs
                current: live.tab
                onChosen: value => live.tab = value
            }

            LiveFleetBoard {
                objectName: "live.fleet"
                visible: live.showsBoards && live.tab === LiveTabModel.Fleet
                liveTab: live
                onOpen: card => view.navigation.openLiveAircraft(card.id, live)
            }

            // "live.applications" is its tab's segment.
            LiveApplicationsBoard {
                objectName: "live.applicationsBoard"
                visible: live.showsBoards && live.tab === LiveTabModel.Applications
                liveTab: live
                onOpen: id => view.navigation.openLiveReview(id, live)
            }

            LiveAuthorizationCard {
                Layout.topMargin: 8
                objectName: "live.authorization"
                visible: live.showsBoards
                enabled: !live.busy
                onReconnect: live.startConnect()
                onDisconnect: live.confirmDisconnect = true
            }
        }
    }
}
