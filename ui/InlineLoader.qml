import QtQuick
import Vorna.Ui

// The small brand loader for buttons and rows: a 26-point slate tile, looping.
BrandLoader {
    size: 26
    tile: true
}
