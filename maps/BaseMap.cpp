#include "BaseMap.h"

#include "ByteReader.h"
#include "MapMath.h"
#include "MapsLog.h"
#include "RasterTiles.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

constexpr double quantum = 1 << 24;

} // namespace

const BaseMap &BaseMap::bundled()
{
    static const BaseMap map = [] {
        const QByteArray bytes = bundledBytes(QStringLiteral(":/maps/basemap.bin"));
        if (bytes.isEmpty())
            qCWarning(lcMaps, "the bundled base map is missing: the map shows no land");
        return decode(bytes);
    }();
    return map;
}

BaseMap BaseMap::decode(const QByteArray &bytes)
{
    BaseMap map;
    ByteReader in(bytes);
    if (!bytes.startsWith("VMAP"))
        return {};
    in.skip(4);
    if (in.u32() != 1)
        return {};
    in.skip(in.u32());
    const quint32 layers = quint32(in.count(in.u32(), 6));
    for (quint32 l = 0; l < layers && in.ok(); ++l) {
        const quint8 detail = in.u8();
        const quint8 kind = in.u8();
        Layer &layer = detail == 0 ? map.m_world : map.m_close;
        std::vector<Shape> &shapes = kind == 0 ? layer.land : layer.borders;
        const quint32 rings = quint32(in.count(in.u32(), 1));
        for (quint32 r = 0; r < rings && in.ok(); ++r) {
            // Every point takes two bytes at least.
            const quint64 count = in.count(in.varint(), 2);
            QPolygonF points;
            points.reserve(qsizetype(count));
            qint64 x = 0;
            qint64 y = 0;
            for (quint64 i = 0; i < count && in.ok(); ++i) {
                // A damaged file's steps may run past 64 bits: that ends the reading, it does not wrap.
                if (qAddOverflow(x, in.zigzag(), &x) || qAddOverflow(y, in.zigzag(), &y))
                    return {};
                points.append(QPointF(x / quantum, y / quantum));
            }
            shapes.push_back({points, points.boundingRect()});
        }
    }
    return in.ok() ? map : BaseMap{};
}

MapPalette MapPalette::of(bool hybrid, bool dark)
{
    // The hybrid style's water is the imagery's deep ocean, so the coast meets it without a seam; its names
    // are white on the imagery. The standard style's borders and names are dark enough to read on its light
    // land, light enough on its dark one.
    const QColor imageryLabel(0xff, 0xff, 0xff);
    const QColor imageryHalo(0, 0, 0, 0x99);
    if (hybrid) {
        return dark ? MapPalette{QColor(0x01, 0x07, 0x2c),
                                 QColor(0x23, 0x2c, 0x24),
                                 QColor(0x10, 0x1c, 0x3c),
                                 QColor(0xe8, 0xd9, 0xa8, 0xc0),
                                 imageryLabel,
                                 imageryHalo}
                    : MapPalette{QColor(0x02, 0x0a, 0x3a),
                                 QColor(0x3d, 0x4a, 0x35),
                                 QColor(0x1c, 0x2c, 0x50),
                                 QColor(0xf4, 0xe6, 0xb4, 0xd0),
                                 imageryLabel,
                                 imageryHalo};
    }
    return dark ? MapPalette{QColor(0x1b, 0x22, 0x2c), QColor(0x2e, 0x34, 0x3b),
                             QColor(0x46, 0x50, 0x5c), QColor(0x93, 0x8a, 0xa8),
                             QColor(0xdc, 0xe2, 0xea), QColor(0x14, 0x19, 0x20, 0xd0)}
                : MapPalette{QColor(0xbf, 0xdd, 0xf0), QColor(0xf3, 0xf0, 0xe6),
                             QColor(0x9e, 0xc2, 0xd8), QColor(0x8e, 0x7f, 0xa0),
                             QColor(0x3c, 0x38, 0x33), QColor(0xff, 0xff, 0xff, 0xd0)};
}

size_t qHash(const TileKey &key, size_t seed)
{
    return qHashMulti(seed, key.zoom, key.x, key.y, key.scale, key.hybrid, key.dark, key.relief);
}

