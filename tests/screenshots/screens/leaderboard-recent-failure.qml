import QtQuick
import Vorna.Screenshots
import Vorna.Community

// The recent period while the service fails it: the error notice with its retry, above no board.
LeaderboardWindow {
    period: LeaderboardModel.Recent
    Component.onCompleted: SampleService.failWithPage("/api/member/pirep-leaderboard?period=recent", 500)
}
