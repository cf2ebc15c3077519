#pragma once

#include "MapMath.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QGeoCoordinate>
#include <QPointer>
#include <QQuickItem>

#include <vector>

class MapView;

namespace MarkerDrawing {
class MarkerCanvas;
}

// Thousands of markers in one scene-graph node: the aircraft silhouette filled and outlined, each at its
// coordinate, turned to its heading, in its size, with a shadow that always falls downwards.
// The model's rows are the markers, later rows on top; its roles by name: "latitude", "longitude"
// (degrees), "heading" (degrees, clockwise from north), "size" (points, the side of the silhouette's
// square), "fill" and "outline" (colours; an ordinary marker's ink and white when missing), and for the
// markers' accessible names "callsign" and "aircraft" (texts, either may be missing).
//
// Drawing: each size class (sizes to the half point) has one cell of masks in an atlas rasterised at the
// window's device-pixel ratio (the fill, the outline, the blurred shadow); the atlas keeps the cells it
// has drawn, so sizes that come back with a zoom level find theirs. A marker is one kite of two triangles
// over its silhouette and its shadow, coloured per vertex. The kites are laid out once for a camera and
// stay while the map pans and zooms (the camera moves them in the vertex shader); they are laid out again
// when the markers change, or when the camera leaves the band they were laid out for. While the map only
// pans, the markers are drawn once into a texture a little larger than the map, which then moves with it;
// while it zooms, the texture is scaled with it (up to twice or half its size), and drawn afresh when the
// zoom pauses, for longer than its frames have lately come apart. Qt's software renderer has no shaders:
// there the markers are a picture a little larger than the map, painted from sprites on a worker thread
// (never on the item's or the render thread) when the markers change, when a zoom has ended or when a pan
// leaves the picture's margin; meanwhile the last picture is moved with the map and, while it zooms, scaled
// with it.
// The drawing's parts are internal to maps/, in namespace MarkerDrawing: MarkerDrawing.h names their files.
//
// Accessibility: the layer is a group whose children are the markers in view, one button each, named
// "%@，%@，查看飞行详情" with the callsign (or "飞机") and the aircraft; pressing one is a click on it. They
// are interfaces made on demand, not items.
class MapMarkerLayer : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QAbstractItemModel *model READ model WRITE setModel NOTIFY modelChanged)

public:
    struct Marker
    {
        QPointF world;
        double heading = 0;
        // The side of the drawn silhouette's square, in points: the model's size to the half point.
        double size = 24;
        QRgb fill = 0;
        QRgb outline = 0;
        // The marker's cell in the atlas.
        int cell = 0;
    };

    explicit MapMarkerLayer(QQuickItem *parent = nullptr);
    ~MapMarkerLayer() override;

    QAbstractItemModel *model() const { return m_model; }
    void setModel(QAbstractItemModel *model);

    // The row of the topmost marker under an item point, or -1.
    Q_INVOKABLE int markerAt(const QPointF &point) const;

    QList<QGeoCoordinate> coordinates() const;
    void place(const MapView &map);

    // The rows whose drawn silhouette reaches into the layer, in drawing order (the topmost last).
    QList<int> markersInView() const;
    // The box of a row's drawn silhouette, turned to its heading, in item coordinates: the copy nearest the
    // middle. Empty for a row that is not there.
    QRectF markerBox(int row) const;
    // A row's accessible name: "%@，%@，查看飞行详情" with its callsign, or "飞机", and its aircraft.
    QString accessibleName(int row) const;
    int markerCount() const { return int(m_markers.size()); }

    // What the last frame drew, for the frame benchmark: the markers laid out (none when the frame only
    // moved the cached picture), the device pixels blended for them, and whether the frame was such a move;
    // and the size classes whose cells the atlas has drawn so far, in all.
    struct FrameStats
    {
        int markers = 0;
        double pixels = 0;
        bool cached = false;
        int cellsDrawn = 0;
        // Software: how long the last picture of the markers took to paint, on a worker thread. How many
        // pictures of the markers have been painted (software) or drawn into the cached texture in all.
        double paintMs = 0;
        int pictures = 0;
        // The picture shows the markers as they are now, for the camera now (always, through a graphics
        // device, where the frame draws them itself).
        bool current = true;
    };
    FrameStats frameStats() const;

signals:
    void modelChanged();
    // A click on the marker of this row.
    void clicked(int row);

protected:
    void geometryChange(const QRectF &now, const QRectF &before) override;

private:
    friend class MarkerDrawing::MarkerCanvas;
    void reload();
    // Where each marker's copies stand in the item, as the last placement saw them.
    template <typename Visit>
    void forEachPlaced(const MapFrame &frame, QSizeF area, Visit visit) const;

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    std::vector<Marker> m_markers;
    // The sizes of the atlas's cells, in half points, in the cells' order.
    std::vector<int> m_cellSizes;
    bool m_cellsChanged = true;
    MapFrame m_frame;
    MarkerDrawing::MarkerCanvas *m_canvas = nullptr;
};
