import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The page of an account form: the inline title (with "返回" on its line where the form stands on a stack),
// then the sections in one column on the paper colour, and below them the form's actions. While the form
// works its sections are off; its actions say so themselves, the one at work keeping the keyboard.
Rectangle {
    id: page

    property string title
    property bool busy: false
    property bool showsBack: false
    // The objectName of "返回".
    property string backName
    default property alias sections: column.data
    property alias actions: actionColumn.data
    signal back

    color: Theme.paper

    Flickable {
        id: scroller

        anchors.fill: parent
        contentHeight: column.implicitHeight + (actionColumn.visibleChildren.length > 0
                                                ? actionColumn.implicitHeight + column.spacing : 0) + 64
        clip: true

        RevealFocus {
            flickable: scroller
        }

        ColumnLayout {
            id: column

            x: (scroller.width - width) / 2
            y: 24
            width: Math.min(560, scroller.width - 48)
            spacing: 18
            enabled: !page.busy

            // "返回" at the line's start, the title in its middle.
            Item {
                Layout.fillWidth: true
                implicitHeight: Math.max(heading.implicitHeight, backButton.visible ? backButton.implicitHeight : 0)

                BackButton {
                    id: backButton

                    anchors.verticalCenter: parent.verticalCenter
                    objectName: page.backName
                    visible: page.showsBack
                    onClicked: page.back()
                }
                Text {
                    id: heading

                    anchors.centerIn: parent
                    width: parent.width - 2 * (backButton.visible ? backButton.width + 8 : 0)
                    text: page.title
                    elide: Text.ElideRight
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: Typography.headline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                    Accessible.role: Accessible.Heading
                }
            }
        }
        ColumnLayout {
            id: actionColumn

            x: column.x
            y: column.y + column.height + column.spacing
            width: column.width
            spacing: column.spacing
        }
    }
}
