#pragma once

#include "MapMarkerLayer.h"
#include "MarkerAtlas.h"

#include <QImage>
#include <QMutex>
#include <QPointF>
#include <QSizeF>

#include <optional>
#include <vector>

// The markers where Qt's software renderer draws the window: a picture of them, painted from sprites on a
// worker thread.
namespace MarkerDrawing {

// What a picture of the markers is painted from: a copy of the markers and the camera, taken on the item's
// thread, so the painting needs nothing of the item.
struct PictureOrder
{
    std::vector<MapMarkerLayer::Marker> markers;
    std::vector<int> cellSizes;
    MapFrame frame;
    // The picture's size in points and where the camera's centre stands on it.
    QSizeF size;
    QPointF centre;
    double ratio = 1;
};

struct Picture
{
    QImage image;
    PictureOrder order;
    MapMarkerLayer::FrameStats stats;
};

// Paints the software renderer's pictures of the markers on a worker thread, one at a time, with sprites
// it keeps from one picture to the next; the item takes each finished picture on its own thread.
class PicturePainter
{
public:
    void paint(PictureOrder order);

    // The picture finished last, once.
    std::optional<Picture> take();

private:
    MarkerSprites m_sprites;
    int m_pictures = 0;
    QMutex m_lock;
    std::optional<Picture> m_done;
};

} // namespace MarkerDrawing
