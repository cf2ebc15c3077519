#include "MapMarkerLayer.h"

#include "L.h"
#include "MapMarkerAccessibility.h"
#include "MapView.h"
#include "PlaneMarker.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QMutex>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGGeometryNode>
#include <QSGImageNode>
#include <QSGMaterial>
#include <QSGMaterialShader>
#include <QSGTexture>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <private/qquickitem_p.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <tuple>

namespace {

constexpr double shadowBlur = 1.5;
// The Gaussian's standard deviation: half the blur radius, as CSS and SVG shadows have it.
constexpr double shadowSigma = shadowBlur / 2;
constexpr double shadowDrop = 1;
constexpr double shadowOpacity = 0.2;
constexpr int atlasWidth = 1024;
// Sizes are drawn to the half point, so a zoom yields a few cells, not one per marker.
constexpr int largestHalfPoints = 400;
// Beyond the drawn shadow's reach (two deviations) its alpha is below one step in 255.
constexpr double shadowReach = 2 * shadowSigma;
// A cached frame reaches this far past each side of the map, in points, so a pan stays inside it.
constexpr double cacheMargin = 256;
// How long a zoom pauses before its scaled picture of the markers is drawn afresh at the new scale.
constexpr int sharpenAfterMs = 60;

double outlineRim(double size) { return PlaneMarker::outlineWidth(size) / 2; }

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

// One size class's masks: red the silhouette filled, green its outline (width max(size × 1.4 / 48, 1),
// round caps and joins, centred on the path), blue the shadow of both, blurred and at 20 %. The
// silhouette's square is centred in the cell.
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

// The silhouette's box on a square of side 1 centred on the origin, nose up.
const QRectF &shapeBox()
{
    static const QRectF box = PlaneShape::path(QRectF(-0.5, -0.5, 1, 1)).boundingRect();
    return box;
}

// A marker is drawn as a kite around its silhouette: above the nose a point where the sides along the
// wings' leading edges meet, below the tail another where the sides from the wing tips past the tailplane
// meet. It holds the silhouette, the outline's outer half and a pixel of antialiasing, and the shadow's
// reach one drop away, in two triangles as the silhouette's box would, on two thirds of the box's pixels.
// (An octagon cut closer blends fewer still, but the software rasteriser spends more on its six triangles,
// taken one by one on the render thread, than it saves; the cost goes with the triangles' number and area.)
constexpr int shapeCorners = 4;
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

using ShapeCorners = std::array<QPointF, shapeCorners>;

// The corners of a marker's shape in its own frame (nose up, y down), in points, for a drop of the shadow
// in that frame: each side stands off the silhouette by the outline's outer half and a pixel of
// antialiasing, and by the shadow's reach one drop away, whichever is further. Without a drop, each side
// stands off as far as the shadow's reach can take it whichever way it drops: a shape holding every
// heading's.
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

// A cell's side in pixels: room for the masks (the silhouette with its pad) and for the shape laid over
// them, whichever way the shadow drops, with a pixel for the bilinear footprint at its corners. It grows
// from the masks' side by whole pixels on each side, so the silhouette keeps its place against the texels.
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

struct Vertex
{
    // Where the marker's centre stood for the camera the geometry was laid out for, in the canvas.
    float anchorX, anchorY;
    // From the centre to this corner, turned to the heading, in points.
    float cornerX, cornerY;
    float u, v;
    float shadowU, shadowV;
    // Premultiplied.
    uchar fill[4];
    uchar outline[4];
};
static_assert(sizeof(Vertex) == 40);

const QSGGeometry::AttributeSet &vertexAttributes()
{
    static const QSGGeometry::Attribute attributes[] = {
        QSGGeometry::Attribute::createWithAttributeType(0, 2, QSGGeometry::FloatType,
                                                        QSGGeometry::PositionAttribute),
        QSGGeometry::Attribute::createWithAttributeType(1, 2, QSGGeometry::FloatType,
                                                        QSGGeometry::UnknownAttribute),
        QSGGeometry::Attribute::createWithAttributeType(2, 2, QSGGeometry::FloatType,
                                                        QSGGeometry::TexCoordAttribute),
        QSGGeometry::Attribute::createWithAttributeType(3, 2, QSGGeometry::FloatType,
                                                        QSGGeometry::TexCoord1Attribute),
        QSGGeometry::Attribute::createWithAttributeType(4, 4, QSGGeometry::UnsignedByteType,
                                                        QSGGeometry::ColorAttribute),
        QSGGeometry::Attribute::createWithAttributeType(5, 4, QSGGeometry::UnsignedByteType,
                                                        QSGGeometry::UnknownAttribute),
    };
    static const QSGGeometry::AttributeSet set = {6, int(sizeof(Vertex)), attributes};
    return set;
}

class MarkerMaterial : public QSGMaterial
{
public:
    MarkerMaterial() { setFlag(Blending | RequiresFullMatrix); }
    ~MarkerMaterial() override { delete texture; }
    QSGMaterialType *type() const override
    {
        static QSGMaterialType type;
        return &type;
    }
    QSGMaterialShader *createShader(QSGRendererInterface::RenderMode) const override;
    int compare(const QSGMaterial *other) const override
    {
        const auto *o = static_cast<const MarkerMaterial *>(other);
        if (texture != o->texture)
            return texture < o->texture ? -1 : 1;
        if (scale != o->scale)
            return scale < o->scale ? -1 : 1;
        if (shift != o->shift)
            return shift.x() < o->shift.x() || (shift.x() == o->shift.x() && shift.y() < o->shift.y()) ? -1
                                                                                                       : 1;
        return 0;
    }

