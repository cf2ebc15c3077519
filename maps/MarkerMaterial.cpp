#include "MarkerMaterial.h"

#include <QSGMaterialShader>

#include <cstring>

namespace MarkerDrawing {

namespace {

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

} // namespace

QSGMaterialType *MarkerMaterial::type() const
{
    static QSGMaterialType type;
    return &type;
}

int MarkerMaterial::compare(const QSGMaterial *other) const
{
    const auto *o = static_cast<const MarkerMaterial *>(other);
    if (texture != o->texture)
        return texture < o->texture ? -1 : 1;
    if (scale != o->scale)
        return scale < o->scale ? -1 : 1;
    if (shift != o->shift)
        return shift.x() < o->shift.x() || (shift.x() == o->shift.x() && shift.y() < o->shift.y()) ? -1 : 1;
    return 0;
}

QSGMaterialShader *MarkerMaterial::createShader(QSGRendererInterface::RenderMode) const
{
    return new MarkerShader;
}

MarkerNode::MarkerNode()
    : geometry(vertexAttributes(), 0, 0, QSGGeometry::UnsignedIntType)
{
    geometry.setDrawingMode(QSGGeometry::DrawTriangles);
    setGeometry(&geometry);
    setMaterial(&material);
}

} // namespace MarkerDrawing
