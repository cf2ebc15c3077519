import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": arrival airports, all time.
LeaderboardWindow {
    board: LeaderboardModel.Airports
    period: LeaderboardModel.Total
}
