import QtQuick
import Vorna.Ui

// The opening animation, played once over the first window.
BrandStage {
    objectName: "brand.intro"
    once: true
    Accessible.role: Accessible.Animation
    Accessible.name: L.t("VORNA 开场动画")
}
