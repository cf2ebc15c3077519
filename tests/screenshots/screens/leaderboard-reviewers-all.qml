import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": reviewers with their merged counts, all time.
LeaderboardWindow {
    board: LeaderboardModel.Reviews
    period: LeaderboardModel.Total
}
