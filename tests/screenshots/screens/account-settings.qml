import Vorna.Screenshots

// The account tab's "settings" page of "lichen".
AccountPagesWindow {
    page: "settings"
}
