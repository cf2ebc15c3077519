import QtQuick
import Vorna.Ui

// The opening animation frozen at 1100 ms.
BrandIntro {
    fixedTime: 1100
}
