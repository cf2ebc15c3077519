import Vorna.Screenshots

// The account tab's "terms" page of "lichen".
AccountPagesWindow {
    page: "terms"
}