    QSGTexture *texture = nullptr;
    // The camera of this frame against the one the geometry was laid out for: anchor × scale + shift.
    float scale = 1;
    QPointF shift;
};

class MarkerShader : public QSGMaterialShader
{
public:
    MarkerShader()
    {
        setShaderFileName(VertexStage, QStringLiteral(":/maps/shaders/marker.vert.qsb"));
        setShaderFileName(FragmentStage, QStringLiteral(":/maps/shaders/marker.frag.qsb"));
    }

    bool updateUniformData(RenderState &state, QSGMaterial *material, QSGMaterial *) override
    {
        QByteArray *buffer = state.uniformData();
        Q_ASSERT(buffer->size() >= 80);
        if (state.isMatrixDirty()) {
            const QMatrix4x4 m = state.combinedMatrix();
            memcpy(buffer->data(), m.constData(), 64);
        }
        if (state.isOpacityDirty()) {
            const float opacity = state.opacity();
            memcpy(buffer->data() + 64, &opacity, 4);
        }
        const auto *marker = static_cast<MarkerMaterial *>(material);
        const float camera[3] = {marker->scale, float(marker->shift.x()), float(marker->shift.y())};
        memcpy(buffer->data() + 68, camera, 12);
        return true;
    }

    void updateSampledImage(RenderState &state, int binding, QSGTexture **texture, QSGMaterial *material,
                            QSGMaterial *) override
    {
        if (binding != 1)
            return;
        auto *marker = static_cast<MarkerMaterial *>(material);
        if (marker->texture)
            marker->texture->commitTextureOperations(state.rhi(), state.resourceUpdateBatch());
        *texture = marker->texture;
    }
};

QSGMaterialShader *MarkerMaterial::createShader(QSGRendererInterface::RenderMode) const
{
    return new MarkerShader;
}

class MarkerNode : public QSGGeometryNode
{
public:
    MarkerNode()
        : geometry(vertexAttributes(), 0, 0, QSGGeometry::UnsignedIntType)
    {
        geometry.setDrawingMode(QSGGeometry::DrawTriangles);
        setGeometry(&geometry);
        setMaterial(&material);
    }

    QSGGeometry geometry;
    MarkerMaterial material;
    // The camera the geometry was laid out for, the canvas's middle then, and the band of world x (unwrapped)
    // whose copies it holds.
    MapFrame laidOutFor;
    QPointF middle;
    double bandLeft = 0;
    double bandRight = 0;
    double atlasRatio = 0;
    // Every cell drawn at this ratio, by its size in half points, in atlas pixels: the markers' sizes follow
    // the zoom level, and a zoom back to a level seen before finds its cells drawn. The picture is kept to
    // add cells to, packed in shelves from the top left.
    std::map<int, QRect> cells;
    QImage atlas;
    QPoint shelfAt;
    int shelfHeight = 0;
    // The cells drawn since the node was made.
    int cellsDrawn = 0;
    // The cells of the layer's sizes, in their order, in texture coordinates.
    std::vector<QRectF> cellRects;
    // The shapes laid out and the device pixels they cover.
    int shapes = 0;
    double pixels = 0;
};

void premultiplied(QRgb color, uchar out[4])
{
    const int a = qAlpha(color);
    out[0] = uchar(qRed(color) * a / 255);
    out[1] = uchar(qGreen(color) * a / 255);
    out[2] = uchar(qBlue(color) * a / 255);
    out[3] = uchar(a);
}

// Qt's software renderer draws no custom material. There the markers are painted into a picture (on a
// worker thread, by PicturePainter), each as a sprite of its size class, colours and heading (to five
// degrees): composed from the masks as the shader composes them, turned, over its shadow one drop further
// down the screen. Turning a sprite for every marker of every frame would cost the software renderer many
// times what the markers' quads cost a graphics device; turned once, a marker costs one unscaled copy.
class MarkerSprites
{
public:
    static constexpr int headingSteps = 72;

    // Everything drawn at another ratio is drawn again. Sizes no longer in use are kept for a zoom back to
    // them, until the sprites reach their budget.
    void keep(double ratio, const std::vector<int> &sizes)
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
        const auto unused = [&](int halfPoints) {
            return std::ranges::find(sizes, halfPoints) == sizes.end();
        };
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

    // The marker's picture with its middle on the marker's place.
    const QImage &turned(int halfPoints, QRgb fill, QRgb outline, double heading)
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

    int cellsDrawn() const { return m_cellsDrawn; }

private:
    struct Cell
    {
        QImage masks;
        // Black, at the shadow's alpha.
        QImage shadow;
        int spriteSide = 0;
    };

    // Draws `upright` (a cell) turned to the step's heading, its middle `drop` points below the middle of a
    // sprite of `side` pixels.
    void turn(QPainter &painter, int side, const QImage &upright, int step, double drop) const
    {
        const double middle = side / m_ratio / 2;
        const double cellSide = upright.width() / m_ratio;
        painter.setTransform(
            QTransform::fromTranslate(middle, middle + drop).rotate(360.0 * step / headingSteps));
        painter.drawImage(QRectF(-cellSide / 2, -cellSide / 2, cellSide, cellSide), upright);
    }

