import Vorna.Screenshots

// The account tab's "privacy" page of "lichen".
AccountPagesWindow {
    page: "privacy"
}
