import QtQuick
import Vorna.State
import Vorna.Account

// The saved accounts over the sign-in form, made afresh at each opening (a new presentation). The window makes
// it by address, so the account screens are compiled when it first opens, not at each start.
AccountSwitcherView {
    color: "transparent"
}
