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

    required property AppState appState
    required property MemberData memberData
    // A page opened on a stack offers the way back.
    property bool showsBack: false
    readonly property LeaderboardModel model: leaderboard
    signal back

    LeaderboardModel {
        id: leaderboard

        memberData: view.memberData
        client: view.appState.api
        username: view.appState.username
        Component.onCompleted: appear()
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
                Accessible.role: Accessible.Heading
            }
        }

        Segmented {
            Layout.fillWidth: true
            objectName: "rank.board"
            Accessible.name: L.t("排行榜")
            options: [L.t("成员"), L.t("机队"), L.t("机场"), L.t("管理员")]
            current: leaderboard.board
            onChosen: index => leaderboard.board = index
        }
        FilterRow {
            title: L.t("时间范围")

            Segmented {
                Layout.fillWidth: true
                objectName: "rank.period"
                Accessible.name: L.t("时间范围")
                options: [L.t("全部"), L.t("最近 30 天")]
                current: leaderboard.period
                onChosen: index => leaderboard.period = index
            }
        }
        FilterRow {
            visible: leaderboard.showsMetric
            title: L.t("排序依据")

            Segmented {
                Layout.fillWidth: true
                objectName: "rank.metric"
                Accessible.name: L.t("排序依据")
                options: [L.t("飞行时长"), L.t("降落次数")]
                current: leaderboard.metric
                onChosen: index => leaderboard.metric = index
            }
        }
        Text {
            Layout.fillWidth: true
            text: leaderboard.note
            wrapMode: Text.Wrap
            font.pixelSize: Typography.caption
            color: Theme.muted
        }

        ErrorNotice {
            visible: message.length > 0
            message: leaderboard.failure
            retryable: true
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
        Card {
            visible: leaderboard.showsEmpty
            padding: 18
            spacing: 12

            Symbol {
                Layout.alignment: Qt.AlignHCenter
                name: leaderboard.emptySymbol
                size: 40
                color: Theme.muted
            }
            Text {
                Layout.fillWidth: true
                text: leaderboard.emptyTitle
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.title3
                font.weight: Font.Bold
                color: Theme.ink
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: leaderboard.emptyDescription
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
        }

        // Members, airports and reviewers: one card of ranked rows, a rule between them past the badges.
        Card {
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
                        Accessible.role: Accessible.ListItem
                        Accessible.name: ViewRules.combined([String(entry.rank), entry.title, entry.caption, entry.trailing])

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
                                Text {
                                    Layout.fillWidth: true
                                    visible: text.length > 0
                                    text: entry.caption
                                    elide: Text.ElideRight
                                    font.pixelSize: Typography.caption
                                    font.family: leaderboard.board === LeaderboardModel.Airports ? "monospace" : Qt.application.font.family
                                    color: Theme.muted
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

    // A picker's title, never cut, and the picker beside it in the rest of the width.
    component FilterRow: RowLayout {
        id: filter

        property string title

        Layout.fillWidth: true
        spacing: 10

        Text {
            text: filter.title
            font.pixelSize: Typography.caption
            font.weight: Font.DemiBold
            color: Theme.muted
        }
    }

    // A segmented picker: one button per option, the chosen one raised; Tab reaches each, Space or Return
    // chooses it.
    component Segmented: Rectangle {
        id: segmented

        property list<string> options
        property int current
        signal chosen(int index)

        implicitWidth: segments.implicitWidth + 4
        implicitHeight: segments.implicitHeight + 4
        radius: 9
        color: Theme.sunken
        Accessible.role: Accessible.PageTabList

        RowLayout {
            id: segments

            anchors.fill: parent
            anchors.margins: 2
            spacing: 2

            Repeater {
                model: segmented.options

                delegate: ItemDelegate {
                    id: segment

                    required property string modelData
                    required property int index
                    readonly property bool selected: segmented.current === segment.index

                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    focusPolicy: Qt.StrongFocus
                    padding: 6
                    leftPadding: 12
                    rightPadding: 12
                    Accessible.role: Accessible.PageTab
                    Accessible.name: segment.modelData
                    Accessible.selected: segment.selected
                    onClicked: segmented.chosen(segment.index)

                    background: Rectangle {
                        radius: 7
                        color: segment.selected ? Theme.surface : (segment.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent")
                        border.color: segment.selected ? Theme.line : "transparent"

                        FocusRing {
                            control: segment
                            spread: 1
                            radius: parent.radius + spread
                        }
                    }
                    contentItem: Text {
                        text: segment.modelData
                        horizontalAlignment: Text.AlignHCenter
                        elide: Text.ElideRight
                        font.pixelSize: Typography.subheadline
                        font.weight: segment.selected ? Font.DemiBold : Font.Normal
                        color: Theme.ink
                    }
                }
            }
        }
    }
}
