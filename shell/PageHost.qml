import QtQuick
import Vorna.Ui
import Vorna.State

// Shows one page made from a component with the member's objects, made afresh whenever the component
// or the key changes, so a page left and opened again starts new.
Item {
    id: host

    property Component page
    property int key
    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    property Item current: null

    function rebuild() {
        if (host.current) {
            host.current.destroy();
            host.current = null;
        }
        if (!host.page)
            return;
        const properties = {
            appState: host.appState,
            memberData: host.memberData,
            navigation: host.navigation,
            width: host.width,
            height: host.height
        };
        host.current = host.page.createObject(host, properties);
        if (host.current) {
            host.current.width = Qt.binding(() => host.width);
            host.current.height = Qt.binding(() => host.height);
        }
    }

    // A change of tab changes both page and key, and while the host is made its bindings settle (the
    // home page follows the role only once the navigation knows it): every change of a turn comes
    // together into one new page. Building at completion as well made the first page twice.
    onPageChanged: pending.restart()
    onKeyChanged: pending.restart()
    Component.onCompleted: pending.restart()

    Timer {
        id: pending

        interval: 0
        onTriggered: host.rebuild()
    }
}
