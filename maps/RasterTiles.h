#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QRectF>

#include <list>
#include <optional>

// A raster layer the app carries (tools/make_rasters.py writes them): Web-Mercator tiles of 256 pixels at
// the levels from 0 to the deepest, each a compressed picture with a gutter of the layer's pixels around
// it. A layer may leave tiles out where it has nothing to show (the relief over open water). Safe to read
// from any thread.
class RasterTiles
{
public:
    // ":/maps/relief.bin": a hillshade, 128 for flat ground, to be laid over the land (overlay blending).
    static const RasterTiles &relief();
    // ":/maps/imagery.bin": the Earth seen from space.
    static const RasterTiles &imagery();
    // Empty for bytes that are not a whole layer.
    static RasterTiles decode(const QByteArray &bytes);

    RasterTiles() = default;
    RasterTiles(RasterTiles &&other) noexcept;
    RasterTiles &operator=(RasterTiles &&other) noexcept;

    bool isEmpty() const { return m_index.isEmpty(); }
    int deepestLevel() const { return m_deepest; }
    int gutter() const { return m_gutter; }
    // Where the layer's source is credited.
    QString source() const { return m_source; }

    // What covers the tile of a level, column (wrapped) and row: the layer's own tile, or below its deepest
    // level the part of the deepest tile above it, with that part's rectangle in the picture's pixels (the
    // picture holds the tile's gutter around it). Nothing where the layer holds no tile.
    //
    // With a margin (at most the gutter), the picture is the part and that many pixels of its level around
    // it, taken from the neighbouring tiles themselves (across the 180° meridian too; none past the world's
    // top or bottom), so a picture scaled up with filtering runs on into the next tile exactly as that tile
    // starts, with no step at the edge. Where the layer leaves a neighbour out, the tile's gutter serves.
    struct Cover
    {
        QImage picture;
        QRectF part;
    };
    std::optional<Cover> cover(int level, int x, int y, int margin = 0) const;

private:
    QImage picture(int level, int x, int y) const;

    QByteArray m_bytes;
    QString m_source;
    int m_deepest = -1;
    int m_gutter = 0;
    // By level, column and row: where its picture's bytes lie.
    QHash<quint64, std::pair<qsizetype, qsizetype>> m_index;

    // The pictures decoded last: neighbouring tiles closer in than the deepest level share one.
    mutable QMutex m_lock;
    mutable std::list<std::pair<quint64, QImage>> m_decoded;
};
