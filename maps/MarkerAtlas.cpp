#include "MarkerAtlas.h"

#include "PlaneMarker.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace MarkerDrawing {

namespace {

// Room around the silhouette's square in a cell: the outline's outer half, the shadow's blur (three
// deviations, where it ends), and twice the drop, since the shadow is sampled one drop away from a quad
// that itself reaches one drop further.
double cellPad(double size) { return outlineRim(size) + 3 * shadowSigma + 2 * shadowDrop + 1; }

// A Gaussian of the alpha, in place.
void blur(std::vector<float> &alpha, int w, int h, double sigma)
{
    const int reach = int(std::ceil(sigma * 3));
    std::vector<float> kernel(size_t(2 * reach + 1));
    float sum = 0;
    for (int k = -reach; k <= reach; ++k)
        sum += kernel[size_t(k + reach)] = float(std::exp(-k * k / (2 * sigma * sigma)));
    for (float &k : kernel)
        k /= sum;
    std::vector<float> pass(alpha.size());
    const auto run = [&](const std::vector<float> &from, std::vector<float> &to, int dx, int dy) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float v = 0;
                for (int k = -reach; k <= reach; ++k) {
                    const int sx = x + k * dx;
                    const int sy = y + k * dy;
                    if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                        v += from[size_t(sy * w + sx)] * kernel[size_t(k + reach)];
                }
                to[size_t(y * w + x)] = v;
            }
        }
    };
    run(alpha, pass, 1, 0);
    run(pass, alpha, 0, 1);
}

// A coverage mask of one drawing, as alpha in 0..1.
template <typename Paint>
std::vector<float> coverage(int side, double ratio, Paint paint)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    paint(painter);
    painter.end();
    std::vector<float> alpha(size_t(side * side));
    for (int y = 0; y < side; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < side; ++x)
            alpha[size_t(y * side + x)] = qAlpha(line[x]) / 255.0f;
    }
    return alpha;
}

struct ShapeSide
{
    QPointF normal;
    // How far the silhouette reaches along the normal on a square of side 1 centred on the origin.
    double reach = 0;
};

// The kite's sides in the marker's own frame (nose up, y down), clockwise from the right of the nose; each
// normal turned that many degrees clockwise from up. The angles give the least area around the silhouette
// and its rim, taken over every heading.
const std::array<ShapeSide, shapeCorners> &markerSides()
{
    static const std::array<ShapeSide, shapeCorners> sides = [] {
        // Flattened at a large size and scaled down, so the polygon follows the curves of the nose and the
        // wing tips closely at any marker size (flattened at the unit size, its chords cut inside them).
        constexpr double fine = 1000;
        QPolygonF outline = PlaneShape::path(QRectF(-fine / 2, -fine / 2, fine, fine)).toFillPolygon();
        for (QPointF &p : outline)
            p /= fine;
        std::array<ShapeSide, shapeCorners> all;
        const double degrees[shapeCorners] = {53, 134, 226, 307};
        for (int i = 0; i < shapeCorners; ++i) {
            const double angle = degrees[i] * std::numbers::pi / 180;
            const QPointF normal(std::sin(angle), -std::cos(angle));
            double reach = -1;
            for (const QPointF &p : outline)
                reach = std::max(reach, QPointF::dotProduct(normal, p));
            all[size_t(i)] = {normal, reach};
        }
        return all;
    }();
    return sides;
}

} // namespace

double outlineRim(double size) { return PlaneMarker::outlineWidth(size) / 2; }

