#pragma once

#include "MarkerDrawing.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <array>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

class QPainter;

// The markers' silhouette as it is drawn: the masks of each size class in a cell, which the scene graph's
// atlas holds and the software renderer's sprites are made from, and the shape a marker is laid over them
// as.
namespace MarkerDrawing {

// The outline's outer half, beyond the silhouette.
double outlineRim(double size);

// One size class's masks: red the silhouette filled, green its outline (width max(size × 1.4 / 48, 1),
// round caps and joins, centred on the path), blue the shadow of both, blurred and at 20 %. The
// silhouette's square is centred in the cell.
void drawCell(QImage &atlas, const QRect &into, int halfPoints, double ratio);

// The silhouette's box on a square of side 1 centred on the origin, nose up.
const QRectF &shapeBox();

// A marker is drawn as a kite around its silhouette: above the nose a point where the sides along the
// wings' leading edges meet, below the tail another where the sides from the wing tips past the tailplane
// meet. It holds the silhouette, the outline's outer half and a pixel of antialiasing, and the shadow's
// reach one drop away, in two triangles as the silhouette's box would, on two thirds of the box's pixels.
// (An octagon cut closer blends fewer still, but the software rasteriser spends more on its six triangles,
// taken one by one on the render thread, than it saves; the cost goes with the triangles' number and area.)
inline constexpr int shapeCorners = 4;
using ShapeCorners = std::array<QPointF, shapeCorners>;

// The corners of a marker's shape in its own frame (nose up, y down), in points, for a drop of the shadow
// in that frame: each side stands off the silhouette by the outline's outer half and a pixel of
// antialiasing, and by the shadow's reach one drop away, whichever is further. Without a drop, each side
// stands off as far as the shadow's reach can take it whichever way it drops: a shape holding every
// heading's.
ShapeCorners markerCorners(double size, std::optional<QPointF> drop, double ratio);

// A cell's side in pixels: room for the masks (the silhouette with its pad) and for the shape laid over
// them, whichever way the shadow drops, with a pixel for the bilinear footprint at its corners. It grows
// from the masks' side by whole pixels on each side, so the silhouette keeps its place against the texels.
int cellPixels(int halfPoints, double ratio);

// A colour as four bytes, premultiplied by its alpha, as the markers' vertices and sprites take it.
void premultiplied(QRgb color, uchar out[4]);

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
    void keep(double ratio, const std::vector<int> &sizes);

    // The marker's picture with its middle on the marker's place.
    const QImage &turned(int halfPoints, QRgb fill, QRgb outline, double heading);

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
    void turn(QPainter &painter, int side, const QImage &upright, int step, double drop) const;

    // The shadow turned to a heading, in a sprite's square: the colours of that size and heading are laid
    // over a copy of it.
    const QImage &shadowTurned(int halfPoints, int step);

    const Cell &cellOf(int halfPoints);

    // The outline over the fill, as the shader lays them, upright.
    const QImage &composed(int halfPoints, QRgb fill, QRgb outline);

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

} // namespace MarkerDrawing
