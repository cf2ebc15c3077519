import Vorna.Screenshots
import Vorna.Flights

// A report filled in by hand with both multipliers asked for and checked: ×1.875 on the route, the
// availability lines, the aircraft's picture.
PirepFormWindow {
    onReady: form => {
        form.departure = "zggg";
        form.arrival = "ZUUU";
        form.callsign = "B-207CA";
        form.aircraft = "Airbus A320";
        form.livery = "Sichuan Airlines";
        form.hours = "2";
        form.minutes = "19";
        form.organizationMultiplier = true;
        form.eventMultiplier = true;
        form.note = "广州白云到成都双流，顺利落地。";
        form.checkOptions();
    }
}
