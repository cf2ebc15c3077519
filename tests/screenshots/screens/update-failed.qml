import QtQuick
import Vorna.Screenshots

// The menu's check when the manifest cannot be read: the one failure notice.
UpdateWindow {
    askFromMenu: true
    Component.onCompleted: SampleService.publishRelease("malformed")
}