    // The shadow turned to a heading, in a sprite's square: the colours of that size and heading are laid
    // over a copy of it.
    const QImage &shadowTurned(int halfPoints, int step)
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

    const Cell &cellOf(int halfPoints)
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

    // The outline over the fill, as the shader lays them, upright.
    const QImage &composed(int halfPoints, QRgb fill, QRgb outline)
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
                    return std::clamp(int(std::lround(outlineColor[i] * g + fillColor[i] * r * (1 - g))), 0,
                                      255);
                };
                to[x] = qRgba(channel(0), channel(1), channel(2), channel(3));
            }
        }
        sprite.setDevicePixelRatio(m_ratio);
        return m_upright.emplace(key, std::move(sprite)).first->second;
    }

    // Some 1,500 sprites of the usual sizes.
    static constexpr qsizetype budgetBytes = 16 * 1024 * 1024;
    double m_ratio = 0;
    int m_cellsDrawn = 0;
    qsizetype m_bytes = 0;
    std::map<int, Cell> m_cells;
    std::map<std::tuple<int, QRgb, QRgb>, QImage> m_upright;
    std::map<std::pair<int, int>, QImage> m_shadows;
    std::map<std::tuple<int, QRgb, QRgb, int>, QImage> m_turned;
};

bool softwareRendered(const QQuickWindow *window)
{
    return window && window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software;
}

// What a picture of the markers is painted from: a copy of the markers and the camera, taken on the item's
// thread, so the painting needs nothing of the item.
struct PictureOrder
{
    std::vector<MapMarkerLayer::Marker> markers;
    std::vector<int> cellSizes;
    MapFrame frame;
    // The picture's size in points and where the camera's centre stands on it.
    QSizeF size;
    QPointF centre;
    double ratio = 1;
};

struct Picture
{
    QImage image;
    PictureOrder order;
    MapMarkerLayer::FrameStats stats;
};

// Paints the software renderer's pictures of the markers on a worker thread, one at a time, with sprites
// it keeps from one picture to the next; the item takes each finished picture on its own thread.
class PicturePainter
{
public:
    void paint(PictureOrder order)
    {
        QElapsedTimer clock;
        clock.start();
        const double ratio = order.ratio;
        const QSize pixels(std::max(1, int(std::ceil(order.size.width() * ratio))),
                           std::max(1, int(std::ceil(order.size.height() * ratio))));
        QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        MapMarkerLayer::FrameStats stats;
        const MapFrame &frame = order.frame;
        if (frame.worldSize > 0 && !order.markers.empty()) {
            m_sprites.keep(ratio, order.cellSizes);
            QPainter painter(&picture);
            const QRectF canvas(QPointF(), order.size);
            const double left = order.centre.x() / frame.worldSize;
            const double right = (order.size.width() - order.centre.x()) / frame.worldSize;
            // On whole device pixels: a sprite is copied, never resampled.
            const auto snap = [ratio](double v) { return std::round(v * ratio) / ratio; };
            for (const MapMarkerLayer::Marker &m : order.markers) {
                const int halfPoints = order.cellSizes[size_t(m.cell)];
                const QImage &sprite = m_sprites.turned(halfPoints, m.fill, m.outline, m.heading);
                const double side = sprite.width() / ratio;
                // Every copy on the picture, where the world repeats.
                const double reach = side / frame.worldSize;
                const double first = std::ceil(frame.centre.x() - left - reach - m.world.x());
                const double last = std::floor(frame.centre.x() + right + reach - m.world.x());
                for (double k = first; k <= last; ++k) {
                    const QPointF anchor =
                        (QPointF(m.world.x() + k, m.world.y()) - frame.centre) * frame.worldSize
                        + order.centre;
                    const QRectF placed(snap(anchor.x() - side / 2), snap(anchor.y() - side / 2), side, side);
                    if (!canvas.intersects(placed))
                        continue;
                    painter.drawImage(placed.topLeft(), sprite);
                    ++stats.markers;
                    stats.pixels += double(sprite.width()) * sprite.height();
                }
            }
        }
        stats.cellsDrawn = m_sprites.cellsDrawn();
        stats.paintMs = clock.nsecsElapsed() / 1e6;
        stats.pictures = ++m_pictures;
        order.markers = {};
        QMutexLocker lock(&m_lock);
        m_done = Picture{std::move(picture), std::move(order), stats};
    }

    // The picture finished last, once.
    std::optional<Picture> take()
    {
        QMutexLocker lock(&m_lock);
        return std::exchange(m_done, std::nullopt);
    }

private:
    MarkerSprites m_sprites;
    int m_pictures = 0;
    QMutex m_lock;
    std::optional<Picture> m_done;
};

} // namespace

// The item the markers are drawn in. It covers the map while the camera zooms; while it only pans, it
// is a texture layer a margin larger than the map, drawn once for one camera and moved.
class MarkerCanvas : public QQuickItem
{
public:
    explicit MarkerCanvas(MapMarkerLayer *layer)
        : QQuickItem(layer)
        , m_layer(layer)
    {
        setFlag(ItemHasContents);
        m_sharpen.setSingleShot(true);
        m_sharpen.setInterval(sharpenAfterMs);
        connect(&m_sharpen, &QTimer::timeout, this, [this] { drawFor(m_now, true, false); });
    }

