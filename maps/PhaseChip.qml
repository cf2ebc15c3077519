import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A flight's phase in its own colour: the symbol, the title and the rate with even digits, on the colour
// at 10 %. The bar's chip is a capsule; the card's (`spans`) is a rounded rectangle across its width.
Item {
    id: chip

    property string symbol
    property string title
    property string rate
    property color tint
    property bool spans: false
    readonly property real horizontalPadding: 12
    readonly property real verticalPadding: spans ? 8 : 7

    objectName: "flight.phase"
    implicitWidth: row.implicitWidth + 2 * horizontalPadding
    implicitHeight: row.implicitHeight + 2 * verticalPadding
    Accessible.role: Accessible.StaticText
    Accessible.name: ViewRules.combined([chip.title, chip.rate])

    Rectangle {
        anchors.fill: parent
        radius: chip.spans ? 12 : height / 2
        color: Qt.alpha(chip.tint, 0.1)
    }

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.leftMargin: chip.horizontalPadding
        anchors.rightMargin: chip.horizontalPadding
        spacing: chip.spans ? 8 : 6

        Symbol {
            id: chipSymbol

            name: chip.symbol
            visible: chipSymbol.drawn
            size: Typography.subheadline + 2
            color: chip.tint
        }
        Text {
            text: chip.title
            font.pixelSize: Typography.subheadline
            color: chip.tint
            Accessible.ignored: true
        }
        Text {
            visible: chip.rate.length > 0
            text: chip.rate
            font.pixelSize: Typography.subheadline
            color: chip.tint
            Accessible.ignored: true
        }
        Item {
            Layout.fillWidth: chip.spans
            visible: chip.spans
        }
    }
}
