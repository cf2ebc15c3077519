import QtQuick
import Vorna.Ui

// The opening animation frozen while the shine crosses the name.
BrandIntro {
    fixedTime: 1560
}
