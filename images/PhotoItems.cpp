#include "PhotoItems.h"

#include "AircraftPhotoModel.h"

#include <QQuickWindow>
#include <QSGImageNode>

#include <algorithm>

CappedAspectLayout::CappedAspectLayout(QQuickItem *parent)
    : QQuickItem(parent)
{
}

void CappedAspectLayout::setAspect(qreal aspect)
{
    if (qFuzzyCompare(aspect, m_aspect))
        return;
    m_aspect = aspect;
    Q_EMIT layoutChanged();
    relayout();
}

void CappedAspectLayout::setMaxHeight(qreal maxHeight)
{
    if (qFuzzyCompare(maxHeight, m_maxHeight))
        return;
    m_maxHeight = maxHeight;
    Q_EMIT layoutChanged();
    relayout();
}

QSizeF CappedAspectLayout::sizeFor(std::optional<qreal> proposedWidth, qreal aspect, qreal maxHeight)
{
    const qreal ratio = std::max(aspect, 0.1);
    const qreal width = proposedWidth.value_or(ratio * maxHeight);
    return {width, std::min(maxHeight, width / ratio)};
}

void CappedAspectLayout::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    relayout();
}

void CappedAspectLayout::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemChildAddedChange)
        relayout();
}

void CappedAspectLayout::relayout()
{
    const QSizeF natural = sizeFor(std::nullopt, m_aspect, m_maxHeight);
    setImplicitWidth(natural.width());
    setImplicitHeight(
        sizeFor(width() > 0 ? std::optional<qreal>(width()) : std::nullopt, m_aspect, m_maxHeight).height());
    const QList<QQuickItem *> children = childItems();
    if (children.isEmpty())
        return;
    // The one subview gets the whole frame, centred; further ones are not placed.
    QQuickItem *content = children.constFirst();
    content->setPosition({0, 0});
    content->setSize(size());
}

FittedPhoto::FittedPhoto(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void FittedPhoto::setSource(AircraftPhotoModel *source)
{
    if (source == m_source)
        return;
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &AircraftPhotoModel::stateChanged, this, [this] {
            m_textureStale = true;
            update();
        });
    }
    m_textureStale = true;
    Q_EMIT sourceChanged();
    update();
}

QRectF FittedPhoto::fittedRect(const QSizeF &picture, const QRectF &bounds)
{
    if (picture.isEmpty() || bounds.isEmpty())
        return {};
    const QSizeF fitted = picture.scaled(bounds.size(), Qt::KeepAspectRatio);
    return {bounds.x() + (bounds.width() - fitted.width()) / 2,
            bounds.y() + (bounds.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

void FittedPhoto::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    update();
}

QSGNode *FittedPhoto::updatePaintNode(QSGNode *node, UpdatePaintNodeData *)
{
    const QImage picture = m_source ? m_source->image() : QImage();
    const QRectF target = fittedRect(picture.size(), boundingRect());
    auto *image = static_cast<QSGImageNode *>(node);
    if (picture.isNull() || target.isEmpty()) {
        // Nothing to show: keep the node, draw it empty.
        if (image)
            image->setRect(QRectF());
        return image;
    }
    if (!image) {
        image = window()->createImageNode();
        image->setOwnsTexture(true);
        m_textureStale = true;
    }
    if (m_textureStale || picture.cacheKey() != m_shown.cacheKey()) {
        // Mipmaps keep a large picture drawn small from shimmering.
        image->setTexture(window()->createTextureFromImage(picture, QQuickWindow::TextureHasMipmaps));
        image->setMipmapFiltering(QSGTexture::Linear);
        image->setFiltering(QSGTexture::Linear);
        m_shown = picture;
        m_textureStale = false;
    }
    image->setRect(target);
    return image;
}
