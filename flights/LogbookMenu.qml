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

    ChoicesMenu {
        id: menu

        titles: [L.t("记录页"), L.t("地图页")]
        chosenIndex: menuButton.page === 0 ? 0 : 1
        // A page chosen hides this button: the keyboard goes into the page then.
        onChosen: index => menuButton.choose(index)
    }
}
