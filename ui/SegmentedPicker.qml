import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// A segmented picker: one button per option, the chosen one filled with the accent's tint. The options come
// from the model, each {title, value}, so the labels stay with the values they name. Tab reaches each
// segment, Space or Return chooses it, Left and Right choose the segment beside it.
Rectangle {
    id: segmented

    // [{title: string, value: int, name: string (optional)}], in the order shown; a name becomes the
    // segment's objectName.
    required property list<var> options
    // The chosen option's value.
    property int current
    // The large control size: taller segments, for a page's main filter.
    property bool large: false
    signal chosen(int value)

    // Chooses the segment `step` places from `from` and takes the focus there, where there is one.
    function move(from: int, step: int) {
        const to = from + step;
        if (to < 0 || to >= segments.count)
            return;
        segmented.chosen(segmented.options[to].value);
        segments.itemAt(to).forceActiveFocus(Qt.TabFocusReason);
    }

    implicitWidth: row.implicitWidth + 4
    implicitHeight: row.implicitHeight + 4
    // Each segment's title whole on one line, and its widest word, each with the segment's padding: as the
    // chosen one's bold (the wider) for the shares and the narrowest they go, as drawn for the room it needs.
    readonly property font titleFont: Qt.font({
        pixelSize: Typography.subheadline,
        weight: Font.DemiBold
    })
    readonly property font plainFont: Qt.font({
        pixelSize: Typography.subheadline
    })
    readonly property list<real> whole: {
        const widths = [];
        for (const option of segmented.options)
            widths.push(ViewRules.lineWidth(option.title, option.value === segmented.current ? segmented.titleFont : segmented.plainFont) + 24);
        return widths;
    }
    readonly property real widestWhole: {
        let widest = 0;
        for (const option of segmented.options)
            widest = Math.max(widest, ViewRules.lineWidth(option.title, segmented.titleFont) + 24);
        return widest;
    }
    // The narrowest a segment goes, for each in turn: its title breaks only between its words.
    readonly property list<real> narrowest: {
        const widths = [];
        for (const option of segmented.options)
            widths.push(ViewRules.widestWord(option.title, segmented.titleFont) + 24);
        return widths;
    }
    // Whether every title has its room whole: then none takes a second line, however the shares fall.
    readonly property bool titlesWhole: {
        let width = row.spacing * Math.max(0, segmented.options.length - 1);
        for (const each of segmented.whole)
            width += each;
        return row.width >= width;
    }
    // As narrow as the segments go.
    Layout.minimumWidth: {
        let width = 4 + row.spacing * Math.max(0, segments.count - 1);
        for (const each of segmented.narrowest)
            width += each;
        return width;
    }
    radius: 9
    color: Theme.sunken
    Accessible.role: Accessible.PageTabList

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.margins: 2
        spacing: 2

        Repeater {
            id: segments

            model: segmented.options

            // A tab button: its own role is the page tab, which a control sets again over the view's own
            // once a screen reader is on.
            delegate: TabButton {
                id: segment

                required property var modelData
                required property int index
                // Segments stand in the picker's row, where they read the picker.
                readonly property SegmentedPicker picker: segment.parent?.parent as SegmentedPicker
                readonly property bool selected: segment.picker?.current === segment.modelData.value

                objectName: segment.modelData.name ?? ""
                Layout.fillWidth: true
                // Equal shares where they give every title its room whole, else narrower for the shorter titles.
                Layout.preferredWidth: segment.picker?.widestWhole ?? 0
                // No title takes a second line while the row has room for all of them whole; in a narrower row
                // a title breaks only between its words, never inside one.
                Layout.minimumWidth: (segment.picker?.titlesWhole ? segment.picker?.whole : segment.picker?.narrowest)?.[segment.index] ?? 0
                focusPolicy: Qt.StrongFocus
                // The model's value says which is chosen, not the button's own check.
                checkable: false
                padding: 6
                topPadding: segment.picker?.large ? 10 : 6
                bottomPadding: segment.picker?.large ? 10 : 6
                leftPadding: 12
                rightPadding: 12
                Accessible.role: Accessible.PageTab
                Accessible.name: segment.modelData.title
                Accessible.selected: segment.selected
                // Qt 6.4 offers a page tab no press of its own: a handled one is offered.
                Accessible.onPressAction: segment.clicked()
                onClicked: segment.picker?.chosen(segment.modelData.value)
                // Its ring reaches over the segments beside it: above them.
                z: segment.activeFocus ? 1 : 0
                Keys.onLeftPressed: segment.picker?.move(segment.index, -1)
                Keys.onRightPressed: segment.picker?.move(segment.index, 1)

                background: Rectangle {
                    radius: 7
                    // A fill and an accent outline, not only the bold label: the outline stands out from the
                    // picker at 3:1 or more in both palettes.
                    color: segment.selected ? Qt.alpha(Theme.accent, 0.22) : (segment.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent")
                    border.color: segment.selected ? Theme.accent : "transparent"
                    border.width: 1.5

                    // The ring every control has, clear of the chosen segment's outline: a ring on the outline
                    // hardly shows.
                    FocusRing {
                        control: segment
                        radius: parent.radius + spread
                    }
                }
                // A title longer than its share of a narrow picker takes a second line rather than being cut.
                contentItem: Text {
                    text: segment.modelData.title
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    wrapMode: Text.WordWrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    font.pixelSize: Typography.subheadline
                    font.weight: segment.selected ? Font.DemiBold : Font.Normal
                    color: Theme.ink
                }
            }
        }
    }
}
