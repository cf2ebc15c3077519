import Vorna.Screenshots

// The password form after a new password too short for the rules and a save: the rules' message.
AccountWindow {
    username: "zhouning"
    password: "temporary-123"
    form: "password"
    typed: ["\ttemporary-123\tshort\tshort\t\r"]
}
