import QtQuick
import Vorna.Ui
import Vorna.Maps

// What the live map shows over its map of the selected flight, the search and the own-flights picker,
// by the window's width class (ViewRules.isRegular of the window's width, the one rule of every page):
// wide, a side card in the bottom-leading corner for the search or the picker and a bar along the bottom
// for the flight; narrow, one sheet for all three, the flight's as a compact card the map stays usable
// around. It lays over the whole map and shows the map's state; what a click asks for goes back as a
// signal, and the map changes its state:
// - closeSearch: `searching` false. closeOwnFlights: `choosingOwnFlights` false.
// - chosen(flight): from the search or the picker: the map selects the flight by hand, which closes both.
// - dismissed: the bar's close button or a sheet swiped away: search, picker and tour end, and the
//   selection and its plan are cleared.
Item {
    id: panels

    property bool searching: false
    property bool choosingOwnFlights: false
    property liveFlight selected
    property flightPlan plan
    // The selected flight is live-identified (LiveMapRules::liveIdentified).
    property bool live: false
    // The snapshot's flights, for the search; the member's own ones, for the picker.
    property liveFlights flights
    property liveFlights ownFlights
    property bool regular: ViewRules.isRegular(Window.width)
    // The height the map's top panel takes: the side card stays below it in a low window.
    property real topInset: 0
    // The compact card's sheet height; the map that keeps it hands it in and follows `measured`.
    property real compactHeight: layout.compactHeight
    readonly property MapPanelsModel model: layout
    // The views on screen, as the bindings and connections below reach them.
    // By what they are, not by the layout, which changes a moment before a loader makes its new view.
    readonly property QtObject sidePicker: sideContent.item
    readonly property QtObject sheetPicker: sheetContent.item instanceof FlightSearchView
                                            || sheetContent.item instanceof OwnFlightsPicker ? sheetContent.item : null
    readonly property bool sidePicksOwn: sideContent.item instanceof OwnFlightsPicker
    readonly property bool sheetPicksOwn: sheetContent.item instanceof OwnFlightsPicker
    readonly property QtObject card: sheetContent.item instanceof LiveFlightDetailView ? sheetContent.item : null
    // The parts of the map that the bar, the side card and the sheet cover once in place (empty while they
    // are away), for the map's names to keep clear of.
    readonly property rect barArea: Qt.rect(bar.x, panels.height - bar.height - 20, bar.width,
                                            bar.shown ? bar.height : 0)
    readonly property rect sideCardArea: Qt.rect(20, sideCard.y, sideCard.width, sideCard.shown ? sideCard.height : 0)
    readonly property rect sheetArea: Qt.rect(0, panels.height - sheet.shownHeight, panels.width,
                                              sheet.presented ? sheet.shownHeight : 0)

    signal closeSearch
    signal closeOwnFlights
    signal chosen(liveFlight flight)
    signal dismissed
    // The compact card's laid-out height.
    signal measured(real height)

    function closePicker(ownFlights: bool) {
        if (ownFlights)
            panels.closeOwnFlights();
        else
            panels.closeSearch();
    }

    MapPanelsModel {
        id: layout

        regular: panels.regular
        searching: panels.searching
        choosingOwnFlights: panels.choosingOwnFlights
        flightSelected: panels.selected.valid
    }

    // The hosted views; each is made afresh when it comes on screen, so the search starts empty each time.
    // They are handed the map's state and report back through the bindings and connections below.
    Component {
        id: searchView

        FlightSearchView {
            focus: true
        }
    }
    Component {
        id: pickerView

        OwnFlightsPicker {
            focus: true
        }
    }
    Component {
        id: barView

        SelectedFlightBar {}
    }
    Component {
        id: cardView

        LiveFlightDetailView {}
    }

    // The search, the picker and the selected flight's bar or card take the keyboard as they come; as they go
    // it goes back to the control that opened them. A flight picked in the search or the picker takes it in
    // their place: closed, it goes back where theirs would have.
    // The map tells where the keyboard is before it asks for the search or the picker: by the time they show,
    // it has gone in.
    function opening() {
        sideKeyboard.opening();
        sheetKeyboard.opening();
    }
    // And before a control of the map selects a flight: the card's sheet draws the keyboard in as it comes up,
    // before the card could tell where it was.
    function openingFlight() {
        if (!flightKeyboard.open)
            flightKeyboard.opening();
    }
    function choosing(flight: liveFlight, from: ScreenFocus) {
        flightKeyboard.openingInPlaceOf(from);
        panels.chosen(flight);
    }

    ScreenFocus {
        id: sideKeyboard

        screen: sideContent.item as Item
        open: sideCard.shown
    }
    ScreenFocus {
        id: sheetKeyboard

        screen: panels.sheetPicker as Item
        open: layout.sheet === MapPanelsModel.Search || layout.sheet === MapPanelsModel.OwnFlights
    }
    ScreenFocus {
        id: flightKeyboard

        // The bar as long as it is on screen, fading out too.
        screen: (bar.item as Item) ?? (panels.card as Item)
        open: layout.showsBar || layout.sheet === MapPanelsModel.Flight
    }

    // The search and the picker keep Tab inside them while they are open; Escape or their own button closes
    // them, and the keyboard goes back to the map.
    TabFence {
        item: sideContent
        active: sideCard.shown
    }
    TabFence {
        item: sheetContent
        active: sheetKeyboard.open
    }

    // Wide: the side card.
    Item {
        id: sideCard

        readonly property bool shown: layout.sideCard !== MapPanelsModel.None

        objectName: "map.sideCard"
        x: shown ? 20 : -width - 20
        y: panels.height - height - 20
        width: Math.min(400, panels.width - 40)
        height: Math.max(0, Math.min(460, panels.height - panels.topInset - 40))
        opacity: shown ? 1 : 0
        // On screen from the moment it is shown, before its first frame has faded it in: its content takes the
        // keyboard as it opens.
        visible: shown || opacity > 0

        Behavior on x {
            NumberAnimation {
                duration: Theme.reduceMotion ? 0 : 250
                easing.type: Easing.OutCubic
            }
        }
        Behavior on opacity {
            NumberAnimation {
                duration: Theme.reduceMotion ? 0 : 200
            }
        }

        MapMaterial {
            anchors.fill: parent
            radius: 24
            shadow: true
        }
        Loader {
            id: sideContent

            anchors.fill: parent
            active: sideCard.shown && sideCard.width > 0
            // The search takes the keyboard as it opens.
            focus: sideCard.shown
            sourceComponent: layout.sideCard === MapPanelsModel.OwnFlights ? pickerView : searchView
            // Escape closes it as it closes the narrow window's sheet and the flight's bar.
            Keys.onEscapePressed: panels.closePicker(panels.sidePicksOwn)
        }
    }

    // Wide: the bar.
    Loader {
        id: bar

        readonly property bool shown: layout.showsBar

        objectName: "map.flightBar"
        active: (shown || opacity > 0) && width > 0
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(1200, panels.width - 40)
        y: shown ? panels.height - height - 20 : panels.height
        opacity: shown ? 1 : 0

        Behavior on y {
            NumberAnimation {
                duration: Theme.reduceMotion ? 0 : 250
                easing.type: Easing.OutCubic
            }
        }
        Behavior on opacity {
            NumberAnimation {
                duration: Theme.reduceMotion ? 0 : 200
            }
        }

        sourceComponent: barView
    }

    // Narrow: the one sheet.
    MapSheet {
        id: sheet

        objectName: "map.sheet"
        anchors.fill: parent
        presented: layout.sheet !== MapPanelsModel.None
        stops: layout.sheet === MapPanelsModel.Flight ? [] : [0.5, 0.92]
        fixedHeight: panels.compactHeight
        radius: layout.sheet === MapPanelsModel.Flight ? 44 : 12
        onDismissed: panels.dismissed()

        Loader {
            id: sheetContent

            anchors.fill: parent
            // Made once the sheet has its width: Qt 6.4's layouts keep a zero width for a text whose
            // row was first laid out narrower than nothing (the arrival code of the card's route line).
            active: sheet.presented && sheet.width > 0
            focus: sheet.presented
            sourceComponent: layout.sheet === MapPanelsModel.OwnFlights ? pickerView
                           : layout.sheet === MapPanelsModel.Search ? searchView
                           : layout.sheet === MapPanelsModel.Flight ? cardView : null
        }
    }

    // The search and the picker, in the side card or the sheet: each is given its flights, and its two
    // actions, `close` and `choose`, come back here.
    Binding {
        target: panels.sidePicker
        property: "flights"
        value: panels.sidePicksOwn ? panels.ownFlights : panels.flights
        when: panels.sidePicker !== null
    }
    Binding {
        target: panels.sheetPicker
        property: "flights"
        value: panels.sheetPicksOwn ? panels.ownFlights : panels.flights
        when: panels.sheetPicker !== null
    }
    Connections {
        target: panels.sidePicker
        ignoreUnknownSignals: true

        function onClose() {
            panels.closePicker(panels.sidePicksOwn);
        }
        function onChoose(flight: liveFlight) {
            panels.choosing(flight, sideKeyboard);
        }
    }
    Connections {
        target: panels.sheetPicker
        ignoreUnknownSignals: true

        function onClose() {
            panels.closePicker(panels.sheetPicksOwn);
        }
        function onChoose(flight: liveFlight) {
            panels.choosing(flight, sheetKeyboard);
        }
    }

    // The selected flight, in the bar or in the compact card.

    Binding {
        target: bar.item
        property: "flight"
        value: panels.selected
        when: bar.item !== null
    }
    Binding {
        target: bar.item
        property: "plan"
        value: panels.plan
        when: bar.item !== null
    }
    Binding {
        target: bar.item
        property: "live"
        value: panels.live
        when: bar.item !== null
    }
    Binding {
        target: panels.card
        property: "flight"
        value: panels.selected
        when: panels.card !== null
    }
    Binding {
        target: panels.card
        property: "plan"
        value: panels.plan
        when: panels.card !== null
    }
    Binding {
        target: panels.card
        property: "live"
        value: panels.live
        when: panels.card !== null
    }
    Connections {
        target: bar.item
        ignoreUnknownSignals: true

        function onClose() {
            panels.dismissed();
        }
    }
    Connections {
        target: panels.card
        ignoreUnknownSignals: true

        function onMeasured(height: real) {
            layout.measured(height);
            panels.measured(height);
        }
    }
}
