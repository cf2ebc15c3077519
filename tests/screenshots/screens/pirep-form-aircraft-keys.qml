import Vorna.Screenshots
import Vorna.Flights

// The aircraft list opened from its button with "A3" typed in the search, then Down three times: the third
// name is the current row, drawn as the keyboard's, and Return would take it.
PirepFormWindow {
    onReady: form => form.aircraft = "Airbus"
    typed: ["\t\t\t\t\t\t\t\r", "A3", "↓↓↓"]
}
