import QtQuick
import Vorna.Screenshots

// The fleet board in a window 1920 wide: the bar's search and refresh over the page's centred column.
LiveWindow {
    property size windowSize: Qt.size(1920, 1200)
}
