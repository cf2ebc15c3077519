#pragma once

#include "MapMarkerLayer.h"
#include "MarkerPicture.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QFutureWatcher>
#include <QImage>
#include <QMutex>
#include <QQuickItem>
#include <QTimer>

#include <memory>

class QSGImageNode;

namespace MarkerDrawing {

class MarkerNode;

// The item the markers are drawn in. It covers the map while the camera zooms; while it only pans, it
// is a texture layer a margin larger than the map, drawn once for one camera and moved.
class MarkerCanvas : public QQuickItem
{
public:
    explicit MarkerCanvas(MapMarkerLayer *layer);
    ~MarkerCanvas() override;

    // `cached`: the camera has the zoom of the frame before; `moving`: it is on its way.
    void drawFor(const MapFrame &frame, bool cached, bool moving);

    MapMarkerLayer::FrameStats stats() const;

    // Everything needs laying out again: the markers changed.
    void invalidate();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *) override;

private:
    void layOut(MarkerNode &node, double ratio);
    QSGNode *showPicture(QSGImageNode *node);
    // The atlas's cells for the layer's sizes: those not drawn before at this ratio drawn, the rest kept.
    void prepareCells(MarkerNode &node, double ratio);
    // Software: lays the last picture where its camera puts it for the camera now, scaled while the map
    // zooms, and has a new one painted when the markers changed, the zoom has ended with another scale, or
    // the map has panned past the picture's margin.
    void placePicture();
    // The window's device pixels to a point.
    double pixelRatio() const;
    // The picture's size: the map's with the cache margin on each side, in whole device pixels.
    QSizeF pictureSize(double ratio) const;
    // A position in the layer moved onto whole device pixels of the window, so a picture is laid on the
    // screen texel for pixel.
    QPointF onDevicePixels(QPointF at, double ratio) const;
    void paintPicture(const QSizeF &size, double ratio);
    void takePicture();

    MapMarkerLayer *m_layer;
    bool m_cached = false;
    bool m_relayout = true;
    // The camera the cached picture was drawn for, which the markers are laid out and painted with.
    MapFrame m_cacheFrame;
    mutable QMutex m_statsLock;
    MapMarkerLayer::FrameStats m_stats;

    // The camera now. Software: whether it zooms; the picture shown and what it was painted for.
    MapFrame m_now;
    // Through a graphics device: draws the markers afresh once a zoom that scaled the cached picture pauses;
    // how far apart the camera's changes have lately come, and when the last one came; the pictures drawn.
    QTimer m_sharpen;
    double m_paceMs = 0;
    QElapsedTimer m_lastChange;
    int m_drawn = 0;
    bool m_zooming = false;
    std::shared_ptr<PicturePainter> m_painter = std::make_shared<PicturePainter>();
    // The picture being painted. Its end is told by the watcher, once the painting no longer counts as
    // running: what changed meanwhile, and was held back, is painted then.
    QFutureWatcher<void> m_painting;
    // A picture is on its way; the one shown is not of the markers and camera as they are now.
    bool m_waiting = false;
    bool m_stale = true;
    QImage m_picture;
    bool m_pictureChanged = false;
    PictureOrder m_shown;
};

} // namespace MarkerDrawing
