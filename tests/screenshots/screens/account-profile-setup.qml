import Vorna.Screenshots

// The new account's first login: the profile set-up, empty, with the banner and "退出登录".
AccountWindow {
    username: "xuhang"
    form: "profile"
}
