#include "BaseMap.h"

#include "MapMath.h"
#include "MapsLog.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cmath>

namespace {

constexpr double quantum = 1 << 24;

class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    bool ok() const { return m_ok; }
    qsizetype remaining() const { return m_bytes.size() - m_at; }
    // A count that the bytes left cannot hold, each item taking at least `bytes`, ends the reading.
    quint64 count(quint64 value, qsizetype bytes)
    {
        if (value > quint64(remaining() / bytes))
            return fail();
        return value;
    }
    quint32 u32()
    {
        if (m_at + 4 > m_bytes.size())
            return fail();
        const quint32 value = qFromLittleEndian<quint32>(m_bytes.constData() + m_at);
        m_at += 4;
        return value;
    }
    quint8 u8()
    {
        if (m_at + 1 > m_bytes.size())
            return fail();
        return quint8(m_bytes.at(m_at++));
    }
    quint64 varint()
    {
        quint64 value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const quint8 byte = u8();
            value |= quint64(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        return fail();
    }
    qint64 zigzag()
    {
        const quint64 v = varint();
        return qint64(v >> 1) ^ -qint64(v & 1);
    }
    void skip(quint32 count)
    {
        if (m_at + qsizetype(count) > m_bytes.size())
            fail();
        else
            m_at += count;
    }

private:
    quint32 fail()
    {
        m_ok = false;
        m_at = m_bytes.size();
        return 0;
    }
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

} // namespace

const BaseMap &BaseMap::bundled()
{
    static const BaseMap map = [] {
        QFile file(QStringLiteral(":/maps/basemap.bin"));
        if (!file.open(QIODevice::ReadOnly)) {
            qCWarning(lcMaps, "the bundled base map is missing: the map shows no land");
            return BaseMap{};
        }
        return decode(file.readAll());
    }();
    return map;
}

BaseMap BaseMap::decode(const QByteArray &bytes)
{
    BaseMap map;
    Reader in(bytes);
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
    if (hybrid) {
        return dark ? MapPalette{QColor(0x0b, 0x14, 0x1f), QColor(0x23, 0x2c, 0x24), QColor(0x3a, 0x48, 0x52),
                                 QColor(0xe8, 0xd9, 0xa8, 0xc0)}
                    : MapPalette{QColor(0x12, 0x2a, 0x40), QColor(0x3d, 0x4a, 0x35), QColor(0x5a, 0x6e, 0x78),
                                 QColor(0xf4, 0xe6, 0xb4, 0xd0)};
    }
    return dark ? MapPalette{QColor(0x1b, 0x22, 0x2c), QColor(0x2e, 0x34, 0x3b), QColor(0x46, 0x50, 0x5c),
                             QColor(0x5d, 0x68, 0x75)}
                : MapPalette{QColor(0xbf, 0xdd, 0xf0), QColor(0xf3, 0xf0, 0xe6), QColor(0x9e, 0xc2, 0xd8),
                             QColor(0xc9, 0xbf, 0xb0)};
}

size_t qHash(const TileKey &key, size_t seed)
{
    return qHashMulti(seed, key.zoom, key.x, key.y, key.scale, key.hybrid, key.dark);
}

namespace Tiles {

QImage render(const BaseMap &map, const TileKey &key)
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
    const BaseMap::Layer &layer = map.layer(key.zoom < 4 ? BaseMap::Detail::World : BaseMap::Detail::Close);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels * count, pixels * count);
    painter.translate(-tile.topLeft());
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
    QPen coast(palette.coast, 0.8 * key.scale);
    coast.setCosmetic(true);
    painter.setPen(coast);
    painter.setBrush(palette.land);
    painter.drawPath(land);
    QPen border(palette.border, (key.hybrid ? 1.0 : 0.8) * key.scale);
    border.setCosmetic(true);
    border.setJoinStyle(Qt::RoundJoin);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    visit(layer.borders, [&](const QPolygonF &points) { painter.drawPolyline(points); });
    painter.end();
    // An image that was painted on keeps its paint engine, and with it the engine's buffers sized for the
    // longest coastline drawn, for as long as it lives: a cached tile keeps the pixels alone.
    return image.copy();
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
