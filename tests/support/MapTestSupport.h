#pragma once

// The map item in a window of its own, for the tests that look at what it draws and how it moves.
#include "MapView.h"

#include <QQuickWindow>

#include <functional>

namespace TestSupport {

// A map of 800 x 600 filling a window of that size, on screen; `prepare` sets the map up before the window
// shows.
struct MapWindow
{
    explicit MapWindow(const std::function<void(MapView &)> &prepare = {})
    {
        window.resize(800, 600);
        map->setSize({800, 600});
        if (prepare)
            prepare(*map);
        window.show();
    }

    QQuickWindow window;
    MapView *map = new MapView(window.contentItem());
};

} // namespace TestSupport
