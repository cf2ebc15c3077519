import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Metrics, info grids, rows, avatars, dates, columns and progress bars with sample values.
Page {
    spacing: 18

    SectionHeading {
        title: "数据"
        subtitle: "指标、信息格与两列布局"
    }

    AdaptiveColumns {
        spacing: 14

        Metric {
            title: "已批准航班"
            value: "128"
            symbol: "checkmark.seal"
        }
        Metric {
            title: "累计飞行"
            value: "312 小时 45 分"
            symbol: "clock"
        }
        Metric {
            title: "本月排名"
            value: "第 3 名"
            symbol: "trophy"
        }
        Metric {
            title: "很长的数值会缩小到一行"
            value: "1,234,567,890 小时 59 分钟 59 秒"
            symbol: "gauge"
        }
    }

    AdaptiveColumns {
        spacing: 14

        Card {
            padding: 16

            FormHeader {
                title: "自由高度的信息格"
                symbol: "list.bullet"
            }
            InfoGrid {
                items: [
                    InfoItem {
                        title: "机型"
                        value: "Airbus A350-900"
                    },
                    InfoItem {
                        title: "涂装"
                        value: "Vornalia 标准涂装（2024 版，带金色尾翼）"
                    },
                    InfoItem {
                        title: "呼号"
                        value: "VRN1024"
                    }
                ]
            }
        }
        Card {
            padding: 16

            FormHeader {
                title: "固定高度 70"
                symbol: "square.and.arrow.up"
            }
            InfoGrid {
                tileHeight: 70
                cornerRadius: 14
                labelColor: Theme.accent
                items: [
                    InfoItem {
                        title: "提交时间"
                        value: "2024年5月1日 08:30"
                    },
                    InfoItem {
                        title: "审核人"
                        value: "王晓明"
                    },
                    InfoItem {
                        title: "倍率"
                        value: "150%"
                    },
                    InfoItem {
                        title: "着陆"
                        value: "1"
                    }
                ]
            }
        }
    }

    AdaptiveColumns {
        spacing: 14

        Card {
            padding: 6
            spacing: 0

            RowLabel {
                Layout.leftMargin: 10
                Layout.rightMargin: 10
                title: "通知"
                symbol: "bell"
                tint: Theme.accent
                value: "3 条未读"
                chevron: true
            }
            RowLabel {
                Layout.leftMargin: 10
                Layout.rightMargin: 10
                title: "飞行日志"
                symbol: "book.closed.fill"
                tint: Theme.approved
                chevron: true
            }
            RowLabel {
                Layout.leftMargin: 10
                Layout.rightMargin: 10
                title: "无值无箭头"
                symbol: "gearshape"
                tint: Theme.muted
            }
        }
        Card {
            padding: 16

            RowLayout {
                spacing: 14

                AccountAvatar {
                    size: 56
                }
                AccountAvatar {
                    size: 56
                    source: "qrc:/qt/qml/Vorna/Ui/brand/BrandMark.svg"
                    ring: Theme.accent
                }
                AccountAvatar {
                    size: 34
                    ring: "transparent"
                }
                ColumnLayout {
                    spacing: 2

                    DateValue {
                        timestamp: 1714552200
                    }
                    DateValue {
                        timestamp: 1714552200000
                        color: Theme.muted
                    }
                    DateValue {
                        font.pixelSize: Typography.caption
                    }
                }
            }
            ProgressBar {
                value: 0.456
                tint: Theme.approved
            }
            ProgressBar {
                value: 0.82
            }
            ProgressBar {
                value: -0.2
            }
        }
    }

    Item {
        Layout.fillWidth: true
        implicitHeight: 96

        HeroBackground {
            anchors.fill: parent
            radius: 20
        }
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 22
            anchors.verticalCenter: parent.verticalCenter
            text: "主视觉渐变：slate → night"
            font.pixelSize: Typography.title3
            font.weight: Font.Bold
            color: Theme.white
        }
    }
}
