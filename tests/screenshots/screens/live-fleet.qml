import Vorna.Screenshots

// A linked member's fleet board: three organisations, aircraft in every state.
LiveWindow {}