void drawCell(QImage &atlas, const QRect &into, int halfPoints, double ratio)
{
    const double size = halfPoints / 2.0;
    const double middle = into.width() / ratio / 2;
    const QPainterPath path = PlaneShape::path(QRectF(middle - size / 2, middle - size / 2, size, size));
    QPen pen(Qt::white, PlaneMarker::outlineWidth(size), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    const int side = into.width();
    const std::vector<float> fill = coverage(side, ratio, [&](QPainter &p) { p.fillPath(path, Qt::white); });
    const std::vector<float> outline = coverage(side, ratio, [&](QPainter &p) { p.strokePath(path, pen); });
    std::vector<float> shadow = coverage(side, ratio, [&](QPainter &p) {
        p.fillPath(path, Qt::white);
        p.strokePath(path, pen);
    });
    blur(shadow, side, side, shadowSigma * ratio);
    const auto byte = [](float v) { return uchar(std::clamp(int(std::lround(v * 255)), 0, 255)); };
    for (int y = 0; y < side; ++y) {
        uchar *line = atlas.scanLine(into.y() + y) + 4 * into.x();
        for (int x = 0; x < side; ++x) {
            const size_t i = size_t(y * side + x);
            line[4 * x] = byte(fill[i]);
            line[4 * x + 1] = byte(outline[i]);
            line[4 * x + 2] = byte(shadow[i] * float(shadowOpacity));
            line[4 * x + 3] = 255;
        }
    }
}

const QRectF &shapeBox()
{
    static const QRectF box = PlaneShape::path(QRectF(-0.5, -0.5, 1, 1)).boundingRect();
    return box;
}

ShapeCorners markerCorners(double size, std::optional<QPointF> drop, double ratio)
{
    const auto &sides = markerSides();
    const double marker = outlineRim(size) + 1 / ratio;
    const double shadow = outlineRim(size) + shadowReach;
    double offsets[shapeCorners];
    for (int i = 0; i < shapeCorners; ++i) {
        const ShapeSide &side = sides[size_t(i)];
        const double reach = side.reach * size;
        const double along = drop ? QPointF::dotProduct(side.normal, *drop) : shadowDrop;
        offsets[i] = std::max(reach + marker, reach + shadow + along);
    }
    // Where each side meets the next.
    ShapeCorners corners;
    for (int i = 0; i < shapeCorners; ++i) {
        const QPointF a = sides[size_t(i)].normal;
        const QPointF b = sides[size_t((i + 1) % shapeCorners)].normal;
        const double ca = offsets[i];
        const double cb = offsets[(i + 1) % shapeCorners];
        const double d = a.x() * b.y() - a.y() * b.x();
        corners[size_t(i)] = QPointF((ca * b.y() - cb * a.y()) / d, (a.x() * cb - b.x() * ca) / d);
    }
    return corners;
}

int cellPixels(int halfPoints, double ratio)
{
    const double size = halfPoints / 2.0;
    const int masks = int(std::ceil((size + 2 * cellPad(size)) * ratio));
    double half = 0;
    for (const QPointF &c : markerCorners(size, std::nullopt, ratio))
        half = std::max(half, std::max(std::abs(c.x()), std::abs(c.y())) + 1 / ratio);
    const int shape = int(std::ceil(2 * half * ratio));
    return masks + 2 * std::max(0, (shape - masks + 1) / 2);
}

void premultiplied(QRgb color, uchar out[4])
{
    const int a = qAlpha(color);
    out[0] = uchar(qRed(color) * a / 255);
    out[1] = uchar(qGreen(color) * a / 255);
    out[2] = uchar(qBlue(color) * a / 255);
    out[3] = uchar(a);
}

void MarkerSprites::keep(double ratio, const std::vector<int> &sizes)
{
    if (ratio != m_ratio) {
        m_ratio = ratio;
        m_cells.clear();
        m_upright.clear();
        m_shadows.clear();
        m_turned.clear();
        m_bytes = 0;
    }
    if (m_bytes <= budgetBytes)
        return;
    const auto unused = [&](int halfPoints) { return std::ranges::find(sizes, halfPoints) == sizes.end(); };
    std::erase_if(m_cells, [&](const auto &entry) { return unused(entry.first); });
    std::erase_if(m_upright, [&](const auto &entry) { return unused(std::get<0>(entry.first)); });
    const auto drop = [&](auto &sprites) {
        std::erase_if(sprites, [&](const auto &entry) {
            if (!unused(std::get<0>(entry.first)))
                return false;
            m_bytes -= entry.second.sizeInBytes();
            return true;
        });
    };
    drop(m_shadows);
    drop(m_turned);
}

const QImage &MarkerSprites::turned(int halfPoints, QRgb fill, QRgb outline, double heading)
{
    // Any heading, negative or past a turn, to its step in 0 … headingSteps - 1.
    const int step =
        ((int(std::lround(heading / 360 * headingSteps)) % headingSteps) + headingSteps) % headingSteps;
    const auto key = std::make_tuple(halfPoints, fill, outline, step);
    auto found = m_turned.find(key);
    if (found != m_turned.end())
        return found->second;
    const QImage &upright = composed(halfPoints, fill, outline);
    QImage sprite = shadowTurned(halfPoints, step).copy();
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    turn(painter, sprite.width(), upright, step, 0);
    painter.end();
    m_bytes += sprite.sizeInBytes();
    return m_turned.emplace(key, std::move(sprite)).first->second;
}

void MarkerSprites::turn(QPainter &painter, int side, const QImage &upright, int step, double drop) const
{
    const double middle = side / m_ratio / 2;
    const double cellSide = upright.width() / m_ratio;
    painter.setTransform(
        QTransform::fromTranslate(middle, middle + drop).rotate(360.0 * step / headingSteps));
    painter.drawImage(QRectF(-cellSide / 2, -cellSide / 2, cellSide, cellSide), upright);
}

const QImage &MarkerSprites::shadowTurned(int halfPoints, int step)
{
    const auto key = std::make_pair(halfPoints, step);
    auto found = m_shadows.find(key);
    if (found != m_shadows.end())
        return found->second;
    const Cell &cell = cellOf(halfPoints);
    QImage shadow(cell.spriteSide, cell.spriteSide, QImage::Format_ARGB32_Premultiplied);
    shadow.setDevicePixelRatio(m_ratio);
    shadow.fill(Qt::transparent);
    QPainter painter(&shadow);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    turn(painter, cell.spriteSide, cell.shadow, step, shadowDrop);
    painter.end();
    m_bytes += shadow.sizeInBytes();
    return m_shadows.emplace(key, std::move(shadow)).first->second;
}

const MarkerSprites::Cell &MarkerSprites::cellOf(int halfPoints)
{
    auto found = m_cells.find(halfPoints);
    if (found != m_cells.end())
        return found->second;
    const int side = cellPixels(halfPoints, m_ratio);
    // The sprite holds what any heading draws: the shape around the silhouette, its rim and its shadow
    // whichever way it drops, turned about the middle; a pixel more for the bilinear footprint, and an
    // even side, so the middle falls on a pixel corner as the cell's does.
    double reach = 0;
    for (const QPointF &corner : markerCorners(halfPoints / 2.0, std::nullopt, m_ratio))
        reach = std::max(reach, std::hypot(corner.x(), corner.y()));
    Cell cell{QImage(side, side, QImage::Format_RGBA8888),
              QImage(side, side, QImage::Format_ARGB32_Premultiplied),
              2 * int(std::ceil(reach * m_ratio + 1))};
    drawCell(cell.masks, QRect(0, 0, side, side), halfPoints, m_ratio);
    for (int y = 0; y < side; ++y) {
        const uchar *from = cell.masks.constScanLine(y);
        auto *to = reinterpret_cast<QRgb *>(cell.shadow.scanLine(y));
        for (int x = 0; x < side; ++x)
            to[x] = qRgba(0, 0, 0, from[4 * x + 2]);
    }
    cell.shadow.setDevicePixelRatio(m_ratio);
    ++m_cellsDrawn;
    return m_cells.emplace(halfPoints, std::move(cell)).first->second;
}

const QImage &MarkerSprites::composed(int halfPoints, QRgb fill, QRgb outline)
{
    const auto key = std::make_tuple(halfPoints, fill, outline);
    auto found = m_upright.find(key);
    if (found != m_upright.end())
        return found->second;
    const QImage &cell = cellOf(halfPoints).masks;
    uchar fillColor[4];
    uchar outlineColor[4];
    premultiplied(fill, fillColor);
    premultiplied(outline, outlineColor);
    QImage sprite(cell.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < cell.height(); ++y) {
        const uchar *from = cell.constScanLine(y);
        auto *to = reinterpret_cast<QRgb *>(sprite.scanLine(y));
        for (int x = 0; x < cell.width(); ++x) {
            const float r = from[4 * x] / 255.0f;
            const float g = from[4 * x + 1] / 255.0f;
            const auto channel = [&](int i) {
                return std::clamp(int(std::lround(outlineColor[i] * g + fillColor[i] * r * (1 - g))), 0, 255);
            };
            to[x] = qRgba(channel(0), channel(1), channel(2), channel(3));
        }
    }
    sprite.setDevicePixelRatio(m_ratio);
    return m_upright.emplace(key, std::move(sprite)).first->second;
}

} // namespace MarkerDrawing
