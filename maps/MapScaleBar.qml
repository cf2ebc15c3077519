import QtQuick
import Vorna.Maps
import Vorna.Ui

// A scale bar for `map`: the longest round length (1, 2 or 5 times a power of ten) that fits `maximumWidth`.
Item {
    id: bar

    required property MapView map
    property real maximumWidth: 120

    readonly property real metres: {
        const most = map.metresPerPixel * maximumWidth;
        const power = Math.pow(10, Math.floor(Math.log(most) / Math.LN10));
        const steps = [5, 2, 1];
        for (let i = 0; i < steps.length; ++i) {
            if (steps[i] * power <= most)
                return steps[i] * power;
        }
        return power;
    }

    implicitWidth: Math.max(line.width, caption.implicitWidth)
    implicitHeight: caption.implicitHeight + 6

    Text {
        id: caption
        text: bar.metres >= 1000 ? L.t("%@ 公里", [bar.metres / 1000]) : L.t("%@ 米", [bar.metres])
        font.pixelSize: 11
        font.weight: Font.DemiBold
        color: Theme.ink
        style: Text.Outline
        styleColor: Theme.dark ? "#000000" : "#ffffff"
    }
    Rectangle {
        id: line
        y: caption.implicitHeight + 2
        width: bar.metres / bar.map.metresPerPixel
        height: 3
        radius: 1.5
        color: Theme.ink
        border.color: Theme.dark ? "#000000" : "#ffffff"
        border.width: 0.5
    }
}
