import Vorna.Screenshots

// The must-change account's first login: the password form under its banner, with "退出登录".
AccountWindow {
    username: "zhouning"
    password: "temporary-123"
    form: "password"
}
