import Vorna.Screenshots

// Tab moves the focus ring from "下载" to "稍后".
UpdateWindow {
    typed: ["", "\t"]
}
