import Vorna.Screenshots

// The own-flights picker in the sheet of a narrow window, with the standard map.
MapPanelsStage {
    property size windowSize: Qt.size(430, 860)

    ownIds: ["lv-207", "lv-112", "lv-145"]
    choosing: true
    satellite: false
}
