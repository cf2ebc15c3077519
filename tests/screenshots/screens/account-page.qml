import Vorna.Screenshots

// The account tab's "page" page of "lichen".
AccountPagesWindow {
    page: "page"
}
