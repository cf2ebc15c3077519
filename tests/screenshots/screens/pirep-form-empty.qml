import Vorna.Screenshots

// A new report from nothing: "----" at both ends of the route, 0 hours, 1 landing, the first rule under
// the disabled submit button.
PirepFormWindow {}
