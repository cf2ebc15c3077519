import Vorna.Screenshots
import Vorna.Community

// The leaderboard of "lichen": fleet cards (aircraft and livery), the recent 30 days.
LeaderboardWindow {
    board: LeaderboardModel.Fleet
    period: LeaderboardModel.Recent
}
