import Vorna.Screenshots

// The Infinite Flight sign-in page in the authorisation browser.
LiveFormsWindow {
    show: "browser"
}
