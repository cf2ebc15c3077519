import Vorna.Screenshots

// The account tab's "root" page of "lichen".
AccountPagesWindow {
    page: "root"
}
