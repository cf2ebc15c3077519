import Vorna.Screenshots
import Vorna.Live

// A member's first page of applications, with "加载更多" for the next.
LiveWindow {
    tab: LiveTabModel.Applications
}
