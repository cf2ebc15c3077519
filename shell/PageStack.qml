import QtQuick
import Vorna.State
import Vorna.Shell

// One tab's pages, from the first time it shows: its root page with a page above it for each route of the
// tab's path, made from the page table. A page under another stays as it was, scrolled where it was, until
// it shows again.
Item {
    id: stack

    required property AppState appState
    required property MemberData memberData
    required property MemberNavigation navigation
    required property PageTable table
    required property int tab
    // The pages are made the first time the tab shows, and kept while another tab shows.
    required property bool selected
    // A stack that is no tab's own (the logbook sheet's): its stack and its root page.
    property int ownStack: NavigationStack.NoStack
    property int ownRoot: ShellPage.NoPage
    property bool settled: false
    readonly property PageStackModel model: pages

    objectName: "shell.pages"
    visible: stack.selected

    function make(page: int, properties: var): Item {
        const component = stack.table.component(page);
        const item = component ? component.createObject(stack, properties) : null;
        if (item) {
            item.width = Qt.binding(() => stack.width);
            item.height = Qt.binding(() => stack.height);
        }
        return item;
    }

    function start() {
        if (pages.count > 0 || !stack.settled || !stack.selected)
            return;
        stack.showRoot();
    }

    // The root alone, then the path above it: at the start, and when the home page follows a new role.
    function showRoot() {
        pages.showRoot(stack.make(pages.rootPage, {
            appState: stack.appState,
            memberData: stack.memberData,
            navigation: stack.navigation
        }));
    }

    // A sheet's stack starts again at each opening, its root page as new.
    onSelectedChanged: {
        if (stack.selected)
            stack.start();
        else if (stack.ownStack !== NavigationStack.NoStack)
            pages.clear();
    }
    // While the shell is made, its objects reach the stacks one binding at a time (the home page follows
    // the role only once the navigation knows it): the first page waits until they all have.
    Component.onCompleted: settle.start()

    PageStackModel {
        id: pages

        navigation: stack.navigation
        tab: stack.tab
        stack: stack.ownStack
        ownRoot: stack.ownRoot
        onRootPageChanged: {
            if (pages.count > 0)
                stack.showRoot();
        }
        onPush: route => pages.place(stack.make(route.page, {
            appState: stack.appState,
            memberData: stack.memberData,
            navigation: stack.navigation,
            route: route
        }))
    }

    Timer {
        id: settle

        interval: 0
        onTriggered: {
            stack.settled = true;
            stack.start();
        }
    }
}
