import QtQuick
import Vorna.Ui

// The opening animation frozen at 350 ms.
BrandIntro {
    fixedTime: 350
}
