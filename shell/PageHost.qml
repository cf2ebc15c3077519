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

    // A change of tab changes both page and key: one new page, made once.
    onPageChanged: pending.restart()
    onKeyChanged: pending.restart()
    Component.onCompleted: rebuild()

    Timer {
        id: pending

        interval: 0
        onTriggered: host.rebuild()
    }
}
