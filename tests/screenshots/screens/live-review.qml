import Vorna.Screenshots
import Vorna.Live

// A reviewer's list: every member's applications, each with its applicant, each opening its review.
LiveWindow {
    username: "wangfang"
    tab: LiveTabModel.Applications
}
