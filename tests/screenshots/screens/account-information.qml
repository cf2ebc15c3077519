import Vorna.Screenshots

// The account tab's "information" page of "lichen".
AccountPagesWindow {
    page: "information"
}
