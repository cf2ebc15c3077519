import Vorna.Screenshots

// The map tab of "lichen" with the picker of his own flights open over the map.
MapWindow {
    username: "lichen"
    opens: "ownFlights"
    typed: [""]
}
