import Vorna.Screenshots
import Vorna.Flights

// The aircraft list opened from its button with "A3" typed in the search: the simulator's names that
// contain it, sorted.
PirepFormWindow {
    onReady: form => form.aircraft = "Airbus"
    typed: ["\t\t\t\t\t\t\t\r", "A3", ""]
}
