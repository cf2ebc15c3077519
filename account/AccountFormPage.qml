import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// The page of an account form: the inline title, then the sections in one column on the paper colour.
Rectangle {
    id: page

    property string title
    property bool busy: false
    default property alias sections: column.data

    color: Theme.paper

    Flickable {
        id: scroller

        anchors.fill: parent
        contentHeight: column.implicitHeight + 64
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

            Text {
                Layout.fillWidth: true
                text: page.title
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
            }
        }
    }
}
