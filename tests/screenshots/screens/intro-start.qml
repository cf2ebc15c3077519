import QtQuick
import Vorna.App

// The opening animation frozen at 350 ms.
BrandIntro {
    fixedTime: 350
}
