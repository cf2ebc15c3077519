import QtQuick
import QtPositioning
import Vorna.Maps
import Vorna.Ui

// The aircraft markers: the four states side by side (ordinary, live, event, selected) at 48, 24 and
// 12 points, turned to 0, 90, 180 and 270, a pile of four where the later lies on top, and the compass.
Rectangle {
    id: root
    color: Theme.paper

    MapView {
        id: map
        anchors.fill: parent
        anchors.margins: 12
        dark: Theme.dark
        showsCompass: true
        Component.onCompleted: showRegion(0, 10, 30, 64)

        MapMarkerLayer {
            model: ListModel {
                id: markers
                Component.onCompleted: {
                    const pairs = [["#1b2233", "white"], ["#d9ad59", "#1b2233"], ["#1d6fe0", "white"],
                                   ["#fa691f", "#1b2233"]];
                    const sizes = [48, 24, 12];
                    for (let row = 0; row < 3; ++row) {
                        for (let state = 0; state < 4; ++state) {
                            for (let turn = 0; turn < 4; ++turn) {
                                markers.append({
                                    latitude: 9 - row * 8,
                                    longitude: -18 + state * 12 + turn * 2.6 + (turn > 1 ? 0.5 : 0),
                                    heading: turn * 90,
                                    size: sizes[row],
                                    fill: pairs[state][0],
                                    outline: pairs[state][1],
                                    callsign: "VOR" + (row * 16 + state * 4 + turn),
                                    aircraft: "Airbus A320"
                                });
                            }
                        }
                    }
                    // The pile: each later row lies over the one before.
                    for (let state = 0; state < 4; ++state) {
                        markers.append({
                            latitude: -12 + state * 0.6,
                            longitude: 30 + state * 0.9,
                            heading: 45,
                            size: 40,
                            fill: pairs[state][0],
                            outline: pairs[state][1],
                            callsign: "",
                            aircraft: ""
                        });
                    }
                }
            }
        }

        MapScaleBar {
            x: 10
            y: map.height - height - 10
            map: map
        }
    }
}