    ~MarkerCanvas() override
    {
        m_sharpen.stop();
        // The painting tells this item when it is done: it must not outlive it.
        m_painting.waitForFinished();
    }

    // `cached`: the camera has the zoom of the frame before; `moving`: it is on its way.
    void drawFor(const MapFrame &frame, bool cached, bool moving);

    MapMarkerLayer::FrameStats stats() const
    {
        QMutexLocker lock(&m_statsLock);
        MapMarkerLayer::FrameStats stats = m_stats;
        stats.cached = m_cached;
        stats.current = !softwareRendered(window()) || (!m_stale && !m_waiting);
        return stats;
    }

    // Everything needs laying out again: the markers changed.
    void invalidate()
    {
        m_relayout = true;
        if (softwareRendered(window()))
            placePicture();
        else
            update();
    }

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
    void paintPicture(const QSizeF &size, double ratio);
    void takePicture();

    MapMarkerLayer *m_layer;
    MapFrame m_drawFrame;
    bool m_cached = false;
    bool m_relayout = true;
    // The camera the cached picture was drawn for.
    MapFrame m_cacheFrame;
    mutable QMutex m_statsLock;
    MapMarkerLayer::FrameStats m_stats;

    // The camera now. Software: whether it zooms; the picture shown and what it was painted for.
    MapFrame m_now;
    // Through a graphics device: draws the markers afresh once a zoom that scaled the cached picture pauses.
    QTimer m_sharpen;
    bool m_zooming = false;
    std::shared_ptr<PicturePainter> m_painter = std::make_shared<PicturePainter>();
    QFuture<void> m_painting;
    // A picture is on its way; the one shown is not of the markers and camera as they are now.
    bool m_waiting = false;
    bool m_stale = true;
    QImage m_picture;
    bool m_pictureChanged = false;
    PictureOrder m_shown;
};

void MarkerCanvas::drawFor(const MapFrame &frame, bool cached, bool moving)
{
    QQuickItemLayer *layer = QQuickItemPrivate::get(this)->layer();
    const QSizeF area = m_layer->size();
    const double ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    if (softwareRendered(window())) {
        // Every frame lays a picture painted before: it only moves or scales it.
        m_cached = true;
        m_now = frame;
        // A zoom that has come to rest is painted at its new scale.
        m_zooming = !cached && moving;
        placePicture();
        return;
    }
    // Whole device pixels, so the cached picture is laid on the screen texel for pixel.
    const auto snap = [&](double v) { return std::ceil(v * ratio) / ratio; };
    const QSizeF cacheSize(snap(area.width() + 2 * cacheMargin), snap(area.height() + 2 * cacheMargin));
    m_now = frame;
    const double k = m_cacheFrame.worldSize > 0 ? frame.worldSize / m_cacheFrame.worldSize : 0;
    if (!cached && m_cached && size() == cacheSize && k >= 0.5 && k <= 2) {
        // A zoom scales the cached picture, up to twice or half its size; when the zoom pauses, or goes
        // further, the markers are drawn afresh for it.
        QPointF shift = m_cacheFrame.centre - frame.centre;
        shift.rx() -= std::round(shift.x());
        setTransformOrigin(TopLeft);
        setScale(k);
        setPosition(QPointF(area.width() / 2, area.height() / 2) + shift * frame.worldSize
                    - QPointF(width() / 2, height() / 2) * k);
        m_sharpen.start();
        return;
    }
    m_sharpen.stop();
    setScale(1);
    QPointF offset = (m_cacheFrame.centre - frame.centre) * frame.worldSize;
    const bool fits = m_cached && m_cacheFrame.worldSize == frame.worldSize && size() == cacheSize
                      && std::abs(offset.x()) < cacheMargin && std::abs(offset.y()) < cacheMargin;
    if (!fits) {
        m_cacheFrame = frame;
        m_drawFrame = frame;
        offset = {};
        m_cached = true;
        setSize(cacheSize);
        update();
    }
    QPointF at = QPointF(-cacheMargin, -cacheMargin) + offset;
    const QPointF scene = m_layer->mapToScene(at);
    at += QPointF(std::round(scene.x() * ratio) / ratio, std::round(scene.y() * ratio) / ratio) - scene;
    setPosition(at);
    if (!layer->enabled())
        layer->setEnabled(true);
}

void MarkerCanvas::placePicture()
{
    const QSizeF area = m_layer->size();
    const double ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const auto snap = [&](double v) { return std::ceil(v * ratio) / ratio; };
    const QSizeF wanted(snap(area.width() + 2 * cacheMargin), snap(area.height() + 2 * cacheMargin));
    const MapFrame &was = m_shown.frame;
    // The picture's camera seen from the camera now: another copy of the world is the same picture.
    QPointF shift = was.centre - m_now.centre;
    shift.rx() -= std::round(shift.x());
    shift *= m_now.worldSize;
    const bool stale = m_relayout || m_picture.isNull() || m_shown.ratio != ratio || m_shown.size != wanted
                       || (!m_zooming
                           && (was.worldSize != m_now.worldSize || std::abs(shift.x()) >= cacheMargin
                               || std::abs(shift.y()) >= cacheMargin));
    m_stale = stale;
    if (stale && m_now.worldSize > 0)
        paintPicture(wanted, ratio);
    if (m_picture.isNull() || was.worldSize <= 0)
        return;
    const double k = m_now.worldSize / was.worldSize;
    const QPointF middle(area.width() / 2, area.height() / 2);
    QPointF at = middle - m_shown.centre * k + shift;
    if (k == 1) {
        // Whole device pixels, so the picture is laid on the screen texel for pixel.
        const QPointF scene = m_layer->mapToScene(at);
        at += QPointF(std::round(scene.x() * ratio) / ratio, std::round(scene.y() * ratio) / ratio) - scene;
    }
    setTransformOrigin(TopLeft);
    setScale(k);
    setPosition(at);
    setSize(m_shown.size);
    if (m_pictureChanged)
        update();
}

