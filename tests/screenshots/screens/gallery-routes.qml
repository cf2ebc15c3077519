import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Images

// Route lines: with and without names, reserved names, progress, a long caption, narrow columns.
Page {
    spacing: 16

    SectionHeading {
        title: "航线"
        subtitle: "出发到到达，箭头或进度，机场名称在下方"
    }

    AdaptiveColumns {
        spacing: 14

        Card {
            padding: 18

            RouteLine {
                Layout.fillWidth: true
                from: "ZSPD"
                to: "RJTT"
                caption: "2 小时 5 分"
                tint: Theme.accent
            }
        }
        Card {
            padding: 18

            RouteLine {
                Layout.fillWidth: true
                from: "ZBAA"
                to: "VHHH"
                caption: "飞行中 · 62%"
                showsProgress: true
                progress: 0.62
            }
        }
        Card {
            padding: 18

            RouteLine {
                Layout.fillWidth: true
                from: "XXXX"
                to: "YYYY"
                caption: "名称尚未知道，但保留这一行"
                reservesNames: true
                tint: Theme.approved
            }
        }
        Card {
            padding: 18

            RouteLine {
                Layout.fillWidth: true
                from: "WSSS"
                to: "YSSY"
                size: 18
                tint: Theme.muted
                caption: "一段非常非常长的说明文字，先缩小到四分之三，然后截断成一行显示"
            }
        }
    }

    Card {
        padding: 18

        RouteLine {
            Layout.fillWidth: true
            from: "ZSSS"
            to: "ZGGG"
            size: 34
            caption: "大号 · 34"
        }
        RouteLine {
            Layout.fillWidth: true
            from: "OMDB"
            to: "LFPG"
            showsProgress: true
        }
    }

    RowLayout {
        spacing: 24

        Repeater {
            model: [4, 24, 60, 140]

            delegate: Column {
                required property int modelData

                spacing: 4

                RouteArrow {
                    width: modelData
                    height: 10
                    color: Theme.accent
                }
                Text {
                    text: modelData + " pt"
                    font.pixelSize: Typography.caption
                    color: Theme.muted
                }
            }
        }
    }
}
