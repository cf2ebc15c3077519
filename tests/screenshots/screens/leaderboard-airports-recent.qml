import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": arrival airports, the recent 30 days.
LeaderboardWindow {
    board: LeaderboardModel.Airports
    period: LeaderboardModel.Recent
}
