import QtQuick
import QtQuick.Controls
import Vorna.Ui

// A sheet over the window: modal, most of its height, closed by Escape or its own cancel button. Its
// page is made when it opens and dropped when it closes, so each opening starts afresh.
Popup {
    id: sheet

    // The page, declared by the sheet's owner where its bindings belong.
    property Component page
    property Item current: null
    // What a screen reader calls the sheet: its page's own `title`, unless its owner names it.
    property string title: sheet.current?.title ?? ""
    // Its page takes the keyboard as it opens; the control that opened it has it back as it closes.
    readonly property ScreenFocus keyboard: ScreenFocus {
        screen: sheet.current
        open: sheet.visible
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - 48 : 560)
    height: parent ? parent.height - 48 : 480
    modal: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape

    onAboutToShow: {
        sheet.keyboard.opening();
        sheet.current = sheet.page.createObject(sheet.contentItem, {
            width: Qt.binding(() => sheet.availableWidth),
            height: Qt.binding(() => sheet.availableHeight),
            focus: true
        });
    }
    onClosed: {
        if (sheet.current)
            sheet.current.destroy();
        sheet.current = null;
    }

    background: Rectangle {
        radius: 16
        color: Theme.paper
        border.color: Theme.line
    }
}
