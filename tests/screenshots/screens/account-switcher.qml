import Vorna.Screenshots

// The account tab's "switcher" page of "lichen".
AccountPagesWindow {
    page: "switcher"
}
