pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Vorna.Ui

// A menu of choices, the chosen one checked. It opens with the keyboard on the chosen entry, where the
// arrows go on from, and gives the keyboard back to the control that opened it as it closes. Choosing the
// chosen entry again keeps its mark: a checkable entry takes its mark off as it is clicked, and with the
// choice unchanged nothing would put it back.
Menu {
    id: menu

    // The entries' titles, in order, and the index of the chosen one (-1: none).
    required property list<string> titles
    property int chosenIndex: -1
    signal chosen(int index)

    readonly property ScreenFocus keyboard: ScreenFocus {
        screen: menu.contentItem
        open: menu.visible
    }
    // Under the control that opens it where its entries fit there, else above it where there is more room:
    // never over the control, whose choice it offers to change. Taken as it opens.
    property bool opensAbove: false

    y: menu.opensAbove ? -menu.height : (menu.parent ? menu.parent.height : 0)
    onAboutToShow: {
        const opener = menu.parent;
        if (opener && opener.Window.window) {
            const top = opener.mapToItem(null, 0, 0).y;
            const below = opener.Window.height - top - opener.height;
            menu.opensAbove = below < menu.implicitHeight && top > below;
        }
        menu.keyboard.opening();
        menu.currentIndex = menu.chosenIndex;
    }

    Instantiator {
        model: menu.titles
        onObjectAdded: (index, object) => menu.insertItem(index, object as MenuItem)
        onObjectRemoved: (index, object) => menu.removeItem(object as MenuItem)

        delegate: MenuItem {
            id: entry

            required property int index
            required property string modelData
            readonly property bool isChosen: entry.index === menu.chosenIndex

            text: entry.modelData
            checkable: true
            checked: entry.isChosen
            onToggled: entry.checked = Qt.binding(() => entry.isChosen)
            onTriggered: menu.chosen(entry.index)
        }
    }
}
