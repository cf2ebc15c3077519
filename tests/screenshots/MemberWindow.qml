import QtQuick
import Vorna.Ui
import Vorna.State
import Vorna.Home
import Vorna.Shell

// The signed-in window of a sample account: the shell with its home page, once the gate lets him in.
Rectangle {
    id: screen

    required property string username
    // Keys the harness types once the screen has settled.
    property list<string> typed
    // The home page scrolled down to the routes map, and the map over the whole window.
    property bool showsRoutes: false
    property bool routesFullScreen: false

    color: Theme.paper

    // The first item of that name below `item`, or null.
    function named(item: Item, name: string): Item {
        if (item.objectName === name)
            return item;
        for (let i = 0; i < item.children.length; ++i) {
            const found = screen.named(item.children[i], name);
            if (found)
                return found;
        }
        return null;
    }

    // The page follows the routes map down while the cards above it come in; the full-screen map opens once
    // the routes have come.
    Timer {
        interval: 100
        repeat: true
        running: screen.showsRoutes || screen.routesFullScreen
        onTriggered: {
            const routes = screen.named(screen, "home.routes");
            if (!routes)
                return;
            if (screen.showsRoutes) {
                let scroll = routes.parent;
                while (scroll && !(scroll instanceof Flickable))
                    scroll = scroll.parent;
                if (scroll) {
                    const top = routes.mapToItem(scroll.contentItem, 0, 0).y;
                    scroll.contentY = Math.max(0, Math.min(top - 120, scroll.contentHeight - scroll.height));
                }
            }
            if (screen.routesFullScreen && screen.named(routes, "routes.map")) {
                routes.fullScreen = true;
                running = screen.showsRoutes;
            }
        }
    }

    AppState {
        id: account
    }
    SignInModel {
        appState: account
        username: screen.username
        password: "fly-vornalia"
        Component.onCompleted: signIn()
    }

    Loader {
        anchors.fill: parent
        active: account.gate === AppState.Ready
        sourceComponent: MemberSession {
            appState: account
        }
    }
}
