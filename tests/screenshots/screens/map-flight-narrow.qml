import Vorna.Screenshots

// The same selection in a narrow window: the compact card in its sheet, the map usable around it.
MapPanelsStage {
    property size windowSize: Qt.size(430, 860)

    selectedId: "lv-207"
}
