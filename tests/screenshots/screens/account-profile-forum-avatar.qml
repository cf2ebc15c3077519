import Vorna.Screenshots

// "lichen" took his avatar from the forum: the pending picture shows in place of his current one.
AccountWindow {
    form: "edit"
    forumAvatar: true
}
