import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": reviewers with their merged counts, the recent 30 days.
LeaderboardWindow {
    board: LeaderboardModel.Reviews
    period: LeaderboardModel.Recent
}
