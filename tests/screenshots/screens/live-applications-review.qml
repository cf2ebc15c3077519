import QtQuick
import Vorna.Screenshots
import Vorna.Live

// A reviewer's applications in two columns: a card with a reviewer's note beside one without, one height.
LiveWindow {
    property size windowSize: Qt.size(1920, 1200)

    username: "wangfang"
    tab: LiveTabModel.Applications
}
