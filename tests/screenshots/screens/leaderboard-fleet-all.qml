import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": fleet cards (aircraft and livery), all time.
LeaderboardWindow {
    board: LeaderboardModel.Fleet
    period: LeaderboardModel.Total
}
