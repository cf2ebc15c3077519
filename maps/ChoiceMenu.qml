pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// A picker row: its title, the chosen value and a menu of the choices, where the empty value is "全部".
// Values are shown as they are.
Button {
    id: picker

    property string title
    property list<string> choices
    property string current
    signal chosen(string value)

    Layout.fillWidth: true
    focusPolicy: Qt.StrongFocus
    leftPadding: 12
    rightPadding: 12
    topPadding: 8
    bottomPadding: 8
    Accessible.name: ViewRules.combined([picker.title, picker.current.length > 0 ? picker.current : L.t("全部")])
    onClicked: menu.open()

    contentItem: RowLayout {
        spacing: 8

        Text {
            text: picker.title
            font.pixelSize: Typography.body
            color: Theme.ink
        }
        Text {
            Layout.fillWidth: true
            text: picker.current.length > 0 ? picker.current : L.t("全部")
            horizontalAlignment: Text.AlignRight
            elide: Text.ElideRight
            font.pixelSize: Typography.body
            color: Theme.muted
        }
        Symbol {
            name: "chevron.up.chevron.down"
            size: Typography.caption
            color: Theme.muted
        }
    }
    background: Rectangle {
        radius: 10
        color: picker.down ? Qt.alpha(Theme.ink, 0.06) : Theme.surface
        border.color: Theme.line

        FocusRing {
            control: picker
            radius: 12
        }
    }

    Popup {
        id: menu

        // Its list takes the keyboard; closed, by a choice or Escape, it goes back to the row with its ring.
        readonly property ScreenFocus keyboard: ScreenFocus {
            screen: menu.contentItem
            open: menu.visible
        }

        // The room beside the row, below and above it, inside the window: taken as the menu opens.
        property real roomBelow: 0
        property real roomAbove: 0
        readonly property real gap: 4
        // Every choice, up to 280 points.
        readonly property real wanted: Math.min(list.contentHeight + topPadding + bottomPadding, 280)
        // Below the row where its choices fit there; else above it, where there is more room. It never runs
        // past the window's edges: the list scrolls what does not fit.
        readonly property bool opensAbove: roomBelow < wanted && roomAbove > roomBelow

        function measure() {
            const top = picker.mapToItem(null, 0, 0).y;
            menu.roomBelow = Math.max(0, picker.Window.height - top - picker.height - menu.gap - menu.margins);
            menu.roomAbove = Math.max(0, top - menu.gap - menu.margins);
        }

        y: opensAbove ? -height - gap : picker.height + gap
        width: picker.width
        height: Math.min(wanted, opensAbove ? roomAbove : roomBelow)
        margins: 8
        padding: 6
        focus: true
        onAboutToShow: {
            menu.measure();
            menu.keyboard.opening();
            // It opens on the choice that stands, in view: the keyboard lands there, and the arrows go on from it.
            list.currentIndex = Math.max(0, picker.choices.indexOf(picker.current));
            list.positionViewAtIndex(list.currentIndex, ListView.Contain);
        }

        background: Rectangle {
            radius: 10
            color: Theme.surface
            border.color: Theme.line
        }

        // The arrows move the current choice with its ring; Return takes the choice that has it.
        ListKeys {
            view: list
        }
        ListView {
            id: list

            anchors.fill: parent
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            objectName: picker.objectName + ".choices"
            keyNavigationEnabled: true
            focus: true
            model: picker.choices

            ScrollBar.vertical: ScrollBar {
                id: scrollBar

                policy: ScrollBar.AsNeeded
                contentItem: Rectangle {
                    implicitWidth: 6
                    radius: 3
                    color: Theme.muted
                    // Shown while the choices are more than the menu holds.
                    opacity: scrollBar.size >= 1 ? 0 : scrollBar.active ? 0.6 : 0.3
                }
            }

            delegate: ItemDelegate {
                id: choice

                required property string modelData
                readonly property bool isCurrent: choice.modelData === picker.current

                width: ListView.view.width
                focusPolicy: Qt.StrongFocus
                Accessible.name: choice.modelData.length > 0 ? choice.modelData : L.t("全部")
                onClicked: {
                    menu.close();
                    picker.chosen(choice.modelData);
                }

                contentItem: RowLayout {
                    spacing: 8

                    Symbol {
                        name: "checkmark"
                        size: Typography.caption + 1
                        color: Theme.accent
                        opacity: choice.isCurrent ? 1 : 0
                    }
                    Text {
                        Layout.fillWidth: true
                        text: choice.modelData.length > 0 ? choice.modelData : L.t("全部")
                        elide: Text.ElideRight
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }
                }
                background: Rectangle {
                    radius: 6
                    color: choice.hovered || choice.visualFocus ? Qt.alpha(Theme.accent, 0.12) : "transparent"

                    // Return takes the choice as Space does, on every desktop.
                    ReturnKey {
                        target: choice
                    }
                }
            }
        }
    }
}
