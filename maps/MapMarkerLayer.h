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

// Thousands of markers in one scene-graph node: silhouettes from one atlas, each at its coordinate, turned
// to its heading, in its size and colour. The model's rows are the markers, later rows on top; its roles by
// name: "latitude", "longitude" (degrees), "heading" (degrees, clockwise from north), "size" (points),
// "color" and "symbol" (0 an airliner, 1 a light aircraft).
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
        QRgb color = 0xff000000;
        int symbol = 0;
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
    // Where each marker's copies stand in the item, as the last placement saw them.
    template <typename Visit>
    void forEachPlaced(Visit visit) const;

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    std::vector<Marker> m_markers;
    // The atlas cell of each marker's (symbol, colour), and the cells' order.
    std::vector<int> m_cells;
    std::vector<QPair<int, QRgb>> m_cellKeys;
    bool m_atlasChanged = true;
    MapFrame m_frame;
};
