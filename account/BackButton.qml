import QtQuick
import Vorna.Ui

// "返回" at the top of a page pushed on a stack.
GlassButton {
    text: L.t("返回")
    symbol: "chevron.left"
}
