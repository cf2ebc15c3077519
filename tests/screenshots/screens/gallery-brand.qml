import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The brand loader at its sizes, frozen at moments of a play, the inline loader and the logo.
Page {
    spacing: 18

    SectionHeading {
        title: "品牌"
        subtitle: "加载动画的几个时刻、行内加载与标志"
    }

    Card {
        padding: 16

        RowLayout {
            spacing: 12

            Repeater {
                model: [250, 600, 1000, 1250, 1605, 1830]

                delegate: Rectangle {
                    required property int modelData

                    implicitWidth: 150
                    implicitHeight: 132
                    radius: 14
                    color: Theme.slate

                    BrandLoader {
                        anchors.horizontalCenter: parent.horizontalCenter
                        y: 8
                        size: 150
                        fixedTime: modelData
                        caption: modelData + " ms"
                    }
                }
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 16

        Card {
            Layout.preferredWidth: 1
            padding: 16

            FormHeader {
                title: "方块样式"
                symbol: "photo"
            }
            RowLayout {
                spacing: 16

                BrandLoader {
                    size: 96
                    tile: true
                    fixedTime: 1830
                    caption: "正在同步"
                }
                BrandLoader {
                    size: 64
                    tile: true
                    fixedTime: 700
                }
                InlineLoader {
                    fixedTime: 1830
                }
            }
        }

        Card {
            Layout.preferredWidth: 1
            padding: 16

            FormHeader {
                title: "行内加载与标志"
                symbol: "checkmark.seal"
            }
            RowLayout {
                spacing: 10

                InlineLoader {
                    fixedTime: 1830
                }
                Text {
                    text: "正在登录…"
                    font.pixelSize: Typography.body
                    color: Theme.ink
                }
            }
            RowLayout {
                spacing: 16

                BrandLogo {
                    size: 96
                }
                BrandLogo {
                    size: 56
                }
                BrandLogo {
                    size: 32
                }
            }
        }
    }
}
