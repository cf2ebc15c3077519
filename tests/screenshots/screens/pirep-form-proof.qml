import Vorna.Screenshots
import Vorna.Flights

// A circuit the service cannot match, sent without proof: the service's 422 text in the error section,
// the note marked as required and the warning line; the submit button waits for a note and a screenshot.
PirepFormWindow {
    onReady: form => {
        form.departure = "ZSPD";
        form.arrival = "ZSPD";
        form.aircraft = "Cessna 172";
        form.livery = "Default";
        form.minutes = "35";
        form.landings = "4";
        form.submit();
    }
}
