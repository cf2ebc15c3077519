import Vorna.Screenshots

// The import sheet opened from the keyboard (Tab past the back button to the import row, Return): the
// member's recent simulator flights, newest first as the service sends them.
PirepFormWindow {
    typed: ["\t\t\r", ""]
}
