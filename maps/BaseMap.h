#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPolygonF>
#include <QRectF>

#include <list>
#include <memory>
#include <vector>

// The offline base map: land and country borders from the bundled ":/maps/basemap.bin", in world
// points (the unit square of MapMath), at two levels of detail.
class BaseMap
{
public:
    enum class Detail { World, Close };

    // Points rather than painter paths: a path keeps caches it fills in while drawn, so one path drawn on
    // several threads at once would race.
    struct Shape
    {
        QPolygonF points;
        QRectF bounds;
    };
    struct Layer
    {
        std::vector<Shape> land;
        std::vector<Shape> borders;
    };

    // Loaded once, on first use from any thread; empty when the bundled file is missing or malformed.
    static const BaseMap &bundled();
    static BaseMap decode(const QByteArray &bytes);

    const Layer &layer(Detail detail) const { return detail == Detail::World ? m_world : m_close; }
    bool isEmpty() const { return m_world.land.empty() && m_close.land.empty(); }

private:
    Layer m_world;
    Layer m_close;
};

// How a base map is coloured: "standard" (light land on water) or "hybrid" (the imagery's land on dark
// water, with bright borders), each in a light and a dark appearance; its place names stand out from the
// land by their halo.
struct MapPalette
{
    QColor water;
    QColor land;
    QColor coast;
    QColor border;
    QColor label;
    QColor halo;

    static MapPalette of(bool hybrid, bool dark);
    friend bool operator==(const MapPalette &, const MapPalette &) = default;
};

// Identifies one square tile of 256 points: zoom level, column and row (wrapped), device scale, palette,
// and whether the land shows its relief.
struct TileKey
{
    int zoom = 0;
    int x = 0;
    int y = 0;
    int scale = 1;
    bool hybrid = false;
    bool dark = false;
    bool relief = false;

    friend bool operator==(const TileKey &, const TileKey &) = default;
};
size_t qHash(const TileKey &key, size_t seed = 0);

class RasterTiles;

namespace Tiles {

// What a tile is drawn from: the vector land and borders, the relief laid over the land, and the imagery
// that fills the hybrid style's land.
struct Sources
{
    const BaseMap &map;
    const RasterTiles &relief;
    const RasterTiles &imagery;
};

// Draws one tile; safe on any thread. Without sources, from those the app carries.
QImage render(const Sources &sources, const TileKey &key);
QImage render(const TileKey &key);

} // namespace Tiles

// Finished tiles, the most recently used kept up to `capacity`.
class TileCache
{
public:
    explicit TileCache(qsizetype capacity);

    const QImage *find(const TileKey &key);
    void insert(const TileKey &key, QImage image);
    qsizetype size() const { return qsizetype(m_order.size()); }
    qsizetype capacity() const { return m_capacity; }

private:
    struct Entry
    {
        QImage image;
        std::list<TileKey>::iterator place;
    };
    qsizetype m_capacity;
    std::list<TileKey> m_order;
    QHash<TileKey, Entry> m_entries;
};
