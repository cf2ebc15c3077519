import QtQuick
import Vorna.Screenshots

// The menu's check when the service publishes this very build: "已是最新版本" with the app's version.
UpdateWindow {
    askFromMenu: true
    Component.onCompleted: SampleService.publishRelease("current")
}
