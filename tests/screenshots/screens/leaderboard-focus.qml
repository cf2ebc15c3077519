import Vorna.Screenshots
import Vorna.Community

// The members board by landings after four Tabs: the focused segment of the period picker shows its ring.
LeaderboardWindow {
    metric: LeaderboardModel.Landings
    typed: ["\t\t\t\t"]
}