void MarkerCanvas::paintPicture(const QSizeF &size, double ratio)
{
    // One picture at a time; what changes meanwhile is painted when it is done.
    if (m_painting.isRunning())
        return;
    m_relayout = false;
    m_waiting = true;
    PictureOrder order{m_layer->m_markers,
                       m_layer->m_cellSizes,
                       m_now,
                       size,
                       QPointF(m_layer->width() / 2 + cacheMargin, m_layer->height() / 2 + cacheMargin),
                       ratio};
    m_painting = QtConcurrent::run([painter = m_painter, order = std::move(order), this]() mutable {
        painter->paint(std::move(order));
        QMetaObject::invokeMethod(this, &MarkerCanvas::takePicture, Qt::QueuedConnection);
    });
}

void MarkerCanvas::takePicture()
{
    std::optional<Picture> done = m_painter->take();
    if (!done)
        return;
    m_waiting = false;
    m_picture = std::move(done->image);
    m_shown = std::move(done->order);
    m_pictureChanged = true;
    {
        QMutexLocker lock(&m_statsLock);
        m_stats = done->stats;
    }
    placePicture();
}

void MarkerCanvas::layOut(MarkerNode &node, double ratio)
{
    const MapFrame frame = m_drawFrame;
    const std::vector<MapMarkerLayer::Marker> &markers = m_layer->m_markers;
    const QPointF middle(width() / 2, height() / 2);
    // The band of copies: a canvas's width on each side of it, so the geometry outlives a pan of that much.
    const double band = std::max(width(), 1.0) * 1.5 / frame.worldSize;
    node.laidOutFor = frame;
    node.middle = middle;
    node.bandLeft = frame.centre.x() - band;
    node.bandRight = frame.centre.x() + band;

    std::vector<Vertex> vertices;
    vertices.reserve(markers.size() * shapeCorners + 2);
    node.pixels = 0;
    const double atlasW = atlasWidth;
    const double atlasH = node.material.texture ? node.material.texture->textureSize().height() : 1;
    const double toU = ratio / atlasW;
    const double toV = ratio / atlasH;
    for (const MapMarkerLayer::Marker &m : markers) {
        const double s = m.size;
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double c = std::cos(angle);
        const double sn = std::sin(angle);
        // The drop (down on screen) in the marker's own frame, which is turned clockwise by the heading.
        const QPointF drop(shadowDrop * sn, shadowDrop * c);
        const ShapeCorners corners = markerCorners(s, drop, ratio);
        double area = 0;
        for (int i = 0; i < shapeCorners; ++i) {
            const QPointF &p = corners[i];
            const QPointF &n = corners[(i + 1) % shapeCorners];
            area += p.x() * n.y() - n.x() * p.y();
        }
        const QPointF cellMiddle = node.cellRects[size_t(m.cell)].center();
        uchar fill[4];
        uchar outline[4];
        premultiplied(m.fill, fill);
        premultiplied(m.outline, outline);
        // Every copy within the band, where the world repeats.
        const double first = std::ceil(node.bandLeft - m.world.x());
        const double last = std::floor(node.bandRight - m.world.x());
        for (double k = first; k <= last; ++k) {
            const QPointF anchor =
                (QPointF(m.world.x() + k, m.world.y()) - frame.centre) * frame.worldSize + middle;
            node.pixels += std::abs(area) / 2 * ratio * ratio;
            for (const QPointF &corner : corners) {
                Vertex v;
                v.anchorX = float(anchor.x());
                v.anchorY = float(anchor.y());
                v.cornerX = float(corner.x() * c - corner.y() * sn);
                v.cornerY = float(corner.x() * sn + corner.y() * c);
                v.u = float(cellMiddle.x() + corner.x() * toU);
                v.v = float(cellMiddle.y() + corner.y() * toV);
                v.shadowU = float(v.u - drop.x() * toU);
                v.shadowV = float(v.v - drop.y() * toV);
                std::copy(fill, fill + 4, v.fill);
                std::copy(outline, outline + 4, v.outline);
                vertices.push_back(v);
            }
        }
    }
    const int shapes = int(vertices.size() / shapeCorners);
    node.shapes = shapes;
    // Two vertices no triangle uses stretch the node's bounds over everything, so the renderer never takes
    // the markers' (moving) place for free and lets a later item's batch slip under them.
    for (const float far : {-1e6f, 1e6f}) {
        Vertex v{};
        v.anchorX = v.anchorY = far;
        vertices.push_back(v);
    }
    constexpr int triangles = shapeCorners - 2;
    node.geometry.allocate(int(vertices.size()), shapes * triangles * 3);
    std::copy(vertices.begin(), vertices.end(), static_cast<Vertex *>(node.geometry.vertexData()));
    quint32 *indices = node.geometry.indexDataAsUInt();
    for (quint32 q = 0; q < quint32(shapes); ++q) {
        // Two triangles, a fan from the first corner.
        const quint32 b = q * shapeCorners;
        for (quint32 t = 1; t <= quint32(triangles); ++t) {
            *indices++ = b;
            *indices++ = b + t;
            *indices++ = b + t + 1;
        }
    }
    node.markDirty(QSGNode::DirtyGeometry);
}

