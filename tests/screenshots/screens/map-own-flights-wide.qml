import Vorna.Screenshots

// The own-flights picker in the side card of a wide window, over a map paused after 15 idle minutes with
// an older failure still shown.
MapPanelsStage {
    ownIds: ["lv-207", "lv-112", "lv-145"]
    choosing: true
    paused: true
    error: "暂时取不到最新数据，地图显示的是之前的数据，可以点“刷新”重试。"
}
