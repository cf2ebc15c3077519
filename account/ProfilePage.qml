import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Account

// The member's profile page: identity, record and rank with the organisation, Infinite Flight
// statistics, and the way to edit the profile.
Page {
    id: page
    // What a screen reader says as the page takes the keyboard.
    Accessible.role: Accessible.Pane
    Accessible.name: L.t("个人主页")

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property pageRoute route

    objectName: "account.page"
    spacing: 16

    ProfilePageModel {
        id: account

        appState: page.appState
        memberData: page.memberData
    }
    // Each appearance loads the record and the statistics; the refresh button and keys, the record alone.
    PageRefresh {
        page: page
        onAppeared: {
            account.startLoad();
            account.startStatistics();
        }
        onRefresh: account.reload()
    }

    BackButton {
        visible: page.route.stack !== NavigationStack.NoStack
        onClicked: page.navigation.pop(page.route.stack)
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        Text {
            Layout.fillWidth: true
            text: L.t("个人主页")
            font.pixelSize: Typography.headline
            font.weight: Font.DemiBold
            color: Theme.ink
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        IconButton {
            objectName: "account.refresh"
            symbol: "arrow.clockwise"
            // The statistics have a "刷新" of their own: each name says what it reloads.
            text: L.t("刷新个人主页")
            onClicked: account.reload()
        }
    }

    Card {
        padding: 18
        spacing: 12

        RowLayout {
            spacing: 16

            AccountAvatar {
                size: 70
                ring: "transparent"
                image: page.appState.avatar
            }
            ColumnLayout {
                spacing: 6

                Text {
                    text: account.displayName
                    font.pixelSize: Typography.title2
                    font.weight: Font.Bold
                    color: Theme.ink
                }
                Text {
                    text: account.callsign
                    font.pixelSize: Typography.body
                    color: Theme.muted
                }
                Text {
                    text: L.t("VORNA 成员")
                    font.pixelSize: Typography.caption
                    color: Theme.ink
                }
            }
        }
        IdentityRow {
            label: L.t("联系邮箱")
            value: account.contactEmail
        }
        IdentityRow {
            label: "IFC"
            value: page.appState.username.length > 0 ? page.appState.username : "—"
        }
        IdentityRow {
            visible: account.discordUsername.length > 0
            label: "Discord"
            value: account.discordUsername
        }
    }

    ErrorNotice {
        objectName: "account.error"
        alert: true
        visible: account.error.length > 0
        message: account.error
        retryable: true
        onRetry: account.reload()
        failures: account.failures
    }

    SectionHeading {
        Layout.fillWidth: true
        title: L.t("我的联盟记录")
    }
    InfoGrid {
        Layout.fillWidth: true
        items: [joined, latest, approved, rank]
        tileHeight: 86
        lines: 2
        cornerRadius: 14
        labelColor: Theme.muted
    }

    SectionHeading {
        Layout.fillWidth: true
        title: L.t("我的 IF 记录")
        subtitle: L.t("多人模式累计数据，与 VORNA PIREP 独立。缓存最多 5 分钟。")

        BorderedButton {
            objectName: "account.statistics.refresh"
            text: L.t("刷新")
            Accessible.name: L.t("刷新 IF 记录")
            enabled: account.statisticsState !== "loading"
            onClicked: account.startStatistics()
        }
    }
    InfoGrid {
        Layout.fillWidth: true
        visible: account.hasStatistics && account.statisticsState === "ready"
        items: [grade, hours, landings, online, experience, violations]
        lines: 1
        cornerRadius: 14
        labelColor: Theme.muted
    }
    Text {
        Layout.fillWidth: true
        visible: account.hasStatistics && account.statisticsState === "ready"
        text: account.organization
        font.pixelSize: Typography.footnote
        color: Theme.muted
    }
    BrandLoader {
        Layout.alignment: Qt.AlignHCenter
        visible: !(account.hasStatistics && account.statisticsState === "ready") && account.statisticsState === "loading"
        size: 72
        caption: L.t("正在查询…")
        tile: true
    }
    Text {
        Layout.fillWidth: true
        visible: !(account.hasStatistics && account.statisticsState === "ready") && account.statisticsState !== "loading"
        text: account.statisticsState === "missing" ? L.t("未找到关联的 IF 账号。") : L.t("暂时无法查询，请稍后重试。")
        wrapMode: Text.Wrap
        font.pixelSize: Typography.subheadline
        color: Theme.muted
    }

    GlassButton {
        Layout.fillWidth: true
        objectName: "account.edit"
        text: L.t("编辑个人资料")
        symbol: "pencil"
        onClicked: page.navigation.pushPage(NavigationStack.AccountStack, ShellPage.ProfileEdit)
    }

    InfoItem {
        id: joined

        title: L.t("加入时间")
        value: Display.dateTime(account.joinedAt)
    }
    InfoItem {
        id: latest

        title: L.t("最近提交")
        value: Display.dateTime(account.lastPirepAt)
    }
    InfoItem {
        id: approved

        title: L.t("已批准时长")
        value: Display.duration(account.approvedMinutes)
    }
    InfoItem {
        id: rank

        title: L.t("联盟排名")
        value: account.rank
    }

    InfoItem {
        id: grade

        title: L.t("IF 等级")
        value: account.statisticsValues[0]
    }
    InfoItem {
        id: hours

        title: L.t("飞行小时")
        value: account.statisticsValues[1]
    }
    InfoItem {
        id: landings

        title: L.t("着陆次数")
        value: account.statisticsValues[2]
    }
    InfoItem {
        id: online

        title: L.t("在线飞行次数")
        value: account.statisticsValues[3]
    }
    InfoItem {
        id: experience

        title: L.t("经验值")
        value: account.statisticsValues[4]
    }
    InfoItem {
        id: violations

        title: L.t("违规次数")
        value: account.statisticsValues[5]
    }

    component IdentityRow: ColumnLayout {
        id: identity

        property string label
        property string value

        Layout.fillWidth: true
        spacing: 10

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Theme.line
        }
        RowLayout {
            Layout.fillWidth: true

            Text {
                text: identity.label
                font.pixelSize: Typography.subheadline
                color: Theme.muted
            }
            Item {
                Layout.fillWidth: true
            }
            Text {
                text: identity.value
                font.pixelSize: Typography.subheadline
                color: Theme.ink
                elide: Text.ElideMiddle
            }
        }
    }
}