void MarkerCanvas::prepareCells(MarkerNode &node, double ratio)
{
    const std::vector<int> &sizes = m_layer->m_cellSizes;
    // Past this height the atlas starts again with the sizes in use.
    constexpr int tallest = 4096;
    // Where the next cell of a side goes, on the shelf or on a new one below.
    const auto place = [](QPoint &at, int &shelf, int side) {
        if (at.x() + side > atlasWidth) {
            at = {0, at.y() + shelf};
            shelf = 0;
        }
        const QRect cell(at, QSize(side, side));
        at.rx() += side;
        shelf = std::max(shelf, side);
        return cell;
    };
    const auto fits = [&] {
        QPoint at = node.shelfAt;
        int shelf = node.shelfHeight;
        for (const int halfPoints : sizes) {
            if (!node.cells.count(halfPoints)
                && place(at, shelf, cellPixels(halfPoints, ratio)).bottom() >= tallest)
                return false;
        }
        return true;
    };
    if (ratio != node.atlasRatio || !fits()) {
        node.cells.clear();
        node.atlas = QImage();
        node.shelfAt = {};
        node.shelfHeight = 0;
        node.atlasRatio = ratio;
    }
    bool drawn = false;
    for (const int halfPoints : sizes) {
        if (node.cells.count(halfPoints))
            continue;
        const QRect cell = place(node.shelfAt, node.shelfHeight, cellPixels(halfPoints, ratio));
        if (cell.bottom() >= node.atlas.height()) {
            // A taller picture holding what is drawn, with room for a few more shelves.
            QImage taller(atlasWidth, std::max(cell.bottom() + 1, std::min(tallest, 2 * node.atlas.height())),
                          QImage::Format_RGBA8888);
            taller.fill(QColor(0, 0, 0, 255));
            QPainter copy(&taller);
            copy.setCompositionMode(QPainter::CompositionMode_Source);
            copy.drawImage(0, 0, node.atlas);
            copy.end();
            node.atlas = std::move(taller);
        }
        drawCell(node.atlas, cell, halfPoints, ratio);
        node.cells.emplace(halfPoints, cell);
        ++node.cellsDrawn;
        drawn = true;
    }
    if (drawn || !node.material.texture) {
        delete node.material.texture;
        node.material.texture = window()->createTextureFromImage(node.atlas);
        node.material.texture->setFiltering(QSGTexture::Linear);
        node.material.texture->setMipmapFiltering(QSGTexture::None);
    }
    const QSizeF atlasSize = node.atlas.size();
    node.cellRects.clear();
    for (const int halfPoints : sizes) {
        const QRectF r = node.cells.at(halfPoints);
        node.cellRects.emplace_back(r.x() / atlasSize.width(), r.y() / atlasSize.height(),
                                    r.width() / atlasSize.width(), r.height() / atlasSize.height());
    }
}

QSGNode *MarkerCanvas::showPicture(QSGImageNode *node)
{
    if (m_picture.isNull()) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        m_pictureChanged = true;
    }
    if (std::exchange(m_pictureChanged, false))
        node->setTexture(window()->createTextureFromImage(m_picture));
    // Texel for pixel, or scaled while the map zooms.
    node->setFiltering(scale() == 1 ? QSGTexture::Nearest : QSGTexture::Linear);
    node->setRect(boundingRect());
    node->setSourceRect(QRectF(QPointF(), m_picture.size()));
    return node;
}

QSGNode *MarkerCanvas::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    if (softwareRendered(window()))
        return showPicture(static_cast<QSGImageNode *>(old));
    auto *node = static_cast<MarkerNode *>(old);
    if (!node)
        node = new MarkerNode;
    const double ratio = window()->effectiveDevicePixelRatio();
    const MapFrame frame = m_drawFrame;
    if (frame.worldSize <= 0 || m_layer->m_markers.empty()) {
        node->geometry.allocate(0, 0);
        node->markDirty(QSGNode::DirtyGeometry);
        QMutexLocker lock(&m_statsLock);
        m_stats = {};
        return node;
    }
    bool relayout = std::exchange(m_relayout, false);
    if (m_layer->m_cellsChanged || ratio != node->atlasRatio || !node->material.texture) {
        prepareCells(*node, ratio);
        m_layer->m_cellsChanged = false;
        relayout = true;
    }
    // The geometry holds while the camera stays within its band and its zoom within a few levels, where
    // single-precision anchors are still exact to a hundredth of a pixel.
    const double scale = frame.worldSize / node->laidOutFor.worldSize;
    const double halfView = width() / 2 / frame.worldSize;
    if (relayout || node->laidOutFor.worldSize <= 0 || scale > 8 || scale < 0.125
        || frame.centre.x() - halfView < node->bandLeft || frame.centre.x() + halfView > node->bandRight)
        layOut(*node, ratio);
    const MapFrame &laid = node->laidOutFor;
    const double k = frame.worldSize / laid.worldSize;
    const QPointF middle(width() / 2, height() / 2);
    const QPointF shift = (laid.centre - frame.centre) * frame.worldSize + middle - node->middle * k;
    if (node->material.scale != float(k) || node->material.shift != shift) {
        node->material.scale = float(k);
        node->material.shift = shift;
        node->markDirty(QSGNode::DirtyMaterial);
    }

    // What the frame draws: the shapes laid out (those beyond the map cost the rasteriser nothing).
    const MapMarkerLayer::FrameStats stats{node->shapes, node->pixels, false, node->cellsDrawn};
    {
        QMutexLocker lock(&m_statsLock);
        m_stats = stats;
    }
    return node;
}

