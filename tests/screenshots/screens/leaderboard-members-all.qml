import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": members ranked by flight time, all time.
LeaderboardWindow {
    board: LeaderboardModel.Members
    period: LeaderboardModel.Total
}
