import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// Page, cards, headings, notices, chips, pills and buttons with sample values.
Page {
    spacing: 18

    SectionHeading {
        title: "共享组件"
        subtitle: "页面、卡片、标题、提示与按钮"

        GlassButton {
            text: "新建 PIREP"
            symbol: "plus"
            prominent: true
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 16

        Card {
            Layout.preferredWidth: 1
            Layout.fillHeight: true
            padding: 18
            spacing: 10

            FormHeader {
                title: "航班信息"
                symbol: "airplane"
            }
            Text {
                Layout.fillWidth: true
                text: "卡片铺满所给的宽度，内容靠前缘排列。"
                wrapMode: Text.Wrap
                font.pixelSize: Typography.body
                color: Theme.ink
            }
            Row {
                spacing: 8

                Chip {
                    text: "A350-900"
                    symbol: "airplane"
                }
                Chip {
                    text: "2 小时 5 分"
                    symbol: "clock"
                    tint: Theme.muted
                }
                Chip {
                    text: "无图标"
                    tint: Theme.approved
                }
            }
        }

        DetailSection {
            Layout.preferredWidth: 1
            Layout.fillHeight: true
            title: "审核记录"
            symbol: "checkmark.seal.fill"
            tint: Theme.approved

            Row {
                spacing: 8

                StatusPill {
                    statusTitle: "已批准"
                    verdictColor: Theme.Approved
                }
                StatusPill {
                    statusTitle: "待审核"
                    verdictColor: Theme.Pending
                }
                StatusPill {
                    statusTitle: "未批准"
                    verdictColor: Theme.Rejected
                }
                StatusPill {
                    statusTitle: "需补充证据"
                    verdictColor: Theme.Accent
                }
            }
            Text {
                Layout.fillWidth: true
                text: "详情分区：卡片内边距 18，间距 12。"
                wrapMode: Text.Wrap
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
        }
    }

    SectionHeading {
        title: "加载失败的提示"
    }

    ErrorNotice {
        message: "服务器暂时无法连接，请检查网络后重试。"
        retryable: true
    }
    ErrorNotice {
        message: "没有重试操作时，不留按钮的位置。"
    }

    SectionHeading {
        title: "按钮"
        subtitle: "玻璃按钮与整卡按压样式"
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        GlassButton {
            text: "参加"
            symbol: "checkmark.circle.fill"
            prominent: true
        }
        GlassButton {
            text: "感兴趣"
            symbol: "calendar"
        }
        GlassButton {
            text: "不参加"
        }
        GlassButton {
            text: "不可用"
            enabled: false
        }
        Item {
            Layout.fillWidth: true
        }
    }

    PressableStyle {
        Layout.fillWidth: true

        contentItem: Card {
            padding: 16

            RowLabel {
                title: "整卡按钮：按下时缩小到 98%"
                symbol: "hand.raised"
                tint: Theme.accent
                chevron: true
            }
        }
    }
}