MapMarkerLayer::MapMarkerLayer(QQuickItem *parent)
    : QQuickItem(parent)
    , m_canvas(new MarkerCanvas(this))
{
    // Above the lines, below the annotations.
    setZ(1);
    MapMarkerAccessibility::install();
    QQuickItemPrivate::get(this)->setAccessible();
}

MapMarkerLayer::~MapMarkerLayer() = default;

void MapMarkerLayer::setModel(QAbstractItemModel *model)
{
    if (m_model == model)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_model = model;
    if (model) {
        const auto follow = [&](auto signal) {
            m_connections.append(connect(model, signal, this, &MapMarkerLayer::reload));
        };
        follow(&QAbstractItemModel::modelReset);
        follow(&QAbstractItemModel::layoutChanged);
        follow(&QAbstractItemModel::rowsInserted);
        follow(&QAbstractItemModel::rowsRemoved);
        follow(&QAbstractItemModel::rowsMoved);
        follow(&QAbstractItemModel::dataChanged);
    }
    reload();
    emit modelChanged();
}

void MapMarkerLayer::reload()
{
    m_markers.clear();
    std::vector<int> sizes;
    if (m_model) {
        QHash<QByteArray, int> roles;
        const auto names = m_model->roleNames();
        for (auto it = names.begin(); it != names.end(); ++it)
            roles.insert(it.value(), it.key());
        const auto role = [&](const char *name) { return roles.value(name, -1); };
        const int latitude = role("latitude");
        const int longitude = role("longitude");
        const int heading = role("heading");
        const int size = role("size");
        const int fill = role("fill");
        const int outline = role("outline");
        const auto value = [&](const QModelIndex &index, int role) {
            return role >= 0 ? m_model->data(index, role) : QVariant();
        };
        const auto color = [&](const QModelIndex &index, int role, QRgb otherwise) {
            const QColor c = value(index, role).value<QColor>();
            return c.isValid() ? c.rgba() : otherwise;
        };
        const PlaneMarker::Colors ordinary = PlaneMarker::colors(false, false, false);
        const int rows = m_model->rowCount();
        m_markers.reserve(size_t(rows));
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = m_model->index(row, 0);
            Marker marker;
            marker.world =
                MapMath::project(value(index, latitude).toDouble(), value(index, longitude).toDouble());
            marker.heading = value(index, heading).toDouble();
            double side = 24;
            if (const QVariant v = value(index, size); v.isValid())
                side = v.toDouble();
            const int halfPoints = std::clamp(int(std::lround(side * 2)), 1, largestHalfPoints);
            marker.size = halfPoints / 2.0;
            marker.fill = color(index, fill, ordinary.fill);
            marker.outline = color(index, outline, ordinary.outline);
            auto found = std::find(sizes.begin(), sizes.end(), halfPoints);
            if (found == sizes.end())
                found = sizes.insert(sizes.end(), halfPoints);
            marker.cell = int(found - sizes.begin());
            m_markers.push_back(marker);
        }
    }
    if (sizes != m_cellSizes) {
        m_cellSizes = std::move(sizes);
        m_cellsChanged = true;
    }
    m_canvas->invalidate();
    if (auto *map = qobject_cast<MapView *>(parentItem()))
        map->contentChanged();
    MapMarkerAccessibility::markersChanged(this, true);
}

QList<QGeoCoordinate> MapMarkerLayer::coordinates() const
{
    QList<QGeoCoordinate> all;
    all.reserve(qsizetype(m_markers.size()));
    for (const Marker &m : m_markers)
        all.append(MapMath::unproject(m.world));
    return all;
}

void MapMarkerLayer::place(const MapView &map)
{
    const MapFrame before = m_frame;
    m_frame = map.cover(this);
    // A frame of the same zoom as the one before moves the cached picture; a zoom draws afresh.
    const bool panning = before.worldSize == m_frame.worldSize;
    m_canvas->drawFor(m_frame, panning, map.moving());
    if (!map.moving())
        MapMarkerAccessibility::markersChanged(this, false);
}

void MapMarkerLayer::geometryChange(const QRectF &now, const QRectF &before)
{
    QQuickItem::geometryChange(now, before);
    if (now.size() != before.size())
        m_canvas->drawFor(m_frame, false, false);
}

