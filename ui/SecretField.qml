import QtQuick
import Vorna.Ui

// A password field: masked on screen, and what is typed never reaches the accessibility bus.
FormField {
    property bool secretText: true

    echoMode: TextInput.Password
}
