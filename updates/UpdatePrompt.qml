import QtQuick
import Vorna.Ui
import Vorna.Updates

// The update feature over the window's content: it checks at launch and whenever the application becomes
// active, offers a newer release, and answers a check asked for from the menu.
Item {
    id: prompt

    required property UpdateCheck updater

    UpdatePromptModel {
        id: model

        updater: prompt.updater
    }

    // The launch check waits for the window's first frame: the window comes up without its work.
    Connections {
        id: launchCheck

        function onFrameSwapped() {
            launchCheck.enabled = false;
            model.appear();
        }

        target: prompt.Window.window
    }

    // Made the first time one of them shows, then kept: the window comes up without them.
    Loader {
        id: alerts

        readonly property bool wanted: model.offering || model.noticing || model.unopenedAddress.length > 0
        property bool made: false

        function make() {
            if (!alerts.wanted || alerts.made)
                return;
            alerts.made = true;
            alerts.setSource(Qt.resolvedUrl("UpdateAlerts.qml"), {
                prompter: model
            });
        }

        onWantedChanged: alerts.make()
        Component.onCompleted: alerts.make()
    }
}
