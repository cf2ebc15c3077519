import QtQuick
import Vorna.Screenshots

// A board with nobody on it yet: the members board of a new organisation, with its empty card.
LeaderboardWindow {
    Component.onCompleted: SampleService.answer("/api/member/pirep-leaderboard", {
        "members": [],
        "aircraft": [],
        "airports": [],
        "reviewers": []
    })
}
