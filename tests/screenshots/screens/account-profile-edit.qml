import Vorna.Screenshots

// "lichen" edits his profile: his avatar and fields filled from the service.
AccountWindow {
    form: "edit"
}
