pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vorna.Ui
import Vorna.Maps

// The flight search: the flights it is given, found by callsign or the pilot's community name and
// narrowed by aircraft and livery. A pick is handed to `choose`; closing is the presenter's part, so the
// view never closes itself. Its text and filters start empty each time it is made.
FocusScope {
    id: view

    property liveFlights flights
    readonly property FlightSearchModel model: search
    signal close
    signal choose(liveFlight flight)

    FlightSearchModel {
        id: search

        flights: view.flights
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Text {
                Layout.fillWidth: true
                text: L.t("搜索航班")
                elide: Text.ElideRight
                font.pixelSize: Typography.headline
                font.weight: Font.DemiBold
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            GlassButton {
                objectName: "flightSearch.close"
                text: L.t("关闭")
                Accessible.name: text
                onClicked: view.close()
            }
        }
        FormField {
            id: field

            Layout.fillWidth: true
            objectName: "flightSearch.query"
            placeholderText: L.t("呼号或 IFC 用户名")
            text: search.query
            focus: true
            onTextEdited: search.query = text
            Keys.onDownPressed: rowKeys.enter()
        }
        // The arrows move the current row with its ring; Return takes the row that has it.
        ListKeys {
            id: rowKeys

            view: results
        }
        RevealFocus {
            flickable: results
        }
        // The filters, and the no-results view where nothing matches. In a low window they scroll, rather
        // than run past the card: where nothing matches they take the room the list would have, and beside a
        // list they give way to it down to their first rows. Inset by the focus ring's reach, so the edge does
        // not cut a filter's ring. They fill as the list does (up to their whole height beside it): an item that
        // does not fill keeps its preferred height, and with "清除筛选" shown the card would run past its bottom.
        // In the smallest window the filters stand whole above the list's first rows, and give way to it as they
        // grow.
        Flickable {
            id: filterArea

            readonly property real whole: filters.implicitHeight + 8

            Layout.fillWidth: true
            Layout.preferredHeight: filterArea.whole
            Layout.minimumHeight: Math.min(filterArea.whole, 84)
            Layout.maximumHeight: search.noResults ? Infinity : filterArea.whole
            Layout.fillHeight: true
            contentWidth: width
            contentHeight: filterArea.whole
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollIndicator.vertical: ScrollIndicator {}

            ColumnLayout {
                id: filters

                x: 4
                y: 4
                width: filterArea.width - 8
                spacing: 12

                Text {
                    text: L.t("筛选")
                    font.pixelSize: Typography.caption
                    font.weight: Font.DemiBold
                    color: Theme.muted
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                ChoiceMenu {
                    objectName: "flightFilter.aircraft"
                    title: L.t("机型")
                    choices: search.aircraftChoices
                    current: search.aircraft
                    onChosen: value => search.aircraft = value
                }
                ChoiceMenu {
                    objectName: "flightFilter.livery"
                    title: L.t("涂装")
                    choices: search.liveryChoices
                    current: search.livery
                    onChosen: value => search.livery = value
                }
                BorderedButton {
                    objectName: "flightFilter.clear"
                    visible: search.filtered
                    text: L.t("清除筛选")
                    Accessible.name: text
                    onClicked: search.clearFilters()
                }
                ColumnLayout {
                    objectName: "flightSearch.empty"
                    Layout.fillWidth: true
                    Layout.topMargin: 12
                    visible: search.noResults
                    spacing: 8

                    Symbol {
                        Layout.alignment: Qt.AlignHCenter
                        name: "magnifyingglass"
                        size: 34
                        color: Theme.muted
                    }
                    Text {
                        Layout.fillWidth: true
                        text: search.query.length > 0 ? L.t("没有“%@”的结果", [search.query]) : L.t("无结果")
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.title3
                        font.weight: Font.Bold
                        color: Theme.ink
                    }
                    Text {
                        Layout.fillWidth: true
                        objectName: "flightSearch.advice"
                        text: L.t("请检查拼写或尝试新的搜索。")
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.Wrap
                        font.pixelSize: Typography.subheadline
                        color: Theme.muted
                    }
                }
            }
        }
        RevealFocus {
            flickable: filterArea
        }
        ListView {
            id: results

            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: Math.min(contentHeight, 90)
            visible: !search.noResults
            clip: true
            model: search.results
            keyNavigationEnabled: true
            boundsBehavior: Flickable.StopAtBounds

            delegate: ItemDelegate {
                id: row

                required property int index
                required property string callsign
                required property string pilot
                required property string detail

                objectName: "flightSearch.result"
                width: ListView.view.width
                topPadding: 8
                bottomPadding: 8
                leftPadding: 8
                rightPadding: 8
                focusPolicy: Qt.StrongFocus
                Accessible.name: ViewRules.combined([row.callsign, row.pilot, row.detail])
                onClicked: view.choose(search.flightAt(row.index))

                background: Rectangle {
                    radius: 8
                    color: row.hovered ? Qt.alpha(Theme.ink, 0.05) : "transparent"

                    Rectangle {
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.bottom: parent.bottom
                        anchors.leftMargin: 8
                        height: 1
                        color: Theme.line
                    }
                    // Inside the row: the list clips what stands outside it.
                    FocusRing {
                        control: row
                        spread: 0
                        radius: parent.radius
                    }
                }
                contentItem: ColumnLayout {
                    spacing: 3

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8

                        Text {
                            Layout.fillWidth: true
                            text: row.callsign
                            elide: Text.ElideRight
                            font.pixelSize: Typography.headline
                            font.weight: Font.DemiBold
                            color: Theme.ink
                            Accessible.ignored: true
                        }
                        Text {
                            visible: row.pilot.length > 0
                            text: row.pilot
                            font.pixelSize: Typography.subheadline
                            color: Theme.muted
                            Accessible.ignored: true
                        }
                    }
                    Text {
                        Layout.fillWidth: true
                        text: row.detail
                        elide: Text.ElideRight
                        font.pixelSize: Typography.caption
                        color: Theme.muted
                        Accessible.ignored: true
                    }
                }
            }
        }
    }
}
