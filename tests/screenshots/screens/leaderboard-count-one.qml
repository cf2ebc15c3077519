import QtQuick
import Vorna.Screenshots

// A young board where the member "lichen" has one approved landing: the count reads in the singular in
// English ("1 landing"), beside a member with two.
LeaderboardWindow {
    Component.onCompleted: SampleService.answer("/api/member/pirep-leaderboard", {
        "members": [
            {"username": "zhangwei", "displayName": "张伟", "approvedCount": 2, "approvedMinutes": 135, "approvedLandings": 2},
            {"username": "lichen", "displayName": "李辰", "approvedCount": 1, "approvedMinutes": 72, "approvedLandings": 1}
        ],
        "aircraft": [
            {"aircraft": "Airbus A320", "livery": "China Eastern", "flights": 1, "minutes": 72, "landings": 1}
        ],
        "airports": [
            {"airport": "VHHH", "landings": 1}
        ],
        "reviewers": [
            {"username": "wangfang", "displayName": "王芳", "reviews": 1}
        ]
    })
}
