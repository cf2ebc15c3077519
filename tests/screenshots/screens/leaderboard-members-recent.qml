import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": members ranked by flight time, the recent 30 days.
LeaderboardWindow {
    board: LeaderboardModel.Members
    period: LeaderboardModel.Recent
}
