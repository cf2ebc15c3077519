#include "RasterTiles.h"

#include "ByteReader.h"
#include "MapsLog.h"

namespace {

constexpr int tileSide = 256;
// Levels a layer may hold: a column and a row fit in 16 bits.
constexpr int levelLimit = 16;
constexpr int gutterLimit = 64;
constexpr size_t decodedKept = 12;

quint64 keyOf(int level, int x, int y) { return (quint64(level) << 40) | (quint64(x) << 20) | quint64(y); }

RasterTiles loaded(const QString &path)
{
    RasterTiles layer = RasterTiles::decode(bundledBytes(path));
    if (layer.isEmpty())
        qCWarning(lcMaps) << "the bundled raster layer" << path << "is missing: the map shows none";
    return layer;
}

} // namespace

RasterTiles::RasterTiles(RasterTiles &&other) noexcept
    : m_bytes(std::move(other.m_bytes))
    , m_source(std::move(other.m_source))
    , m_deepest(other.m_deepest)
    , m_gutter(other.m_gutter)
    , m_index(std::move(other.m_index))
{
}

RasterTiles &RasterTiles::operator=(RasterTiles &&other) noexcept
{
    m_bytes = std::move(other.m_bytes);
    m_source = std::move(other.m_source);
    m_deepest = other.m_deepest;
    m_gutter = other.m_gutter;
    m_index = std::move(other.m_index);
    const QMutexLocker lock(&m_lock);
    m_decoded.clear();
    return *this;
}

const RasterTiles &RasterTiles::relief()
{
    static const RasterTiles layer = loaded(QStringLiteral(":/maps/relief.bin"));
    return layer;
}

const RasterTiles &RasterTiles::imagery()
{
    static const RasterTiles layer = loaded(QStringLiteral(":/maps/imagery.bin"));
    return layer;
}

RasterTiles RasterTiles::decode(const QByteArray &bytes)
{
    if (!bytes.startsWith("VRST"))
        return {};
    ByteReader in(bytes);
    in.skip(4);
    if (in.u32() != 2)
        return {};
    RasterTiles layer;
    const quint32 length = in.u32();
    layer.m_source = QString::fromUtf8(bytes.mid(in.at(), length));
    in.skip(length);
    layer.m_deepest = in.u8();
    layer.m_gutter = in.u8();
    // Each tile takes nine bytes of its own at least.
    const quint64 count = in.count(in.u32(), 9);
    if (!in.ok() || layer.m_deepest >= levelLimit || layer.m_gutter > gutterLimit)
        return {};
    for (quint64 i = 0; i < count && in.ok(); ++i) {
        const int level = in.u8();
        const int x = in.u16();
        const int y = in.u16();
        const quint32 size = in.u32();
        const qsizetype at = in.at();
        in.skip(size);
        if (level > layer.m_deepest || x >= (1 << level) || y >= (1 << level))
            return {};
        layer.m_index.insert(keyOf(level, x, y), {at, qsizetype(size)});
    }
    if (!in.ok() || in.remaining() != 0)
        return {};
    layer.m_bytes = bytes;
    return layer;
}

QImage RasterTiles::picture(int level, int x, int y) const
{
    const quint64 key = keyOf(level, x, y);
    const auto found = m_index.constFind(key);
    if (found == m_index.cend())
        return {};
    {
        const QMutexLocker lock(&m_lock);
        for (auto it = m_decoded.begin(); it != m_decoded.end(); ++it) {
            if (it->first == key) {
                m_decoded.splice(m_decoded.begin(), m_decoded, it);
                return it->second;
            }
        }
    }
    // Decoded outside the lock: tiles drawn side by side on several threads decode side by side.
    // In one format, so joining the pictures of neighbours copies their pixels as they are.
    const QImage picture = QImage::fromData(QByteArrayView(m_bytes).sliced(found->first, found->second))
                               .convertToFormat(QImage::Format_RGB32);
    if (picture.size() != QSize(tileSide + 2 * m_gutter, tileSide + 2 * m_gutter))
        return {};
    const QMutexLocker lock(&m_lock);
    m_decoded.emplace_front(key, picture);
    if (m_decoded.size() > decodedKept)
        m_decoded.pop_back();
    return picture;
}

std::optional<RasterTiles::Cover> RasterTiles::cover(int level, int x, int y, int margin) const
{
    if (m_deepest < 0 || level < 0 || y < 0 || y >= (1 << std::min(level, 30)))
        return std::nullopt;
    const int count = 1 << std::min(level, 30);
    x = ((x % count) + count) % count;
    const int up = std::max(0, level - m_deepest);
    const int column = x >> up;
    const int row = y >> up;
    const QImage found = picture(level - up, column, row);
    if (found.isNull())
        return std::nullopt;
    // Below the deepest level, the tile is a square of the deepest one, 2^up times smaller.
    const double side = double(tileSide) / double(1LL << up);
    const QRectF part(((x - (column << up)) * side), ((y - (row << up)) * side), side, side);
    margin = std::min(margin, m_gutter);
    if (margin <= 0)
        return Cover{found, part.translated(m_gutter, m_gutter)};

    // The part with its margin in the pixels of the source level's whole world.
    const QPoint corner(column * tileSide, row * tileSide);
    const int worldSide = tileSide << (level - up);
    QRect taken = part.translated(corner).toAlignedRect().adjusted(-margin, -margin, margin, margin);
    taken.setTop(std::max(0, taken.top()));
    taken.setBottom(std::min(worldSide - 1, taken.bottom()));
    const QImage &own = found;
    QImage joined(taken.size(), QImage::Format_RGB32);
    const int tiles = 1 << (level - up);
    const auto tileOf = [](int pixel) { return int(std::floor(double(pixel) / tileSide)); };
    for (int ty = tileOf(taken.top()); ty <= tileOf(taken.bottom()); ++ty) {
        for (int tx = tileOf(taken.left()); tx <= tileOf(taken.right()); ++tx) {
            const QRect overlap = taken & QRect(tx * tileSide, ty * tileSide, tileSide, tileSide);
            const QImage neighbour =
                tx == column && ty == row ? own : picture(level - up, ((tx % tiles) + tiles) % tiles, ty);
            // Where the picture's own pixels lie: in the neighbour, else in the own tile's gutter.
            const QImage &from = neighbour.isNull() ? own : neighbour;
            const QPoint origin = (neighbour.isNull() ? corner : QPoint(tx * tileSide, ty * tileSide))
                                  - QPoint(m_gutter, m_gutter);
            for (int py = overlap.top(); py <= overlap.bottom(); ++py) {
                const auto *line = reinterpret_cast<const QRgb *>(from.constScanLine(py - origin.y()));
                auto *to = reinterpret_cast<QRgb *>(joined.scanLine(py - taken.top()));
                for (int px = overlap.left(); px <= overlap.right(); ++px)
                    to[px - taken.left()] = line[px - origin.x()];
            }
        }
    }
    return Cover{joined, part.translated(corner - taken.topLeft())};
}
