import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images
import Vorna.Community

// The leaderboard: the board, period and metric pickers, the board's footnote, its failure, and the ranked
// rows of the shown answer.
Item {
    id: view
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("排行榜")

    required property AppState appState
    required property MemberData memberData
    // Handed in by the page stacks, like every page's; where the page stands on them when a stack made it.
    property MemberNavigation navigation
    property pageRoute route
    // A page opened on a stack offers the way back, which pops it.
    property bool showsBack: view.route.page !== ShellPage.NoPage
    readonly property LeaderboardModel model: leaderboard
    signal back

    onBack: view.navigation?.leave(view.route)

    LeaderboardModel {
        id: leaderboard

        memberData: view.memberData
        client: view.appState.api
        username: view.appState.username
    }
    PageRefresh {
        page: view
        onAppeared: leaderboard.appear()
        onRefresh: leaderboard.retry()
    }

    Page {
        id: page

        anchors.fill: parent
        spacing: 14

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            GlassButton {
                visible: view.showsBack
                text: L.t("返回")
                symbol: "chevron.left"
                onClicked: view.back()
            }
            Text {
                Layout.fillWidth: true
                text: L.t("排行榜")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                objectName: "rank.heading"
                // Qt 6.4 leaves a heading's name empty unless it is given.
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            IconButton {
                objectName: "rank.refresh"
                symbol: "arrow.clockwise"
                text: L.t("刷新")
                onClicked: leaderboard.retry()
            }
        }

        SegmentedPicker {
            Layout.fillWidth: true
            objectName: "rank.board"
            Accessible.name: L.t("排行榜")
            options: leaderboard.boards
            current: leaderboard.board
            onChosen: value => leaderboard.board = value
        }
        FilterRow {
            title: L.t("时间范围")

            SegmentedPicker {
                Layout.fillWidth: true
                objectName: "rank.period"
                Accessible.name: L.t("时间范围")
                options: leaderboard.periods
                current: leaderboard.period
                onChosen: value => leaderboard.period = value
            }
        }
        FilterRow {
            visible: leaderboard.showsMetric
            title: L.t("排序依据")

            SegmentedPicker {
                Layout.fillWidth: true
                objectName: "rank.metric"
                Accessible.name: L.t("排序依据")
                options: leaderboard.metrics
                current: leaderboard.metric
                onChosen: value => leaderboard.metric = value
            }
        }
        Text {
            Layout.fillWidth: true
            text: leaderboard.note
            wrapMode: Text.Wrap
            font.pixelSize: Typography.caption
            color: Theme.muted
        }

        // Its "重试" is the member's: each failure of it is presented anew, also with the text of the last.
        ErrorNotice {
            objectName: "rank.error"
            visible: message.length > 0
            message: leaderboard.failure
            retryable: true
            alert: true
            failures: leaderboard.failures
            onRetry: leaderboard.retry()
        }

        BrandLoader {
            Layout.fillWidth: true
            visible: leaderboard.showsLoader
            size: 72
            caption: L.t("正在加载排行榜")
            tile: true
        }

        // Nothing on the board: what would stand here, and why it does not yet.
        EmptyState {
            visible: leaderboard.showsEmpty
            symbol: leaderboard.emptySymbol
            title: leaderboard.emptyTitle
            description: leaderboard.emptyDescription
        }

        // Members, airports and reviewers: one card of ranked rows, a rule between them past the badges.
        Card {
            objectName: "rank.list"
            visible: leaderboard.board !== LeaderboardModel.Fleet && leaderboard.count > 0
            padding: 6
            spacing: 0

            Repeater {
                id: ranked

                model: leaderboard.rows

                delegate: ColumnLayout {
                    id: entry

                    required property int index
                    required property int rank
                    required property color medal
                    required property string title
                    required property string caption
                    required property string flag
                    required property string trailing
                    required property bool highlighted

                    Layout.fillWidth: true
                    spacing: 0

                    Rectangle {
                        Layout.fillWidth: true
                        implicitHeight: row.implicitHeight + 20
                        radius: 14
                        color: entry.highlighted ? Qt.alpha(Theme.accent, 0.06) : "transparent"
                        objectName: entry.highlighted ? "rank.me" : ""
                        Accessible.role: Accessible.ListItem
                        // The member's own row says so, as its chip does.
                        Accessible.name: ViewRules.combined([String(entry.rank), entry.title, entry.caption, entry.trailing, entry.highlighted ? L.t("我") : ""])

                        RowLayout {
                            id: row

                            anchors.left: parent.left
                            anchors.right: parent.right
                            anchors.leftMargin: 12
                            anchors.rightMargin: 12
                            anchors.verticalCenter: parent.verticalCenter
                            spacing: 14

                            RankBadge {
                                rank: entry.rank
                                tint: entry.medal
                            }
                            ColumnLayout {
                                Layout.fillWidth: true
                                spacing: 3

                                RowLayout {
                                    Layout.fillWidth: true
                                    spacing: 6

                                    Text {
                                        visible: entry.flag.length > 0
                                        text: entry.flag
                                        font.pixelSize: Typography.headline
                                        Accessible.ignored: true
                                    }
                                    Text {
                                        Layout.fillWidth: true
                                        text: entry.title
                                        elide: Text.ElideRight
                                        font.pixelSize: Typography.headline
                                        font.weight: Font.DemiBold
                                        color: Theme.ink
                                    }
                                }
                                LeaderboardCaption {
                                    Layout.fillWidth: true
                                    visible: text.length > 0
                                    text: entry.caption
                                    codes: leaderboard.board === LeaderboardModel.Airports
                                }
                            }
                            Text {
                                visible: text.length > 0
                                text: entry.trailing
                                font.pixelSize: Typography.subheadline
                                font.weight: Font.DemiBold
                                color: Theme.ink
                            }
                            Chip {
                                visible: entry.highlighted
                                text: L.t("我")
                                tint: Theme.accent
                            }
                        }
                    }
                    Rectangle {
                        Layout.fillWidth: true
                        Layout.leftMargin: 62
                        visible: entry.index < ranked.count - 1
                        implicitHeight: 1
                        color: Theme.line
                    }
                }
            }
        }

        // The fleet: one card per aircraft and livery, in two columns where the window is wide.
        AdaptiveColumns {
            objectName: "rank.fleet"
            visible: leaderboard.board === LeaderboardModel.Fleet
            spacing: 16

            Repeater {
                model: leaderboard.board === LeaderboardModel.Fleet ? leaderboard.rows : null

                delegate: Card {
                    id: fleetCard

                    required property int rank
                    required property color medal
                    required property string aircraft
                    required property string livery
                    required property string duration
                    required property string landings

                    padding: 16
                    spacing: 8

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 10

                        RankBadge {
                            Layout.alignment: Qt.AlignTop
                            rank: fleetCard.rank
                            tint: fleetCard.medal
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            Layout.alignment: Qt.AlignTop
                            spacing: 2

                            Text {
                                Layout.fillWidth: true
                                text: fleetCard.aircraft
                                elide: Text.ElideRight
                                font.pixelSize: Typography.headline
                                font.weight: Font.DemiBold
                                color: Theme.ink
                            }
                            Text {
                                Layout.fillWidth: true
                                text: fleetCard.livery
                                elide: Text.ElideRight
                                font.pixelSize: Typography.subheadline
                                color: Theme.muted
                            }
                        }
                    }
                    AircraftPhoto {
                        Layout.fillWidth: true
                        aircraft: fleetCard.aircraft
                        livery: fleetCard.livery
                        nominalHeight: 110
                    }
                    InfoGrid {
                        cornerRadius: 14
                        labelColor: Theme.muted
                        items: [
                            InfoItem {
                                title: L.t("飞行时长")
                                value: fleetCard.duration
                            },
                            InfoItem {
                                title: L.t("降落次数")
                                value: fleetCard.landings
                            }
                        ]
                    }
                }
            }
        }
    }

    // The rank on a disc: gold, silver and bronze for the first three, a sunken grey for the rest.
    component RankBadge: Rectangle {
        id: badge

        property int rank
        property color tint

        implicitWidth: 34
        implicitHeight: 34
        radius: 17
        color: tint.valid ? tint : Theme.sunken

        Text {
            anchors.centerIn: parent
            width: parent.width - 4
            horizontalAlignment: Text.AlignHCenter
            text: String(badge.rank)
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 8
            font.pixelSize: Typography.subheadline
            font.weight: Font.Black
            color: badge.tint.valid ? Theme.white : Theme.muted
        }
    }
}
