import QtQuick
import Vorna.Ui
import Vorna.Images

// Airport names in the interface language with their country flags, from the bundled tables.
Rectangle {
    color: Theme.paper

    Grid {
        anchors.fill: parent
        anchors.margins: 24
        columns: 3
        columnSpacing: 28
        rowSpacing: 14

        Repeater {
            model: ["ZBAA", "ZBAD", "ZSPD", "ZSSS", "ZGGG", "ZUUU", "ZUTF", "VHHH", "VMMC", "RCTP", "RCSS", "RCKH",
                "ZSAM", "ZWWW", "EGLL", "KJFK", "KLAX", "OMDB", "RJTT", "RKSI", "WSSS", "YSSY", "LFPG", "EDDF",
                "EHAM", "LTFM", "NZAA", "CYYZ", "SBGR", "FAOR", "VIDP", "WMKK", "ZYHB"]

            delegate: Row {
                id: entry

                required property string modelData

                width: 330
                spacing: 10

                Text {
                    text: AirportNames.flag(entry.modelData)
                    font.pixelSize: Typography.title
                }

                Column {
                    anchors.verticalCenter: parent.verticalCenter

                    Text {
                        text: AirportNames.name(entry.modelData)
                        font.pixelSize: Typography.body
                        color: Theme.ink
                    }

                    Text {
                        text: entry.modelData
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                    }
                }
            }
        }
    }
}
