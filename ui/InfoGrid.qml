import QtQuick
import QtQuick.Layouts
import Vorna.Ui

// A record's fields as title and value tiles in two equal columns. Without a tile height the tiles are at
// least 64 high and grow with a two-line value; with one, every tile has exactly that height.
ColumnsLayout {
    id: grid

    property list<InfoItem> items
    property real tileHeight: NaN
    property int lines: 1
    property real cornerRadius: 12
    property color labelColor: Theme.muted
    readonly property bool fixedHeight: tileHeight > 0

    Layout.fillWidth: true
    columns: 2
    spacing: 10
    rowSpacing: 10
    rowFit: ColumnsLayout.Centre

    Repeater {
        model: grid.items

        delegate: Item {
            id: tile

            required property InfoItem modelData
            // Tiles stand in the grid itself, where they read its settings.
            readonly property InfoGrid owner: tile.parent as InfoGrid
            readonly property bool fixedHeight: tile.owner?.fixedHeight ?? false
            readonly property int valueLines: ViewRules.infoValueLines(fixedHeight, tile.owner?.lines ?? 1)

            implicitHeight: fixedHeight ? (tile.owner?.tileHeight ?? 0) : Math.max(64, texts.implicitHeight + 24)
            Accessible.role: Accessible.StaticText
            Accessible.name: ViewRules.combined([tile.modelData.title, tile.modelData.value])

            Rectangle {
                anchors.fill: parent
                radius: tile.owner?.cornerRadius ?? 0
                color: Qt.alpha(Theme.sunken, 0.6)
            }

            ColumnLayout {
                id: texts

                x: 12
                y: tile.fixedHeight ? (tile.height - height) / 2 : 12
                width: tile.width - 24
                spacing: 4

                Text {
                    Layout.fillWidth: true
                    text: tile.modelData.title
                    elide: Text.ElideRight
                    font.pixelSize: Typography.caption
                    font.weight: Font.Medium
                    color: tile.owner?.labelColor ?? Theme.muted
                    Accessible.ignored: true
                }
                Text {
                    Layout.fillWidth: true
                    text: tile.modelData.value
                    wrapMode: tile.valueLines > 1 ? Text.Wrap : Text.NoWrap
                    maximumLineCount: tile.valueLines
                    elide: Text.ElideRight
                    // A value on one line shrinks before it is cut; a longer one wraps first.
                    fontSizeMode: tile.valueLines > 1 ? Text.FixedSize : Text.HorizontalFit
                    minimumPixelSize: Math.round(Typography.subheadline * ViewRules.infoValueMinimumScale(tile.fixedHeight))
                    font.pixelSize: Typography.subheadline
                    font.weight: Font.DemiBold
                    color: Theme.ink
                    Accessible.ignored: true
                }
            }
        }
    }
}
