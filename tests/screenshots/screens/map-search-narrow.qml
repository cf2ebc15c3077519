import Vorna.Screenshots

// The flight search in the sheet of a narrow window, every flight sorted by callsign.
MapPanelsStage {
    property size windowSize: Qt.size(430, 860)

    searching: true
}
