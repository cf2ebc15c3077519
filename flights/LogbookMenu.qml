import QtQuick
import QtQuick.Controls
import Vorna.Ui

// The logbook's page menu: the records page or the routes page.
GlassButton {
    id: menuButton

    // 0 the records page, 1 the routes page.
    required property int page
    signal choose(int page)

    objectName: "logbook.menu"
    symbol: "line.3.horizontal"
    Accessible.name: L.t("菜单")
    onClicked: menu.open()

    Menu {
        id: menu

        // A page chosen hides this button: the keyboard goes into the page then.
        readonly property ScreenFocus keyboard: ScreenFocus {
            screen: menu.contentItem
            open: menu.visible
        }

        y: menuButton.height
        onAboutToShow: menu.keyboard.opening()

        MenuItem {
            text: L.t("记录页")
            checkable: true
            checked: menuButton.page === 0
            onTriggered: menuButton.choose(0)
        }
        MenuItem {
            text: L.t("地图页")
            checkable: true
            checked: menuButton.page !== 0
            onTriggered: menuButton.choose(1)
        }
    }
}