MapMarkerLayer::FrameStats MapMarkerLayer::frameStats() const
{
    FrameStats stats = m_canvas->stats();
    // A frame that only moved the cached picture blends that picture over the map, and nothing else.
    if (stats.cached && window()) {
        const double ratio = window()->effectiveDevicePixelRatio();
        stats.markers = 0;
        stats.pixels = width() * height() * ratio * ratio;
    }
    return stats;
}

template <typename Visit>
void MapMarkerLayer::forEachPlaced(const MapFrame &frame, QSizeF area, Visit visit) const
{
    if (frame.worldSize <= 0)
        return;
    const QPointF middle(area.width() / 2, area.height() / 2);
    for (size_t i = 0; i < m_markers.size(); ++i) {
        const Marker &m = m_markers[i];
        // The turned box reaches no further than the square's half diagonal.
        const double half = m.size * std::numbers::sqrt2 / 2;
        // The copy nearest the middle, then the others that reach into view where the world repeats.
        QPointF at =
            (QPointF(MapMath::nearestCopy(m.world.x(), frame.centre.x()), m.world.y()) - frame.centre)
                * frame.worldSize
            + middle;
        if (at.y() < -half || at.y() > area.height() + half)
            continue;
        while (at.x() - frame.worldSize > -half)
            at.rx() -= frame.worldSize;
        for (; at.x() < area.width() + half; at.rx() += frame.worldSize) {
            if (at.x() > -half)
                visit(i, at);
        }
    }
}

int MapMarkerLayer::markerAt(const QPointF &point) const
{
    if (m_frame.worldSize <= 0)
        return -1;
    // Measured against the copy of each marker nearest the point, in the marker's own turned frame, on the
    // box of the drawn silhouette and its outline; later rows lie on top, so the search runs from the last
    // row and stops at the first hit.
    const QPointF middle(width() / 2, height() / 2);
    const QPointF target = m_frame.centre + (point - middle) / m_frame.worldSize;
    const QRectF &box = shapeBox();
    for (size_t i = m_markers.size(); i-- > 0;) {
        const Marker &m = m_markers[i];
        const double reach = m.size + PlaneMarker::outlineWidth(m.size);
        const double dy = (m.world.y() - target.y()) * m_frame.worldSize;
        if (dy > reach || dy < -reach)
            continue;
        const double dx = (MapMath::nearestCopy(m.world.x(), target.x()) - target.x()) * m_frame.worldSize;
        if (dx > reach || dx < -reach)
            continue;
        // The point relative to the marker, turned back by the heading (clockwise on screen).
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double px = -dx;
        const double py = -dy;
        const double x = px * std::cos(angle) + py * std::sin(angle);
        const double y = -px * std::sin(angle) + py * std::cos(angle);
        const double rim = outlineRim(m.size);
        if (x >= box.left() * m.size - rim && x <= box.right() * m.size + rim && y >= box.top() * m.size - rim
            && y <= box.bottom() * m.size + rim)
            return int(i);
    }
    return -1;
}

QList<int> MapMarkerLayer::markersInView() const
{
    QList<int> rows;
    const QRectF &box = shapeBox();
    forEachPlaced(m_frame, size(), [&](size_t i, QPointF at) {
        // The marker's turned box, not its square, has to reach into the layer; a row counts once, however
        // many of its copies show.
        const Marker &m = m_markers[i];
        if (!rows.isEmpty() && rows.back() == int(i))
            return;
        const double angle = m.heading * std::numbers::pi / 180.0;
        const double c = std::abs(std::cos(angle));
        const double s = std::abs(std::sin(angle));
        const double rim = outlineRim(m.size);
        const double w = box.width() * m.size + 2 * rim;
        const double h = box.height() * m.size + 2 * rim;
        const QSizeF turned(w * c + h * s, w * s + h * c);
        if (QRectF(at - QPointF(turned.width() / 2, turned.height() / 2), turned).intersects(boundingRect()))
            rows.append(int(i));
    });
    return rows;
}

QRectF MapMarkerLayer::markerBox(int row) const
{
    if (row < 0 || size_t(row) >= m_markers.size() || m_frame.worldSize <= 0)
        return {};
    const Marker &m = m_markers[size_t(row)];
    const QPointF middle(width() / 2, height() / 2);
    const QPointF at =
        (QPointF(MapMath::nearestCopy(m.world.x(), m_frame.centre.x()), m.world.y()) - m_frame.centre)
            * m_frame.worldSize
        + middle;
    // The corners of the silhouette's box with its outline, turned clockwise by the heading.
    const QRectF &box = shapeBox();
    const double rim = outlineRim(m.size);
    const QRectF local(box.left() * m.size - rim, box.top() * m.size - rim, box.width() * m.size + 2 * rim,
                       box.height() * m.size + 2 * rim);
    QTransform turn;
    turn.translate(at.x(), at.y());
    turn.rotate(m.heading);
    return turn.mapRect(local);
}

QString MapMarkerLayer::accessibleName(int row) const
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return {};
    const QHash<int, QByteArray> names = m_model->roleNames();
    const QModelIndex index = m_model->index(row, 0);
    const auto text = [&](const char *name) {
        const int role = names.key(name, -1);
        return role >= 0 ? m_model->data(index, role).toString() : QString();
    };
    const QString callsign = text("callsign");
    return L(QStringLiteral("%@，%@，查看飞行详情"),
             callsign.isEmpty() ? L(QStringLiteral("飞机")) : callsign, text("aircraft"));
}
