import QtQuick
import QtQuick.Layouts
import Vorna.Ui
import Vorna.State
import Vorna.Images

// A picture of the member site loaded with the member's session: the picture scaled to fit, its failure
// label, or a loader while it comes. It fills the width it is given; its height follows the picture,
// between `minimumHeight` and `maximumHeight`.
Item {
    id: image

    required property APIClient client
    required property string path
    property real minimumHeight: 150
    property real maximumHeight: 300
    // Its place among the uploaded pictures of one screen, so a screen reader tells them apart; 0 alone.
    property int number: 0

    implicitHeight: Math.min(Math.max(picture.aspect > 0 ? width * picture.aspect : minimumHeight,
                                      minimumHeight), maximumHeight)
    Accessible.role: Accessible.Graphic
    Accessible.name: picture.state === AuthenticatedPicture.Failed ? L.t("图片暂时无法加载")
                     : number > 0 ? L.t("已上传截图 %@", [number]) : L.t("飞行截图")

    AuthenticatedPicture {
        id: picture

        anchors.fill: parent
        client: image.client
        path: image.path
    }
    ColumnLayout {
        anchors.centerIn: parent
        width: parent.width - 24
        visible: picture.state === AuthenticatedPicture.Failed
        spacing: 6

        Symbol {
            Layout.alignment: Qt.AlignHCenter
            name: "photo.badge.exclamationmark"
            size: 28
            color: Theme.muted
        }
        Text {
            Layout.fillWidth: true
            text: L.t("图片暂时无法加载")
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font.pixelSize: Typography.subheadline
            color: Theme.muted
        }
    }
    BrandLoader {
        anchors.centerIn: parent
        visible: picture.state === AuthenticatedPicture.Loading
        size: 56
        tile: true
    }
}
