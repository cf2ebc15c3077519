#pragma once

#include "MapMath.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QGeoCoordinate>
#include <QImage>
#include <QPointer>
#include <QQuickItem>

#include <vector>

class MapView;

// Thousands of markers in one scene-graph node: the aircraft silhouette filled and outlined, each at its
// coordinate, turned to its heading, in its size, with a shadow that always falls downwards. Each drawing
// is a cell of one atlas rasterised at the window's device-pixel ratio. The model's rows are the markers,
// later rows on top; its roles by name: "latitude", "longitude" (degrees), "heading" (degrees, clockwise
// from north), "size" (points, the side of the silhouette's square), "fill" and "outline" (colours; an
// ordinary marker's ink and white when missing).
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
        double size = 24;
        QRgb fill = 0;
        QRgb outline = 0;
    };
    // One drawing in the atlas: a marker's colours at a size, or, with no colours, the shadow at a size.
    struct Cell
    {
        QRgb fill = 0;
        QRgb outline = 0;
        // The side of the silhouette's square in half points.
        int halfPoints = 0;
        friend bool operator==(const Cell &, const Cell &) = default;
    };

    explicit MapMarkerLayer(QQuickItem *parent = nullptr);
    ~MapMarkerLayer() override;

    QAbstractItemModel *model() const { return m_model; }
    void setModel(QAbstractItemModel *model);

    // The row of the topmost marker under an item point, or -1.
    Q_INVOKABLE int markerAt(const QPointF &point) const;

    QList<QGeoCoordinate> coordinates() const;
    void place(const MapView &map);

signals:
    void modelChanged();
    // A click on the marker of this row.
    void clicked(int row);

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *) override;

private:
    void reload();
    int cellOf(const Cell &cell);
    // Where each marker's copies stand in the item, as the last placement saw them.
    template <typename Visit>
    void forEachPlaced(Visit visit) const;

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    std::vector<Marker> m_markers;
    // The atlas cells of each marker (its drawing, its shadow), and the cells' order.
    std::vector<std::pair<int, int>> m_cells;
    std::vector<Cell> m_cellKeys;
    bool m_atlasChanged = true;
    double m_atlasRatio = 0;
    // Where each cell lies in the atlas, in texture coordinates.
    std::vector<QRectF> m_cellRects;
    MapFrame m_frame;
};
