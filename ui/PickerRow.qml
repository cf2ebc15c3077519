pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui

// A picker in a form's own style: its title at the leading edge and, at the trailing edge, the chosen option
// on a button that opens the menu of the options, the chosen one checked. The options come from the model,
// each {title, value}, so the labels stay with the values they name.
RowLayout {
    id: picker

    property string title
    required property list<var> options
    // The chosen option's value; none of the options' shows no title.
    property int current: -1
    readonly property string currentTitle: {
        for (const option of picker.options) {
            if (option.value === picker.current)
                return option.title;
        }
        return "";
    }
    readonly property list<string> optionTitles: {
        const titles = [];
        for (const option of picker.options)
            titles.push(option.title);
        return titles;
    }
    readonly property int currentIndex: {
        for (let i = 0; i < picker.options.length; ++i) {
            if (picker.options[i].value === picker.current)
                return i;
        }
        return -1;
    }
    signal chosen(int value)

    spacing: 12

    Text {
        Layout.fillWidth: true
        text: picker.title
        elide: Text.ElideRight
        font.pixelSize: Typography.body
        color: Theme.ink
        Accessible.ignored: true
    }
    Button {
        id: menuButton

        focusPolicy: Qt.StrongFocus
        leftPadding: 10
        rightPadding: 8
        topPadding: 4
        bottomPadding: 4
        Accessible.role: Accessible.ComboBox
        Accessible.name: picker.title
        Accessible.description: picker.currentTitle
        Accessible.onPressAction: menuButton.clicked()
        onClicked: menu.open()

        contentItem: RowLayout {
            spacing: 4

            Text {
                text: picker.currentTitle
                font.pixelSize: Typography.body
                color: Theme.accent
            }
            Symbol {
                name: "chevron.up.chevron.down"
                size: Typography.caption + 2
                color: Theme.accent
            }
        }
        background: Rectangle {
            implicitWidth: 44
            implicitHeight: 28
            radius: 6
            color: menuButton.down ? Qt.alpha(Theme.ink, 0.1) : menuButton.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent"

            FocusRing {
                control: menuButton
                radius: 8
            }
        }

        ChoicesMenu {
            id: menu

            // Ending with the button at the row's trailing edge.
            x: menuButton.width - width
            titles: picker.optionTitles
            chosenIndex: picker.currentIndex
            onChosen: index => picker.chosen(picker.options[index].value)
        }
    }
}
