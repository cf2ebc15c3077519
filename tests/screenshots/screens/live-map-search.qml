import Vorna.Screenshots

// The map tab of "lichen" with the flight search open over the map, searched for "b-2".
MapWindow {
    username: "lichen"
    opens: "search"
    typed: ["", "b-2"]
}
