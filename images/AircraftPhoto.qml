import QtQuick
import QtQuick.Controls
import Vorna.Ui
import Vorna.Images

// The picture of an aircraft in a livery, fitted to the width under a height cap: the brand loader while it
// loads, a placeholder when the catalog has no picture, a retry when loading failed.
Item {
    id: photo

    property string aircraft
    property string livery
    // A picture already chosen; when set, the catalog is not consulted.
    property aircraftPhotoReference reference
    // The nominal height in points: the picture is at most 1.7 times as high.
    property real nominalHeight: 108
    // Compact: no texts under the symbols, an icon button to retry.
    property bool quiet: false

    implicitWidth: frame.visible ? frame.implicitWidth : 2 * model.placeholderHeight
    implicitHeight: frame.visible ? frame.implicitHeight : model.placeholderHeight

    AircraftPhotoModel {
        id: model

        aircraft: photo.aircraft
        livery: photo.livery
        reference: photo.reference
        nominalHeight: photo.nominalHeight
        active: photo.visible
    }

    CappedAspectLayout {
        id: frame

        objectName: "aircraft.photo.loaded"
        anchors.centerIn: parent
        width: photo.width
        visible: model.state === AircraftPhotoModel.Picture
        aspect: model.aspect
        maxHeight: model.pictureMaxHeight
        Accessible.role: Accessible.Graphic
        Accessible.name: frame.visible ? model.accessibleLabel : ""

        FittedPhoto {
            source: model
        }
    }

    // The placeholders keep one height, so rows do not jump when the picture arrives or fails.
    Item {
        anchors.centerIn: parent
        width: photo.width
        height: model.placeholderHeight
        visible: !frame.visible

        Column {
            anchors.centerIn: parent
            width: parent.width
            spacing: 8

            BrandLoader {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: model.state === AircraftPhotoModel.Loading
                size: model.loaderSize
                tile: true
            }

            // What a screen reader finds here: the symbol, named by the caption beneath it.
            Symbol {
                anchors.horizontalCenter: parent.horizontalCenter
                objectName: "aircraft.photo.unavailable"
                visible: model.state === AircraftPhotoModel.Unavailable
                name: "airplane"
                size: Typography.title2 + 5
                color: Qt.alpha(Theme.muted, 0.55)
                Accessible.ignored: false
                Accessible.role: Accessible.Graphic
                Accessible.name: model.accessibleLabel
            }

            Text {
                width: parent.width
                visible: model.state === AircraftPhotoModel.Unavailable && !photo.quiet
                text: L.t("暂无对应涂装图片")
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: Typography.caption2
                color: Theme.muted
                Accessible.ignored: true
            }

            Symbol {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: model.state === AircraftPhotoModel.Failed && !photo.quiet
                name: "photo.badge.exclamationmark"
                size: Typography.title2 + 5
                color: Theme.muted
            }

            // Quiet: an icon button.
            Button {
                id: retryIcon

                anchors.horizontalCenter: parent.horizontalCenter
                visible: model.state === AircraftPhotoModel.Failed && photo.quiet
                objectName: "aircraft.photo.retry"
                flat: true
                padding: 6
                Accessible.name: L.t("重新加载图片")
                onClicked: model.retry()

                contentItem: Symbol {
                    name: "photo.badge.exclamationmark"
                    size: Typography.title3 + 5
                    color: Theme.muted
                }
                background: Rectangle {
                    radius: 6
                    color: retryIcon.down ? Theme.sunken : "transparent"

                    FocusRing {
                        control: retryIcon
                        radius: parent.radius + spread
                    }
                }
            }

            Button {
                id: retryText

                anchors.horizontalCenter: parent.horizontalCenter
                visible: model.state === AircraftPhotoModel.Failed && !photo.quiet
                objectName: "aircraft.photo.retry"
                flat: true
                text: L.t("重新加载图片")
                leftPadding: 10
                rightPadding: 10
                topPadding: 4
                bottomPadding: 4
                onClicked: model.retry()

                contentItem: Text {
                    text: retryText.text
                    font.pixelSize: Typography.caption
                    color: Theme.accent
                    horizontalAlignment: Text.AlignHCenter
                }
                background: Rectangle {
                    radius: 6
                    color: retryText.down ? Theme.sunken : "transparent"

                    FocusRing {
                        control: retryText
                        radius: parent.radius + spread
                    }
                }
            }
        }
    }
}
