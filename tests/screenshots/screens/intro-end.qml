import QtQuick
import Vorna.Ui

// The opening animation frozen at 1830 ms.
BrandIntro {
    fixedTime: 1830
}
