#pragma once

#include "MapMath.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSGGeometryNode>
#include <QSGMaterial>
#include <QSGTexture>

#include <map>
#include <vector>

// The markers through a graphics device: one geometry node of shapes over the atlas's cells, drawn by the
// markers' shaders (shaders/marker.vert and shaders/marker.frag), the camera moving them in the vertex
// shader.
namespace MarkerDrawing {

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

class MarkerMaterial : public QSGMaterial
{
public:
    MarkerMaterial() { setFlag(Blending | RequiresFullMatrix); }
    ~MarkerMaterial() override { delete texture; }
    QSGMaterialType *type() const override;
    QSGMaterialShader *createShader(QSGRendererInterface::RenderMode) const override;
    int compare(const QSGMaterial *other) const override;

    QSGTexture *texture = nullptr;
    // The camera of this frame against the one the geometry was laid out for: anchor × scale + shift.
    float scale = 1;
    QPointF shift;
};

class MarkerNode : public QSGGeometryNode
{
public:
    MarkerNode();

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

} // namespace MarkerDrawing
