import QtQuick
import QtQuick.Dialogs
import Vorna.Ui

// The file dialog for pictures: the desktop's own chooser through its portal where it answers (main/ says
// so), else the platform theme's or Qt Quick's in the window, opening in the member's pictures folder (then,
// in the window, where they last picked). Each lists the pictures of `filters` whatever the case of their
// names ("IMG_0001.PNG" as well as "shot-1.png").
// `several` lets one pick take several files. Qt Quick's dialog takes one file at a time, so there it opens
// again after each file ("添加") until the member is done ("完成") or the pick's room is used up; each time
// `picked` gives every file of the pick so far. Open it with pick(), not open().
FileDialog {
    id: dialog

    property string heading
    // Its name filters as the member reads them: "图片 (*.png *.jpg)".
    property var filters: []
    property bool several: false
    // Files of this pick so far while Qt Quick's dialog takes them one at a time.
    property var added: []
    property bool oneAtATime: false
    property int room: 1
    // Between one file and the next while Qt Quick's dialog takes them one at a time.
    property bool reopening: false
    // Qt Quick's dialog is a modal screen of the window like the sheets and alerts: nothing behind it takes
    // the keyboard while it is open (a failed pick's notice has it once the dialog has closed). Every chooser
    // gives the keyboard back where it was, with its ring, once it has closed.
    readonly property ScreenFocus keyboard: ScreenFocus {
        screen: dialog.visible ? FileChooser.dialogScreen(dialog.parentWindow) : null
        open: dialog.visible || dialog.reopening || desktop.picking
        // Qt's dialog puts the keyboard on its list itself.
        placesKeyboard: false
    }

    // The pick's files: a list of file URLs.
    signal picked(var files)

    // Opens the dialog for at most `limit` files (one unless `several`).
    function pick(limit) {
        // The control that opens it has the keyboard still: Qt's dialog takes it as it opens.
        keyboard.opening();
        room = several ? Math.max(1, limit) : 1;
        added = [];
        if (FileChooser.portal) {
            oneAtATime = false;
            desktop.open(heading, several, FileChooser.anyCase(filters), parentWindow);
            return;
        }
        openHere();
    }

    // The dialog of the platform theme, or Qt Quick's in the window.
    function openHere() {
        const inWindow = !FileChooser.desktopChooser();
        nameFilters = inWindow ? filters : FileChooser.anyCase(filters);
        oneAtATime = several && room > 1 && inWindow;
        open();
    }

    nameFilters: filters
    title: added.length > 0 ? L.t("%@（已添加 %@ 张）", [heading, added.length]) : heading
    fileMode: several ? FileDialog.OpenFiles : FileDialog.OpenFile
    currentFolder: FileChooser.picturesFolder
    acceptLabel: oneAtATime ? L.t("添加") : ""
    rejectLabel: oneAtATime && added.length > 0 ? L.t("完成") : ""
    onVisibleChanged: {
        if (visible)
            FileChooser.fitDialogs(parentWindow);
    }
    onAccepted: {
        if (!oneAtATime) {
            picked(selectedFiles);
            return;
        }
        const files = added.slice();
        for (let i = 0; i < selectedFiles.length; ++i) {
            const file = selectedFiles[i];
            if (!files.some(known => String(known) === String(file)))
                files.push(file);
        }
        added = files;
        picked(files);
        if (files.length < room) {
            reopening = true;
            Qt.callLater(() => {
                dialog.open();
                dialog.reopening = false;
            });
        }
    }

    PortalFilePick {
        id: desktop

        onPicked: files => dialog.picked(files)
        onUnavailable: dialog.openHere()
    }
}