namespace Tiles {

namespace {

// Past this level the relief is the deepest tile's few pixels spread over a whole tile: it fades out.
constexpr int reliefFadeFrom = 7;
constexpr int reliefFadeLevels = 2;

// A raster layer's cover of the tile, drawn over the whole tile. Below the layer's deepest level it comes
// with a pixel of the layer around it, laid past the tile's edges: the scaled-up pixels blend into those
// of the next tile, its source tile's neighbour too, instead of ending in a seam (at its own levels a pixel
// is a pixel, and the neighbours would only cost their decoding). False where the layer has nothing.
bool drawCover(QPainter &painter, const RasterTiles &layer, const TileKey &key, int pixels,
               const std::function<QImage(const QImage &)> &recolour = {})
{
    const auto cover = layer.cover(key.zoom, key.x, key.y, key.zoom > layer.deepestLevel() ? 1 : 0);
    if (!cover)
        return false;
    const double scale = pixels / cover->part.width();
    const QRectF target(-cover->part.x() * scale, -cover->part.y() * scale, cover->picture.width() * scale,
                        cover->picture.height() * scale);
    painter.drawImage(target, recolour ? recolour(cover->picture) : cover->picture);
    return true;
}

// The relief's grey as shade: darker than flat ground a shadow in black, lighter a highlight in white,
// each as opaque as it is far from flat.
QImage shadeOf(const QImage &relief)
{
    const QImage grey = relief.convertToFormat(QImage::Format_Grayscale8);
    QImage shade(grey.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *from = grey.constScanLine(y);
        auto *to = reinterpret_cast<QRgb *>(shade.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int away = from[x] - 128;
            const int alpha = std::min(255, std::abs(away) * 2);
            const int white = away > 0 ? alpha : 0;
            to[x] = qRgba(white, white, white, alpha);
        }
    }
    return shade;
}

// How strongly the relief shades the land: light land shows shadows best, the imagery has its own light.
double reliefStrength(const TileKey &key)
{
    const double style = key.hybrid ? 0.55 : key.dark ? 0.8 : 0.7;
    const double fade = 1.0 - std::clamp(double(key.zoom - reliefFadeFrom) / reliefFadeLevels, 0.0, 1.0);
    return style * fade;
}

} // namespace

QImage render(const Sources &sources, const TileKey &key)
{
    const int pixels = int(MapMath::tileSize) * key.scale;
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    const MapPalette palette = MapPalette::of(key.hybrid, key.dark);
    image.fill(palette.water);
    const double count = std::exp2(key.zoom);
    const QRectF tile(key.x / count, key.y / count, 1 / count, 1 / count);
    // A line may stick out of its shape's bounds by half its width.
    const QRectF reach =
        tile.adjusted(-tile.width() / 64, -tile.height() / 64, tile.width() / 64, tile.height() / 64);
    const BaseMap::Layer &layer =
        sources.map.layer(key.zoom < 4 ? BaseMap::Detail::World : BaseMap::Detail::Close);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QTransform world =
        QTransform::fromScale(pixels * count, pixels * count).translate(-tile.x(), -tile.y());
    painter.setTransform(world);
    QPainterPath land;
    land.setFillRule(Qt::OddEvenFill);
    // Shapes that cross the 180° meridian run past the world's edge: their copy a world away fills the rest.
    const auto visit = [&](const std::vector<BaseMap::Shape> &shapes, const auto &draw) {
        for (const BaseMap::Shape &shape : shapes) {
            for (int copy = -1; copy <= 1; ++copy) {
                if (shape.bounds.translated(copy, 0).intersects(reach))
                    draw(copy == 0 ? shape.points : shape.points.translated(copy, 0));
            }
        }
    };
    visit(layer.land, [&](const QPolygonF &points) {
        land.addPolygon(points);
        land.closeSubpath();
    });
    // The land's colour, or the imagery, then its relief: both inside the coastline, which is drawn over
    // their edge.
    if (!land.isEmpty()) {
        painter.setClipPath(land);
        painter.resetTransform();
        if (!key.hybrid || !drawCover(painter, sources.imagery, key, pixels))
            painter.fillRect(QRectF(0, 0, pixels, pixels), palette.land);
        if (const double strength = key.relief ? reliefStrength(key) : 0; strength > 0) {
            painter.setOpacity(strength);
            drawCover(painter, sources.relief, key, pixels, shadeOf);
            painter.setOpacity(1);
        }
        painter.setClipping(false);
        painter.setTransform(world);
    }
    QPen coast(palette.coast, 0.8 * key.scale);
    coast.setCosmetic(true);
    painter.setPen(coast);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(land);
    QPen border(palette.border, double(key.scale));
    border.setCosmetic(true);
    border.setJoinStyle(Qt::RoundJoin);
    painter.setPen(border);
    visit(layer.borders, [&](const QPolygonF &points) { painter.drawPolyline(points); });
    painter.end();
    // An image that was painted on keeps its paint engine, and with it the engine's buffers sized for the
    // longest coastline drawn, for as long as it lives: a cached tile keeps the pixels alone.
    return image.copy();
}

QImage render(const TileKey &key)
{
    return render({BaseMap::bundled(), RasterTiles::relief(), RasterTiles::imagery()}, key);
}

} // namespace Tiles

TileCache::TileCache(qsizetype capacity)
    : m_capacity(std::max<qsizetype>(capacity, 1))
{
}

const QImage *TileCache::find(const TileKey &key)
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return nullptr;
    m_order.splice(m_order.begin(), m_order, it->place);
    return &it->image;
}

void TileCache::insert(const TileKey &key, QImage image)
{
    if (const auto it = m_entries.find(key); it != m_entries.end()) {
        it->image = std::move(image);
        m_order.splice(m_order.begin(), m_order, it->place);
        return;
    }
    m_order.push_front(key);
    m_entries.insert(key, {std::move(image), m_order.begin()});
    while (qsizetype(m_order.size()) > m_capacity) {
        m_entries.remove(m_order.back());
        m_order.pop_back();
    }
}
